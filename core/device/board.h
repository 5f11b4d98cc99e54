// The board as the sequences see it: one method per library operation they use. Each returns
// true when the operation succeeded. Reads store into their output only on success (a failed
// multi-byte read leaves the elements from the failing one on untouched), as the library does.
#pragma once

#include <cstdint>
#include <span>

namespace velorin::core {

class Board {
  public:
    virtual ~Board() = default;

    virtual bool Open() = 0;
    virtual bool Close() = 0;

    virtual bool SetI2CDeviceAddress(int32_t address, uint8_t option) = 0;
    virtual bool WritePort(uint16_t port, uint8_t value) = 0;
    virtual bool ReadPort(uint16_t port, uint8_t &value) = 0;
    virtual bool GetEvmId(uint8_t &id) = 0;
    virtual bool WriteOneWire(uint16_t index, uint8_t value) = 0;
    virtual bool WriteToRam(int32_t block) = 0;
    virtual bool WriteOneWord(int32_t block, uint16_t address, uint8_t value) = 0;
    virtual bool ReadBack(uint16_t block) = 0;
    virtual bool UnlockEeprom(uint16_t block) = 0;
    virtual bool WriteI2C(uint16_t start, std::span<const uint8_t> data) = 0;
    virtual bool ReadI2C(uint16_t start, std::span<uint8_t> buffer) = 0;
    virtual bool ReadDataBack(uint16_t start, std::span<uint8_t> buffer) = 0;
};

}  // namespace velorin::core
