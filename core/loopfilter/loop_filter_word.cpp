#include "core/loopfilter/loop_filter_word.h"

namespace velorin::core {

namespace {

constexpr int kC2Shift = 0;
constexpr int kR2Shift = 5;
constexpr int kC1Shift = 10;
constexpr int kC3Shift = 15;
constexpr uint32_t kFiveBits = 0x1F;
constexpr uint32_t kFourBits = 0x0F;

uint32_t Field(int code, uint32_t mask, int shift) {
    return (static_cast<uint32_t>(code) & mask) << shift;
}

int Read(uint32_t word, uint32_t mask, int shift) {
    return static_cast<int>((word >> shift) & mask);
}

}  // namespace

uint32_t LoopFilterControlWord(const LoopFilterCodes &codes) {
    return Field(codes.c2, kFiveBits, kC2Shift) | Field(codes.r2, kFiveBits, kR2Shift) |
           Field(codes.c1, kFiveBits, kC1Shift) | Field(codes.c3, kFourBits, kC3Shift);
}

uint32_t StoreLoopFilterCodes(uint32_t controlWord, const LoopFilterCodes &codes) {
    return (controlWord & ~kLoopFilterWordMask) | LoopFilterControlWord(codes);
}

LoopFilterCodes DecodeLoopFilterWord(uint32_t controlWord) {
    LoopFilterCodes codes;
    codes.c2 = Read(controlWord, kFiveBits, kC2Shift);
    codes.r2 = Read(controlWord, kFiveBits, kR2Shift);
    codes.c1 = Read(controlWord, kFiveBits, kC1Shift);
    codes.c3 = Read(controlWord, kFourBits, kC3Shift);
    return codes;
}

}  // namespace velorin::core
