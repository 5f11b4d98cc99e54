#include "core/device/register_fields.h"

#include <algorithm>
#include <bit>

#include "core/base/number_text.h"
#include "core/device/component_tables.h"
#include "core/device/register_image.h"

namespace velorin::core {

namespace {

// The UTF-8 micro sign; split so that the A is no hexadecimal digit of the escape.
constexpr const char *kMicroAmps =
    " \xC2\xB5"
    "A";
constexpr const char *kEnDash = "\xE2\x80\x93";

uint32_t Container(const RegisterImage &image, FieldHome home) {
    switch (home) {
        case FieldHome::Byte0:
            return image.bytes[0];
        case FieldHome::ControlWord:
            return image.ControlWord();
        case FieldHome::Byte5:
            return image.bytes[5];
    }
    return 0;
}

uint32_t Place(uint32_t container, const RegisterField &f, uint32_t value) {
    return (container & ~f.Mask()) | ((value << f.low) & f.Mask());
}

std::string BitRange(const char *prefix, int low, int width) {
    const std::string first = std::to_string(low);
    if (width == 1) return std::string(prefix) + " bit " + first;
    return std::string(prefix) + " bits " + first + kEnDash + std::to_string(low + width - 1);
}

template <size_t N>
std::string ComponentText(const std::array<double, N> &values, int code, const char *unit) {
    if (code < 0 || static_cast<size_t>(code) >= N) return {};
    return FormatFixed(values[static_cast<size_t>(code)], 1) + unit;
}

template <size_t N>
std::vector<std::string> ComponentEntries(const std::array<double, N> &values, const char *unit) {
    std::vector<std::string> entries;
    entries.reserve(N);
    for (double value : values) entries.push_back(FormatFixed(value, 1) + unit);
    return entries;
}

std::string Divided(int value) {
    return value == 0 ? "" : "/ " + std::to_string(value);
}

}  // namespace

int ReadField(const RegisterImage &image, Field field) {
    const RegisterField &f = FieldOf(field);
    return static_cast<int>((Container(image, f.home) & f.Mask()) >> f.low);
}

void WriteField(RegisterImage &image, Field field, int value) {
    const RegisterField &f = FieldOf(field);
    const uint32_t placed = Place(Container(image, f.home), f, static_cast<uint32_t>(value));
    switch (f.home) {
        case FieldHome::Byte0:
            image.bytes[0] = static_cast<uint8_t>(placed);
            break;
        case FieldHome::ControlWord:
            image.SetControlWord(placed);
            break;
        case FieldHome::Byte5:
            image.bytes[5] = static_cast<uint8_t>(placed);
            break;
    }
}

uint32_t ReadWordField(uint32_t controlWord, Field field) {
    const RegisterField &f = FieldOf(field);
    return (controlWord & f.Mask()) >> f.low;
}

uint32_t WriteWordField(uint32_t controlWord, Field field, uint32_t value) {
    return Place(controlWord, FieldOf(field), value);
}

std::string FieldBitsText(Field field) {
    const RegisterField &f = FieldOf(field);
    switch (f.home) {
        case FieldHome::Byte0:
            return BitRange("Byte0", f.low, f.width);
        case FieldHome::Byte5:
            return BitRange("Byte5", f.low, f.width);
        case FieldHome::ControlWord:
            break;
    }
    // The bytes too, where the field lies in one of them.
    std::string text = BitRange("word", f.low, f.width);
    const int byte = 1 + f.low / 8;
    if ((f.low + f.width - 1) / 8 == f.low / 8) {
        text += " (" + BitRange(("Byte" + std::to_string(byte)).c_str(), f.low % 8, f.width) + ")";
    }
    return text;
}

int DecodeChargePumpCode(int code) {
    for (size_t position = 1; position < ChargePumpCodes.size(); ++position) {
        if (ChargePumpCodes[position] == code) return static_cast<int>(position);
    }
    return 0;
}

int ChargePumpMicroAmps(int code) {
    return std::popcount(static_cast<unsigned>(code) & 0xFu) * kChargePumpStepMicroAmps;
}

int OutputDividerValue(int code) {
    if (code < 0 || code >= static_cast<int>(OutputDividerForCode.size())) return 0;
    return OutputDividerForCode[static_cast<size_t>(code)];
}

int PrescalerValue(int code) {
    if (code < 0 || code >= static_cast<int>(PrescalerForCode.size())) return 0;
    return PrescalerForCode[static_cast<size_t>(code)];
}

const std::array<const char *, 16> TestSelectEntries = {
    "0000 ibias_100ua", "0001 ibias_100ub", "0010 not used", "0011 vb",
    "0100 vb1",         "0101 vb2",         "0110 not used", "0111 not used",
    "1000 iref20ua",    "1001 vbg",         "1010 vreg3",    "1011 vreg2",
    "1100 not used",    "1101 vbiasee",     "1110 vcc24_lb", "1111 vblo",
};

std::string FieldValueText(Field field, int code) {
    switch (field) {
        case Field::VcoSelect:
            return code ? "VCO 2" : "VCO 1";
        case Field::Prescaler:
            return Divided(PrescalerValue(code));
        case Field::OutputDivider:
            return Divided(OutputDividerValue(code));
        case Field::OutputType:
            return code ? "LVPECL" : "LVDS";
        case Field::C2:
            return ComponentText(C2Values(), code, " pF");
        case Field::R2:
            return ComponentText(R2Values(), code, " kOhm");
        case Field::C1:
            return ComponentText(C1Values(), code, " pF");
        case Field::C3:
            return ComponentText(C3Values(), code, " pF");
        case Field::ChargePump: {
            const int microAmps = ChargePumpMicroAmps(code);
            return microAmps == 0 ? "0" : std::to_string(microAmps) + kMicroAmps;
        }
        case Field::VcoCalEnable:
            return code ? "enabled" : "disabled";
        case Field::TestSelect:
            return code >= 0 && code < 16 ? TestSelectEntries[static_cast<size_t>(code)] : "";
        case Field::CalDelayLow:
        case Field::CalDelayHigh:
        case Field::VcoCalWord:
        case Field::VcoCalOverride:
        case Field::Byte5Spare:
            break;
    }
    return std::to_string(code);
}

std::vector<std::string> FieldListEntries(Field field) {
    std::vector<std::string> entries;
    switch (field) {
        case Field::Prescaler:
            for (int p : PrescalerForCode) entries.push_back(std::to_string(p));
            break;
        case Field::OutputDivider:
            for (int d : OutputDividerForCode) entries.push_back(std::to_string(d));
            break;
        case Field::ChargePump:
            for (const char *current : {"000", "056", "112", "168", "224"})
                entries.push_back(std::string(current) + kMicroAmps);
            break;
        case Field::VcoCalWord:
            for (int i = 0; i < 1 << FieldOf(field).width; ++i)
                entries.push_back(std::to_string(i));
            break;
        case Field::TestSelect:
            entries.assign(TestSelectEntries.begin(), TestSelectEntries.end());
            break;
        case Field::C1:
            return ComponentEntries(C1Values(), " pF");
        case Field::C2:
            return ComponentEntries(C2Values(), " pF");
        case Field::C3:
            return ComponentEntries(C3Values(), " pF");
        case Field::R2:
            return ComponentEntries(R2Values(), " kOhm");
        default:
            break;
    }
    return entries;
}

std::string CalDelayText(int count) {
    static const char *const kTexts[] = {"8,192", "16,384", "32,768", "32Meg"};
    return count >= 0 && count < 4 ? kTexts[count] : "";
}

std::string FieldToolTip(Field field) {
    const RegisterField &f = FieldOf(field);
    return FieldBitsText(field) + ", " + f.label + ": " + f.meaning;
}

std::string ByteContentsText(int byte) {
    const bool inWord = byte >= 1 && byte <= 4;
    const FieldHome home =
        inWord ? FieldHome::ControlWord : (byte == 0 ? FieldHome::Byte0 : FieldHome::Byte5);
    // Bit numbers as the field's home counts them.
    const int first = inWord ? 8 * (byte - 1) : 0;
    std::string text = "Byte" + std::to_string(byte);
    if (inWord) text += " = " + BitRange("word", first, 8);
    text += ":";
    const char *separator = " ";
    for (const RegisterField &f : kRegisterFields) {
        const int low = std::max(f.low, first);
        const int high = std::min(f.low + f.width, first + 8);
        if (f.home != home || low >= high) continue;
        text += separator;
        text += f.label;
        if (high - low < f.width) text += BitRange("", low - f.low, high - low);
        text += " (" + BitRange("", low - first, high - low).substr(1) + ")";
        separator = ", ";
    }
    return text;
}

}  // namespace velorin::core
