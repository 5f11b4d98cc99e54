// One board call as the traffic window and velorinctl --trace keep it: compact, so that
// recording costs next to nothing beside the request itself; the words are made only when a
// row is shown or saved.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace velorin::core {

// The library operations the program calls, by their export name without "Velorin_".
enum class CallKind : uint8_t {
    OpenUsbDevice,
    CloseUsbDevice,
    SetI2CDeviceAddress,
    WritePort,
    ReadPort,
    GetEvmId,
    WriteOneWire,
    WriteToRam,
    WriteOneWord,
    ReadBack,
    UnlockEeprom,
    WriteI2C,
    ReadI2C,
    ReadDataBack,
};

// What the board's identity said last, for naming the termination bits of port 0.
enum class BoardKindSeen : uint8_t { Unknown, ThreeBlock, FourBlock };

struct BoardCall {
    std::chrono::steady_clock::time_point time;  // when the call returned
    CallKind kind = CallKind::OpenUsbDevice;
    bool ok = false;
    bool fromPoll = false;  // made by the main view's half-second poll
    // The library's I2C device address (low byte) and option byte when the call was made:
    // the I2C requests carry them.
    uint8_t i2cAddress = 0xA0;
    uint8_t i2cOption = 3;
    BoardKindSeen boardKind = BoardKindSeen::Unknown;
    // Port, register index, block (ReadBack, UnlockEeprom) or start address.
    uint16_t where = 0;
    // Block of WriteToRam and WriteOneWord, device address of SetI2CDeviceAddress.
    int32_t target = 0;
    uint8_t value = 0;   // the single byte a call writes (port, register, command word, option)
    uint32_t count = 0;  // bytes of a transfer
    // The bytes a transfer wrote, or those a successful read produced (one for ReadPort and
    // GetEvmId); short ones stay inside the string, which allocates nothing for them.
    std::string bytes;
};

}  // namespace velorin::core
