// The loop-filter control word: the four component codes packed into bits 0-18 of the
// register image's 32-bit control word.
#pragma once

#include <cstdint>

#include "core/device/register_fields.h"

namespace velorin::core {

struct LoopFilterCodes {
    int c1 = 0;  // 5 bits
    int c2 = 0;  // 5 bits
    int c3 = 0;  // 4 bits
    int r2 = 0;  // 5 bits
};

// C2 in bits 0-4, R2 in 5-9, C1 in 10-14, C3 in 15-18; each code cut to its field width.
uint32_t LoopFilterControlWord(const LoopFilterCodes &codes);

// Replaces bits 0-18 of a control word with the codes; bits 19-31 stay as they were.
uint32_t StoreLoopFilterCodes(uint32_t controlWord, const LoopFilterCodes &codes);

LoopFilterCodes DecodeLoopFilterWord(uint32_t controlWord);

}  // namespace velorin::core
