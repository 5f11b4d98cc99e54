#include "core/device/register_image.h"

#include "core/base/hex_text.h"

namespace velorin::core {

uint32_t RegisterImage::ControlWord() const {
    return static_cast<uint32_t>(bytes[1]) | static_cast<uint32_t>(bytes[2]) << 8 |
           static_cast<uint32_t>(bytes[3]) << 16 | static_cast<uint32_t>(bytes[4]) << 24;
}

void RegisterImage::SetControlWord(uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes[1 + i] = static_cast<uint8_t>(word >> (8 * i));
}

RegisterImage &ProgramRegisterImage() {
    static RegisterImage image;
    return image;
}

int CalDelayCount(const RegisterImage &image) {
    return ReadField(image, Field::CalDelayLow) | ReadField(image, Field::CalDelayHigh) << 1;
}

void SetCalDelayCount(RegisterImage &image, int value) {
    WriteField(image, Field::CalDelayLow, value & 1);
    WriteField(image, Field::CalDelayHigh, (value >> 1) & 1);
}

uint32_t LoopFilterWord(const RegisterImage &image) {
    return image.ControlWord() & kLoopFilterWordMask;
}

void SetLoopFilterWord(RegisterImage &image, uint32_t word) {
    image.SetControlWord((image.ControlWord() & ~kLoopFilterWordMask) |
                         (word & kLoopFilterWordMask));
}

std::string FormatLoopFilterWord(uint32_t word) {
    return FormatHex(word & kLoopFilterWordMask, 6);
}

bool IsValidBlockIndex(int index) {
    return index >= 0 && index < kBlockCount;
}

std::string BlockName(int index) {
    if (!IsValidBlockIndex(index)) return {};
    return std::string("Block ") + BlockLetter(index);
}

char BlockLetter(int index) {
    return IsValidBlockIndex(index) ? static_cast<char>('A' + index) : '?';
}

}  // namespace velorin::core
