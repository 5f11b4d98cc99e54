// A board that passes every call on; tests override the calls they want to change.
#pragma once

#include "core/device/board.h"

namespace velorin::testing {

class ForwardingBoard : public core::Board {
  public:
    explicit ForwardingBoard(core::Board &inner) : inner_(inner) {}

    bool Open() override { return inner_.Open(); }
    bool Close() override { return inner_.Close(); }
    bool SetI2CDeviceAddress(int32_t address, uint8_t option) override {
        return inner_.SetI2CDeviceAddress(address, option);
    }
    bool WritePort(uint16_t port, uint8_t value) override { return inner_.WritePort(port, value); }
    bool ReadPort(uint16_t port, uint8_t &value) override { return inner_.ReadPort(port, value); }
    bool GetEvmId(uint8_t &id) override { return inner_.GetEvmId(id); }
    bool WriteOneWire(uint16_t index, uint8_t value) override {
        return inner_.WriteOneWire(index, value);
    }
    bool WriteToRam(int32_t block) override { return inner_.WriteToRam(block); }
    bool WriteOneWord(int32_t block, uint16_t address, uint8_t value) override {
        return inner_.WriteOneWord(block, address, value);
    }
    bool ReadBack(uint16_t block) override { return inner_.ReadBack(block); }
    bool UnlockEeprom(uint16_t block) override { return inner_.UnlockEeprom(block); }
    bool WriteI2C(uint16_t start, std::span<const uint8_t> data) override {
        return inner_.WriteI2C(start, data);
    }
    bool ReadI2C(uint16_t start, std::span<uint8_t> buffer) override {
        return inner_.ReadI2C(start, buffer);
    }
    bool ReadDataBack(uint16_t start, std::span<uint8_t> buffer) override {
        return inner_.ReadDataBack(start, buffer);
    }

  private:
    core::Board &inner_;
};

}  // namespace velorin::testing
