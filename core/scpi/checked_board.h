// The instrument's board: passes every call on and remembers the first that failed, named the
// way a hardware error reports it ("RAM write of block A").
#pragma once

#include <string>

#include "core/device/board.h"

namespace velorin::core::scpi {

class CheckedBoard final : public Board {
  public:
    explicit CheckedBoard(Board &inner) : inner_(inner) {}

    bool Failed() const { return !failure_.empty(); }
    const std::string &Failure() const { return failure_; }
    void ForgetFailure() { failure_.clear(); }

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

  private:
    // Keeps the first failure's name; the name is only formatted when the call failed.
    template <typename Name>
    bool Note(bool ok, Name &&name) {
        if (!ok && failure_.empty()) failure_ = name();
        return ok;
    }

    Board &inner_;
    std::string failure_;
};

}  // namespace velorin::core::scpi
