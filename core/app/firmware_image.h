// Reading a board firmware image file: raw bytes, at most what the board's 16-bit EEPROM
// addresses can reach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velorin::core {

constexpr size_t kMaxFirmwareSize = 65536;

enum class FirmwareFileStatus { Loaded, OpenFailed, TooLarge, ReadFailed };

struct FirmwareFile {
    FirmwareFileStatus status = FirmwareFileStatus::OpenFailed;
    std::vector<uint8_t> bytes;  // the whole image when Loaded
};

// Reads at most one byte more than fits, so that a huge file (or an endless device) costs
// nothing to refuse.
FirmwareFile LoadFirmwareFile(const std::string &path);

}  // namespace velorin::core
