// The board's port bits and board kinds.
#pragma once

#include <cstdint>

namespace velorin::core {

constexpr uint16_t kControlPort = 0;  // power and LVPECL terminations
constexpr uint16_t kEnablePort = 1;   // output enables
constexpr uint16_t kSupplyPort = 3;   // supply status, read-only

// Port 0 bit 1, active low: clear means the on-board power is on.
constexpr uint8_t kPowerOffBit = 0x02;

// The device-settings dialog's termination bit: port 0 bit 4 + block.
constexpr uint8_t TerminationBit(int block) {
    return static_cast<uint8_t>(0x10u << block);
}

// The main view places termination bits by board kind: a three-block board's start at bit 5,
// which leaves block D without one there (0).
constexpr uint8_t TerminationBitForBoard(int block, bool fourBlockBoard) {
    return static_cast<uint8_t>(0x10u << (fourBlockBoard ? block : block + 1));
}

// Port 1 bit 1 + 2 * block.
constexpr uint8_t OutputEnableBit(int block) {
    return static_cast<uint8_t>(0x02u << (2 * block));
}

// Port 3 bit `block`: 1 while the block has no supply (power off or a supply fault).
constexpr uint8_t SupplyStatusBit(int block) {
    return static_cast<uint8_t>(0x01u << block);
}

// A board whose identity has bit 2 or 3 set has block D, and its block B runs from a crystal.
constexpr bool IsFourBlockBoard(uint8_t id) {
    return (id & 0x0C) != 0;
}

constexpr uint8_t WithBits(uint8_t value, uint8_t bits, bool set) {
    return static_cast<uint8_t>(set ? (value | bits) : (value & ~bits));
}

}  // namespace velorin::core
