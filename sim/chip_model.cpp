#include "sim/chip_model.h"

namespace velorin::sim {

namespace {
constexpr uint16_t kEepromCommandAddress = 263;
constexpr uint16_t kEndAddress = 7;
constexpr uint16_t kUnlockStepAddress = 0;
constexpr uint8_t kProgram = 15;
constexpr uint8_t kProgramAndLock = 170;
constexpr uint8_t kEnd = 0;
constexpr uint8_t kIdle = 255;
}  // namespace

void ChipModel::CommandWord(uint16_t address, uint8_t value) {
    idle_ = false;
    if (address == kEepromCommandAddress && (value == kProgram || value == kProgramAndLock)) {
        // A locked EEPROM ignores programming until it is unlocked.
        if (!locked_) {
            eeprom_ = ram_;
            written_ = true;
            locked_ = value == kProgramAndLock;
        }
    } else if (address == kUnlockStepAddress && value == 0) {
        unlockArmed_ = true;
    } else if (address == kEndAddress && value == kEnd) {
        unlockArmed_ = false;
    } else if (address == kEndAddress && value == kIdle) {
        idle_ = true;
    }
}

void ChipModel::UnlockCommand() {
    if (unlockArmed_) locked_ = false;
}

uint8_t ChipModel::RamCalibrationWord() const {
    const bool overrideOn = (ram_[4] & 0x40) != 0;
    if (overrideOn) return ram_[4] & 0x3F;
    const bool calibrationOn = (ram_[4] & 0x80) != 0;
    // A calibrated chip settles on a word of its own; each block's differs.
    return calibrationOn ? static_cast<uint8_t>(21 + 9 * block_) : 0;
}

void ChipModel::SetEeprom(const ImageBytes &image, bool written, bool locked) {
    eeprom_ = image;
    written_ = written;
    locked_ = locked;
}

std::array<uint8_t, 32> ChipModel::ReadBackBuffer() const {
    // Stream bits s0..s63, s0 first: revision and RAM calibration word LSB first, the EEPROM
    // status and lock bits, then the EEPROM image from Byte5 bit 7 down to Byte0 bit 0.
    std::array<bool, 64> stream{};
    int s = 0;
    for (int bit = 0; bit < 3; ++bit) stream[s++] = (kRevision >> bit) & 1;
    const uint8_t calibration = RamCalibrationWord();
    for (int bit = 0; bit < 6; ++bit) stream[s++] = (calibration >> bit) & 1;
    stream[s++] = written_;
    stream[s++] = locked_;
    for (int byte = 5; byte >= 0; --byte) {
        for (int bit = 7; bit >= 0; --bit) stream[s++] = (eeprom_[byte] >> bit) & 1;
    }
    std::array<uint8_t, 32> buffer{};
    for (int i = 0; i < 64; ++i) {
        if (stream[i]) buffer[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    }
    for (int i = 0; i < 8; ++i) buffer[i] = static_cast<uint8_t>(~buffer[i]);
    return buffer;
}

}  // namespace velorin::sim
