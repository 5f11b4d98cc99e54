#include "core/base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace velorin::core {

namespace {

bool Fail(std::string *why, const std::string &what, int error) {
    if (why) *why = what + ": " + std::strerror(error);
    return false;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int Get() const { return fd_; }
    // Closes now so that a failing close (a late write error) can be reported.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::string &content) {
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

// The file a write should replace: the target of a symbolic link, else the path itself.
std::string ResolveTarget(const std::string &path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char *resolved = ::realpath(path.c_str(), nullptr)) {
            std::string target = resolved;
            std::free(resolved);
            return target;
        }
    }
    return path;
}

std::string DirectoryOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new file beside the target; created 0666 less the umask, like any new file.
int CreateTemporary(const std::string &target, std::string &name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = DirectoryOf(target) + "/." + BaseNameOf(target) + ".tmp" +
               std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

ReadFileResult ReadWholeFile(const std::string &path, std::string &content, size_t maxBytes,
                             std::string *why) {
    content.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        const int error = errno;
        Fail(why, "cannot open " + path, error);
        return error == ENOENT ? ReadFileResult::Missing : ReadFileResult::Failed;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        Fail(why, "cannot examine " + path, errno);
        return ReadFileResult::Failed;
    }
    if (S_ISDIR(info.st_mode)) {
        Fail(why, "cannot read " + path, EISDIR);
        return ReadFileResult::Failed;
    }
    char buffer[8192];
    while (true) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof(buffer));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(why, "cannot read " + path, errno);
            content.clear();
            return ReadFileResult::Failed;
        }
        if (n == 0) break;
        if (content.size() + static_cast<size_t>(n) > maxBytes) {
            if (why) *why = path + " is larger than " + std::to_string(maxBytes) + " bytes";
            content.clear();
            return ReadFileResult::Failed;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    return ReadFileResult::Ok;
}

bool WriteFileAtomically(const std::string &path, const std::string &content, std::string *why) {
    if (path.empty()) {
        if (why) *why = "no file name given";
        return false;
    }
    const std::string target = ResolveTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode)) return Fail(why, "cannot write " + path, EISDIR);
        if (::access(target.c_str(), W_OK) != 0) return Fail(why, "cannot write " + path, errno);
    }

    std::string temporary;
    Descriptor fd(CreateTemporary(target, temporary));
    if (fd.Get() < 0) return Fail(why, "cannot create a file beside " + path, errno);

    bool ok = !exists || ::fchmod(fd.Get(), existing.st_mode & 07777) == 0;
    int error = errno;
    if (ok && exists && (existing.st_uid != ::getuid() || existing.st_gid != ::getgid())) {
        // Best effort: only a privileged process may hand the file back to its owner.
        [[maybe_unused]] const int ignored = ::fchown(fd.Get(), existing.st_uid, existing.st_gid);
    }
    if (ok) {
        ok = WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
        error = errno;
    }
    if (ok) {
        ok = fd.Close() == 0;
        error = errno;
    }
    if (ok) {
        ok = ::rename(temporary.c_str(), target.c_str()) == 0;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Fail(why, "cannot write " + path, error);
    }
    // Make the rename itself durable.
    Descriptor directory(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) ::fsync(directory.Get());
    return true;
}

}  // namespace velorin::core
