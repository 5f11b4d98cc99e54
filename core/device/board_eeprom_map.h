// Where the board's I2C EEPROM keeps what the program stores in it.
#pragma once

#include <cstdint>

namespace velorin::core {

constexpr int32_t kBoardEepromDevice = 0xA0;
constexpr uint8_t kDataRecordOption = 0x83;  // write counters, block record, crystal record
constexpr uint8_t kFirmwareOption = 3;       // the board firmware from address 0

constexpr uint16_t kWriteCounterAddress = 0xA000;  // + block
constexpr uint16_t kBlockRecordAddress = 0xA010;
constexpr uint16_t kCrystalRecordAddress = 0xB000;

}  // namespace velorin::core
