// The library's command set in words: what each six-byte board request means, by its command,
// value and index ("stage Byte0 = 06", "I2C read 0xB000 (crystal record)"). One table for
// every command, shared by the traffic window and velorinctl --trace.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/trace/board_call.h"

namespace velorin::core {

struct BoardRequestFields {
    uint8_t command = 0;
    uint16_t value = 0;
    uint16_t index = 0;
};

// One request, or the first of a per-byte transfer that sends `count` of them (one element
// each, index start + i, modulo 65536).
struct RequestView {
    BoardRequestFields first;
    uint32_t count = 1;
    std::string_view data;    // the bytes of a per-byte write, in order, when count > 1
    std::string_view answer;  // what a completed read produced
    BoardKindSeen boardKind = BoardKindSeen::Unknown;
    // The library's option byte: I2C writes do not carry it, yet it tells firmware from
    // data records.
    uint8_t i2cOption = 3;
};

// "stage Byte0 = 06"; an unknown command is named by its code.
std::string RequestWords(const RequestView &request);

// The block (0 to 3) the request addresses, or -1: the block-indexed commands, the read-back
// and unlock commands, and the write counters in the board EEPROM.
int RequestBlock(const RequestView &request);

}  // namespace velorin::core
