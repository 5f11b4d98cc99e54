// The chip's register fields, once: where each lies in the 48 bits, what it is called, what its
// codes mean and the lists that offer them. The image accessors, the decoders, the command
// line and the windows all read this table, so a field's bits change in one place.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velorin::core {

struct RegisterImage;

enum class Field : uint8_t {
    VcoSelect,
    Prescaler,
    OutputDivider,
    OutputType,
    CalDelayLow,
    C2,
    R2,
    C1,
    C3,
    ChargePump,
    CalDelayHigh,
    VcoCalWord,
    VcoCalOverride,
    VcoCalEnable,
    TestSelect,
    Byte5Spare,  // no field: nothing sets these bits, every writer keeps them
};

// Byte0 and Byte5 hold their fields directly; Byte1-Byte4 form the little-endian control word.
enum class FieldHome : uint8_t { Byte0, ControlWord, Byte5 };

struct RegisterField {
    Field field;
    FieldHome home;
    int low;              // lowest bit within its byte or word
    int width;            // bits
    const char *key;      // machine name, as the command line's JSON gives it
    const char *label;    // as a person reads it
    const char *meaning;  // what the codes do, for tooltips

    constexpr uint32_t Mask() const { return ((1u << width) - 1u) << low; }
    // Bit 0-47 of the image: Byte0 bit 0 is 0, control-word bit 0 is 8, Byte5 bit 0 is 40.
    constexpr int FirstImageBit() const {
        return low + (home == FieldHome::Byte0 ? 0 : home == FieldHome::ControlWord ? 8 : 40);
    }
};

inline constexpr std::array<RegisterField, 16> kRegisterFields = {{
    {Field::VcoSelect, FieldHome::Byte0, 0, 1, "vcoSelect", "VCO select",
     "0 = VCO 1 (1750-2040 MHz), 1 = VCO 2 (2040-2350 MHz)"},
    {Field::Prescaler, FieldHome::Byte0, 1, 2, "prescalerCode", "prescaler code",
     "the prescaler; the feedback divider follows from it"},
    {Field::OutputDivider, FieldHome::Byte0, 3, 3, "outputDividerCode", "output divider code",
     "codes 6 and 7 have no divider"},
    {Field::OutputType, FieldHome::Byte0, 6, 1, "outputType", "output type",
     "0 = LVDS, 1 = LVPECL"},
    {Field::CalDelayLow, FieldHome::Byte0, 7, 1, "calDelayLow", "calibration delay count bit 0",
     "with control-word bit 23: 8,192, 16,384, 32,768 or 32Meg"},
    {Field::C2, FieldHome::ControlWord, 0, 5, "c2Code", "C2 code", "loop-filter capacitor C2"},
    {Field::R2, FieldHome::ControlWord, 5, 5, "r2Code", "R2 code", "loop-filter resistor R2"},
    {Field::C1, FieldHome::ControlWord, 10, 5, "c1Code", "C1 code", "loop-filter capacitor C1"},
    {Field::C3, FieldHome::ControlWord, 15, 4, "c3Code", "C3 code", "loop-filter capacitor C3"},
    {Field::ChargePump, FieldHome::ControlWord, 19, 4, "chargePumpCode", "charge-pump code",
     "a thermometer code, one bit per 56 \u00B5A current source"},
    {Field::CalDelayHigh, FieldHome::ControlWord, 23, 1, "calDelayHigh",
     "calibration delay count bit 1", "with Byte0 bit 7: 8,192, 16,384, 32,768 or 32Meg"},
    {Field::VcoCalWord, FieldHome::ControlWord, 24, 6, "vcoCalWord", "VCO calibration word",
     "0-63"},
    {Field::VcoCalOverride, FieldHome::ControlWord, 30, 1, "vcoCalOverride",
     "VCO calibration override", "1 = override on"},
    {Field::VcoCalEnable, FieldHome::ControlWord, 31, 1, "vcoCalEnable", "VCO calibration enable",
     "1 = enabled; a RAM write then sends the image with it 0, then 1"},
    {Field::TestSelect, FieldHome::Byte5, 0, 4, "testSelect", "test select",
     "the test bits select code; bits 4-7 are kept"},
    {Field::Byte5Spare, FieldHome::Byte5, 4, 4, "spareBits", "unused bits",
     "no field: kept as they are"},
}};

constexpr const RegisterField &FieldOf(Field field) {
    return kRegisterFields[static_cast<size_t>(field)];
}

// The loop-filter control word: the C2, R2, C1 and C3 codes together.
inline constexpr uint32_t kLoopFilterWordMask =
    FieldOf(Field::C2).Mask() | FieldOf(Field::R2).Mask() | FieldOf(Field::C1).Mask() |
    FieldOf(Field::C3).Mask();

// Reads (byte or word >> low) & (2^width - 1); writes shift the value into place, cut it to
// the width and keep every other bit.
int ReadField(const RegisterImage &image, Field field);
void WriteField(RegisterImage &image, Field field, int value);
uint32_t ReadWordField(uint32_t controlWord, Field field);
uint32_t WriteWordField(uint32_t controlWord, Field field, uint32_t value);

// "Byte0 bits 1–2", "word bit 31 (Byte4 bit 7)", "word bits 19–22 (Byte3 bits 3–6)": an en
// dash between bit numbers.
std::string FieldBitsText(Field field);

// Code tables. Charge-pump list position (0, 56, 112, 168, 224 µA) to thermometer code.
inline constexpr std::array<int, 5> ChargePumpCodes = {0, 1, 3, 7, 15};
inline constexpr int kChargePumpStepMicroAmps = 56;
// Back to the position: 1 -> 1, 3 -> 2, 7 -> 3, 15 -> 4, every other code -> 0.
int DecodeChargePumpCode(int code);
// The charge-pump current a code gives: 56 uA for each of the four sources its bits switch on.
int ChargePumpMicroAmps(int code);
// Prescaler lists hold "5", "3", "4", "2": the list position is the prescaler code.
inline constexpr std::array<int, 4> PrescalerForCode = {5, 3, 4, 2};
inline constexpr std::array<int, 4> FeedbackDividerForPrescaler = {12, 20, 16, 32};
// Output divider codes 0-5; codes 6 and 7 have no divider.
inline constexpr std::array<int, 6> OutputDividerForCode = {1, 2, 4, 8, 16, 32};
inline constexpr int kOutputDividerCodes = 8;
int OutputDividerValue(int code);  // 0 for a code without a divider
int PrescalerValue(int code);      // 0 outside 0-3

// The sixteen test-select entries, in code order.
extern const std::array<const char *, 16> TestSelectEntries;

// What a code of the field means, as the decoders show it: "/ 5", "LVPECL", "224 µA",
// "23.0 pF", "13.0 kOhm", "enabled", "0011 vb"; the number itself for plain numeric fields,
// empty for a code without a meaning (output divider 6 or 7). "µ" is UTF-8.
std::string FieldValueText(Field field, int code);
// The entries of the list that offers the field, in list order (the charge pump by current,
// every other field by code); empty for fields no list offers.
std::vector<std::string> FieldListEntries(Field field);

// The calibration delay count spans two fields; "8,192", "16,384", "32,768", "32Meg".
std::string CalDelayText(int count);
// "Prescaler: Byte0 bits 1–2, the prescaler; ..." for tooltips.
std::string FieldToolTip(Field field);
// What image byte `byte` (0-5) holds, field by field, in bit order: "Byte1 = word bits 0–7:
// C2 code (bits 0–4), R2 code bits 0–2 (bits 5–7)".
std::string ByteContentsText(int byte);

}  // namespace velorin::core
