#include "core/device/loop_filter_word.h"

namespace velorin::core {

uint32_t LoopFilterControlWord(const LoopFilterCodes &codes) {
    return StoreLoopFilterCodes(0, codes);
}

uint32_t StoreLoopFilterCodes(uint32_t controlWord, const LoopFilterCodes &codes) {
    uint32_t word = controlWord;
    word = WriteWordField(word, Field::C2, static_cast<uint32_t>(codes.c2));
    word = WriteWordField(word, Field::R2, static_cast<uint32_t>(codes.r2));
    word = WriteWordField(word, Field::C1, static_cast<uint32_t>(codes.c1));
    return WriteWordField(word, Field::C3, static_cast<uint32_t>(codes.c3));
}

LoopFilterCodes DecodeLoopFilterWord(uint32_t controlWord) {
    LoopFilterCodes codes;
    codes.c2 = static_cast<int>(ReadWordField(controlWord, Field::C2));
    codes.r2 = static_cast<int>(ReadWordField(controlWord, Field::R2));
    codes.c1 = static_cast<int>(ReadWordField(controlWord, Field::C1));
    codes.c3 = static_cast<int>(ReadWordField(controlWord, Field::C3));
    return codes;
}

}  // namespace velorin::core
