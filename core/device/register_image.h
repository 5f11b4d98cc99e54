// The chip's 48 configuration bits: six bytes, Byte1..Byte4 read as one little-endian control
// word. Every field accessor works on the image it is given; field writes are masked so that no
// write disturbs a neighbouring field (or the unused top nibble of Byte5).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/device/register_fields.h"

namespace velorin::core {

struct RegisterImage {
    std::array<uint8_t, 6> bytes{};

    uint8_t Byte(int index) const { return bytes[static_cast<size_t>(index)]; }
    void SetByte(int index, uint8_t value) { bytes[static_cast<size_t>(index)] = value; }

    // Byte1 is word bits 0-7, Byte4 word bits 24-31.
    uint32_t ControlWord() const;
    void SetControlWord(uint32_t word);

    bool operator==(const RegisterImage &other) const = default;
};

// The one image the program edits, stores and writes; zero until the main view fills it.
RegisterImage &ProgramRegisterImage();

// Field accessors, by the layout of register_fields.h.
inline int VcoSelect(const RegisterImage &image) {  // 0 = VCO 1, 1 = VCO 2
    return ReadField(image, Field::VcoSelect);
}
inline void SetVcoSelect(RegisterImage &image, int value) {
    WriteField(image, Field::VcoSelect, value);
}
inline int PrescalerCode(const RegisterImage &image) {
    return ReadField(image, Field::Prescaler);
}
inline void SetPrescalerCode(RegisterImage &image, int code) {
    WriteField(image, Field::Prescaler, code);
}
inline int OutputDividerCode(const RegisterImage &image) {
    return ReadField(image, Field::OutputDivider);
}
inline void SetOutputDividerCode(RegisterImage &image, int code) {
    WriteField(image, Field::OutputDivider, code);
}
inline int OutputType(const RegisterImage &image) {  // 0 = LVDS, 1 = LVPECL
    return ReadField(image, Field::OutputType);
}
inline void SetOutputType(RegisterImage &image, int value) {
    WriteField(image, Field::OutputType, value);
}
inline int C2Code(const RegisterImage &image) {
    return ReadField(image, Field::C2);
}
inline void SetC2Code(RegisterImage &image, int code) {
    WriteField(image, Field::C2, code);
}
inline int R2Code(const RegisterImage &image) {
    return ReadField(image, Field::R2);
}
inline void SetR2Code(RegisterImage &image, int code) {
    WriteField(image, Field::R2, code);
}
inline int C1Code(const RegisterImage &image) {
    return ReadField(image, Field::C1);
}
inline void SetC1Code(RegisterImage &image, int code) {
    WriteField(image, Field::C1, code);
}
inline int C3Code(const RegisterImage &image) {
    return ReadField(image, Field::C3);
}
inline void SetC3Code(RegisterImage &image, int code) {
    WriteField(image, Field::C3, code);
}
inline int ChargePumpCode(const RegisterImage &image) {
    return ReadField(image, Field::ChargePump);
}
inline void SetChargePumpCode(RegisterImage &image, int code) {
    WriteField(image, Field::ChargePump, code);
}
inline int VcoCalWord(const RegisterImage &image) {
    return ReadField(image, Field::VcoCalWord);
}
inline void SetVcoCalWord(RegisterImage &image, int value) {
    WriteField(image, Field::VcoCalWord, value);
}
inline int VcoCalOverride(const RegisterImage &image) {
    return ReadField(image, Field::VcoCalOverride);
}
inline void SetVcoCalOverride(RegisterImage &image, int value) {
    WriteField(image, Field::VcoCalOverride, value);
}
inline int VcoCalEnable(const RegisterImage &image) {
    return ReadField(image, Field::VcoCalEnable);
}
inline void SetVcoCalEnable(RegisterImage &image, int value) {
    WriteField(image, Field::VcoCalEnable, value);
}
inline int TestSelect(const RegisterImage &image) {
    return ReadField(image, Field::TestSelect);
}
inline void SetTestSelect(RegisterImage &image, int code) {
    WriteField(image, Field::TestSelect, code);
}

// The calibration delay count is split: bit 0 in Byte0 bit 7, bit 1 in word bit 23.
int CalDelayCount(const RegisterImage &image);
void SetCalDelayCount(RegisterImage &image, int value);

// The loop-filter control word: word bits 0-18 (C2, R2, C1 and C3 codes).
constexpr uint32_t kDefaultLoopFilterWord = 0x2279E;
uint32_t LoopFilterWord(const RegisterImage &image);
void SetLoopFilterWord(RegisterImage &image, uint32_t word);
// Six upper-case hexadecimal digits of the word masked to 19 bits.
std::string FormatLoopFilterWord(uint32_t word);

// Blocks "Block A" to "Block D", index 0 to 3.
constexpr int kBlockCount = 4;
bool IsValidBlockIndex(int index);
std::string BlockName(int index);  // empty for an index outside 0-3
char BlockLetter(int index);       // '?' for an index outside 0-3

}  // namespace velorin::core
