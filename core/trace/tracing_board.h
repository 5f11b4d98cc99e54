// A board that records every call it passes on to another board into the traffic log, with
// what the library's requests for it depend on: its I2C address and option byte, and the
// board kind its identity showed.
#pragma once

#include "core/device/board.h"
#include "core/trace/traffic_log.h"

namespace velorin::core {

class TracingBoard final : public Board {
  public:
    TracingBoard(Board &inner, TrafficLog &log) : inner_(inner), log_(log) {}

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
    BoardCall Call(CallKind kind, uint16_t where = 0, uint8_t value = 0) const;
    bool Record(BoardCall &call, bool ok);

    Board &inner_;
    TrafficLog &log_;
    // The library's own state as these calls leave it: opening resets the device address.
    uint8_t i2cAddress_ = 0xA0;
    uint8_t i2cOption_ = 3;
    BoardKindSeen boardKind_ = BoardKindSeen::Unknown;
};

}  // namespace velorin::core
