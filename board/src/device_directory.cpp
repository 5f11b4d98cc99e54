#include "device_directory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace velorin::board {

std::string DeviceDirectory() {
    const char *explicitDir = std::getenv("VELORIN_DEVICE_DIR");
    if (explicitDir != nullptr && *explicitDir != '\0') return explicitDir;
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/velorin";
    return "/tmp/velorin-" + std::to_string(::getuid());
}

std::vector<std::string> ListEndpoints(const std::string &directory, int &error) {
    std::vector<std::string> names;
    DIR *dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        error = errno;
        return names;
    }
    while (dirent *entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        std::string path = directory + "/" + name;
        if (::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const auto &name : names) paths.push_back(directory + "/" + name);
    return paths;
}

}  // namespace velorin::board
