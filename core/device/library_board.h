// The board reached through the board access library (the Velorin_ calls).
#pragma once

#include "core/device/board.h"

namespace velorin::core {

class LibraryBoard final : public Board {
  public:
    bool Open() override;
    bool Close() override;

    bool SetI2CDeviceAddress(int32_t address, uint8_t option) override;
    bool WritePort(uint16_t port, uint8_t value) override;
    bool ReadPort(uint16_t port, uint8_t &value) override;
    bool GetEvmId(uint8_t &id) override;
    bool WriteOneWire(uint16_t index, uint8_t value) override;
    bool WriteToRam(int32_t block) override;
    bool WriteOneWord(int32_t block, uint16_t address, uint8_t value) override;
    bool ReadBack(uint16_t block) override;
    bool UnlockEeprom(uint16_t block) override;
    bool WriteI2C(uint16_t start, std::span<const uint8_t> data) override;
    bool ReadI2C(uint16_t start, std::span<uint8_t> buffer) override;
    bool ReadDataBack(uint16_t start, std::span<uint8_t> buffer) override;
};

}  // namespace velorin::core
