// The board's 64 KiB I2C EEPROM; optionally kept in a file, written through byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velorin::sim {

class BoardEeprom {
  public:
    static constexpr size_t kSize = 65536;

    BoardEeprom();
    ~BoardEeprom();
    BoardEeprom(const BoardEeprom &) = delete;
    BoardEeprom &operator=(const BoardEeprom &) = delete;

    // Backs the memory with `path`: an existing file's bytes are loaded (a short file is
    // padded with 0xFF), a missing one is created blank.
    bool AttachFile(const std::string &path, std::string &error);

    uint8_t Read(uint16_t address) const { return bytes_[address]; }
    void Write(uint16_t address, uint8_t value);

  private:
    std::vector<uint8_t> bytes_;
    int fd_ = -1;
};

}  // namespace velorin::sim
