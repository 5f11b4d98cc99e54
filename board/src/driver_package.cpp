#include "driver_package.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

extern char **environ;

namespace velorin::board {

namespace {

// Writes all of `size` bytes; false on error with errno set.
bool WriteAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

int ReadWholeFile(const std::string &path, std::vector<char> &content) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    char chunk[8192];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            int error = errno;
            ::close(fd);
            return error;
        }
        if (got == 0) break;
        content.insert(content.end(), chunk, chunk + got);
    }
    ::close(fd);
    return 0;
}

// temp file in the target's folder, then rename, so udev never sees half a rules file.
int WriteAtomically(const std::string &target, const std::vector<char> &content) {
    std::string temp = target + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return errno;
    int error = 0;
    if (!WriteAll(fd, content.data(), content.size()) || ::fchmod(fd, 0644) != 0 ||
        ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(name.data(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(name.data());
    return error;
}

void AskUdevToReload() {
    const char *configured = std::getenv("VELORIN_UDEVADM");
    std::string program = configured != nullptr ? configured : "udevadm";
    if (program.empty()) return;
    char arg0[] = "udevadm";
    char arg1[] = "control";
    char arg2[] = "--reload-rules";
    char *argv[] = {arg0, arg1, arg2, nullptr};
    // Its complaints (no udev daemon, say) are not the library's to print: the debug lines are
    // the library's only output.
    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0) return;
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    // A missing udevadm is not an error: there is simply nobody to tell.
    const int spawned = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

std::string DriverFolder(const std::string &directory) {
    return directory + "/Driver";
}

std::string PackagePath(const std::string &directory, const std::string &fileName) {
    return DriverFolder(directory) + "/" + fileName;
}

std::string RulesDirectory() {
    const char *dir = std::getenv("VELORIN_UDEV_RULES_DIR");
    if (dir != nullptr && *dir != '\0') return dir;
    return "/etc/udev/rules.d";
}

std::vector<std::string> SystemRulesDirectories() {
    const char *dir = std::getenv("VELORIN_SYSTEM_UDEV_RULES_DIR");
    if (dir != nullptr && *dir != '\0') return {dir};
    return {"/lib/udev/rules.d", "/usr/lib/udev/rules.d"};
}

bool IsInstalledWithContent(const std::string &fileName, const std::vector<char> &content) {
    std::vector<std::string> places = SystemRulesDirectories();
    places.insert(places.begin(), RulesDirectory());
    for (const auto &dir : places) {
        std::vector<char> installed;
        if (ReadWholeFile(dir + "/" + fileName, installed) == 0 && installed == content) {
            return true;
        }
    }
    return false;
}

int RegisterPackage(const std::string &directory, const std::string &fileName) {
    std::vector<char> content;
    if (int error = ReadWholeFile(PackagePath(directory, fileName), content); error != 0) {
        return error;
    }
    // Already in force, as the package installs it: nothing to write, and nothing that a user
    // without write access to the rules directory would fail at.
    if (IsInstalledWithContent(fileName, content)) return 0;
    if (int error = WriteAtomically(RulesDirectory() + "/" + fileName, content); error != 0) {
        return error;
    }
    AskUdevToReload();
    return 0;
}

bool IsPackageRegistered(const std::string &fileName) {
    std::vector<std::string> places = SystemRulesDirectories();
    places.insert(places.begin(), RulesDirectory());
    for (const auto &dir : places) {
        struct stat info {};
        if (::stat((dir + "/" + fileName).c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return true;
    }
    return false;
}

}  // namespace velorin::board
