// The chip's 48 configuration bits: six bytes, Byte1..Byte4 read as one little-endian control
// word. Every field accessor works on the image it is given; field writes are masked so that no
// write disturbs a neighbouring field (or the unused top nibble of Byte5).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/loopfilter/loop_filter_word.h"

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

// Byte0 fields.
int VcoSelect(const RegisterImage &image);  // 0 = VCO 1, 1 = VCO 2
void SetVcoSelect(RegisterImage &image, int value);
int PrescalerCode(const RegisterImage &image);
void SetPrescalerCode(RegisterImage &image, int code);
int OutputDividerCode(const RegisterImage &image);
void SetOutputDividerCode(RegisterImage &image, int code);
int OutputType(const RegisterImage &image);  // 0 = LVDS, 1 = LVPECL
void SetOutputType(RegisterImage &image, int value);

// The calibration delay count is split: bit 0 in Byte0 bit 7, bit 1 in word bit 23.
int CalDelayCount(const RegisterImage &image);
void SetCalDelayCount(RegisterImage &image, int value);

// Control-word fields.
int C2Code(const RegisterImage &image);
void SetC2Code(RegisterImage &image, int code);
int R2Code(const RegisterImage &image);
void SetR2Code(RegisterImage &image, int code);
int C1Code(const RegisterImage &image);
void SetC1Code(RegisterImage &image, int code);
int C3Code(const RegisterImage &image);
void SetC3Code(RegisterImage &image, int code);
int ChargePumpCode(const RegisterImage &image);
void SetChargePumpCode(RegisterImage &image, int code);
int VcoCalWord(const RegisterImage &image);
void SetVcoCalWord(RegisterImage &image, int value);
int VcoCalOverride(const RegisterImage &image);
void SetVcoCalOverride(RegisterImage &image, int value);
int VcoCalEnable(const RegisterImage &image);
void SetVcoCalEnable(RegisterImage &image, int value);

// Byte5 bits 0-3; bits 4-7 are kept as they are.
int TestSelect(const RegisterImage &image);
void SetTestSelect(RegisterImage &image, int code);

// The loop-filter control word: word bits 0-18 (C2, R2, C1 and C3 codes).
constexpr uint32_t kDefaultLoopFilterWord = 0x2279E;
uint32_t LoopFilterWord(const RegisterImage &image);
void SetLoopFilterWord(RegisterImage &image, uint32_t word);
// Six upper-case hexadecimal digits of the word masked to 19 bits.
std::string FormatLoopFilterWord(uint32_t word);

// Charge-pump current list position (0, 56, 112, 168, 224 uA) to thermometer code and back.
constexpr std::array<int, 5> ChargePumpCodes = {0, 1, 3, 7, 15};
constexpr int kChargePumpStepMicroAmps = 56;
int DecodeChargePumpCode(int code);

// Prescaler lists hold "5", "3", "4", "2": the list position is the prescaler code.
constexpr std::array<int, 4> PrescalerForCode = {5, 3, 4, 2};
constexpr std::array<int, 4> FeedbackDividerForPrescaler = {12, 20, 16, 32};
// Output divider codes 0-5; codes 6 and 7 have no divider (0 here).
constexpr std::array<int, 6> OutputDividerForCode = {1, 2, 4, 8, 16, 32};
int OutputDividerValue(int code);
int PrescalerValue(int code);

// The sixteen test-select entries, in code order.
extern const std::array<const char *, 16> TestSelectEntries;

// Blocks "Block A" to "Block D", index 0 to 3.
constexpr int kBlockCount = 4;
bool IsValidBlockIndex(int index);
std::string BlockName(int index);  // empty for an index outside 0-3
char BlockLetter(int index);       // '?' for an index outside 0-3

}  // namespace velorin::core
