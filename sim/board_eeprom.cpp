#include "sim/board_eeprom.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velorin::sim {

BoardEeprom::BoardEeprom() : bytes_(kSize, 0xFF) {}

BoardEeprom::~BoardEeprom() {
    if (fd_ >= 0) ::close(fd_);
}

bool BoardEeprom::AttachFile(const std::string &path, std::string &error) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> loaded(kSize, 0xFF);
    size_t total = 0;
    while (total < kSize) {
        ssize_t got = ::pread(fd, loaded.data() + total, kSize - total, static_cast<off_t>(total));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (got == 0) break;
        total += static_cast<size_t>(got);
    }
    // Make the file full size so that every later byte write lands in place.
    if (total < kSize) {
        ssize_t put = ::pwrite(fd, loaded.data() + total, kSize - total, static_cast<off_t>(total));
        if (put != static_cast<ssize_t>(kSize - total)) {
            error = path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    bytes_ = std::move(loaded);
    return true;
}

void BoardEeprom::Write(uint16_t address, uint8_t value) {
    bytes_[address] = value;
    // Written through at once: the page cache keeps it even if the emulator is killed.
    if (fd_ >= 0) (void)::pwrite(fd_, &value, 1, address);
}

}  // namespace velorin::sim
