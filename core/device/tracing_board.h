// A board that records every call it passes on to another board.
#pragma once

#include "core/device/board.h"
#include "core/device/board_trace.h"

namespace velorin::core {

class TracingBoard final : public Board {
  public:
    TracingBoard(Board &inner, BoardTrace &trace) : inner_(inner), trace_(trace) {}

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
    bool Record(const char *operation, std::string arguments, bool ok, std::string output = {});

    Board &inner_;
    BoardTrace &trace_;
};

}  // namespace velorin::core
