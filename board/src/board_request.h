// The six-byte request record of every board operation, and the pure rules that build it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace velorin::board {

namespace command {
constexpr uint8_t kReadI2C = 0x92;
constexpr uint8_t kWriteI2C = 0x93;
constexpr uint8_t kSetI2CHWAddress = 0x95;
constexpr uint8_t kReadPort = 0x96;
constexpr uint8_t kWritePort = 0x97;
constexpr uint8_t kReadI2CWord = 0x98;
constexpr uint8_t kWriteI2CWord = 0x99;
constexpr uint8_t kI2CWordSetup = 0x9A;
constexpr uint8_t kWriteOneWire = 0xA0;
constexpr uint8_t kReadBack = 0xA1;
constexpr uint8_t kReadDataBack = 0xA7;
constexpr uint8_t kWriteSdataBits = 0xB0;
constexpr uint8_t kWriteScanout = 0xB1;
constexpr uint8_t kUnlockEeprom = 0xB5;
constexpr uint8_t kGetEvmId = 0xBF;
}  // namespace command

struct BoardRequest {
    uint8_t command = 0;
    uint8_t reserved = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    // Bytes the board answers with: 0, 1 or 2.
    uint8_t answerLength = 1;
};

constexpr size_t kRequestSize = 6;

// The record as it travels: command, reserved, value and index little-endian.
std::array<uint8_t, kRequestSize> EncodeRequest(const BoardRequest &request);

// Value word of an I2C request: the device address's low byte above `low`.
uint16_t I2CValue(int32_t deviceAddress, uint8_t low);

// Command codes of the block-indexed operations; nothing for a block outside 0-3.
std::optional<uint8_t> WriteToRamCommand(int32_t block);
std::optional<uint8_t> WriteOneWordCommand(int32_t block);

}  // namespace velorin::board
