#include "core/device/readback_decode.h"

#include <bit>

#include "core/loopfilter/component_tables.h"
#include "core/planning/number_text.h"

namespace velorin::core {

namespace {

// Stream bit n is bit 7 - n % 8 of byte n / 8.
int StreamBit(const ReadBackBytes &bytes, int n) {
    return (bytes[static_cast<size_t>(n / 8)] >> (7 - n % 8)) & 1;
}

int LsbFirst(const ReadBackBytes &bytes, int first, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) value |= StreamBit(bytes, first + i) << i;
    return value;
}

std::string Number(int value) {
    return std::to_string(value);
}

template <size_t N>
std::string ComponentText(const std::array<double, N> &values, int code, const char *unit) {
    if (code < 0 || static_cast<size_t>(code) >= N) return {};
    return FormatFixed(values[static_cast<size_t>(code)], 1) + unit;
}

}  // namespace

const std::array<ReadBackTextField, 30> ReadBackTextFields = {{
    {"raw", 1207, &ReadBackTexts::raw},
    {"deviceRevision", 1210, &ReadBackTexts::deviceRevision},
    {"ramVcoCalWord", 1209, &ReadBackTexts::ramVcoCalWord},
    {"eepromStatus", 1213, &ReadBackTexts::eepromStatus},
    {"eepromStatusText", 1226, &ReadBackTexts::eepromStatusText},
    {"eepromLock", 1214, &ReadBackTexts::eepromLock},
    {"eepromLockText", 1229, &ReadBackTexts::eepromLockText},
    {"vcoCalEnable", 1217, &ReadBackTexts::vcoCalEnable},
    {"vcoCalEnableText", 1231, &ReadBackTexts::vcoCalEnableText},
    {"eeVcoCalWord", 1212, &ReadBackTexts::eeVcoCalWord},
    {"chargePump", 1218, &ReadBackTexts::chargePump},
    {"chargePumpText", 1232, &ReadBackTexts::chargePumpText},
    {"c3", 1221, &ReadBackTexts::c3},
    {"c3Text", 1235, &ReadBackTexts::c3Text},
    {"c1", 1219, &ReadBackTexts::c1},
    {"c1Text", 1233, &ReadBackTexts::c1Text},
    {"r2", 1222, &ReadBackTexts::r2},
    {"r2Text", 1236, &ReadBackTexts::r2Text},
    {"c2", 1220, &ReadBackTexts::c2},
    {"c2Text", 1234, &ReadBackTexts::c2Text},
    {"calDelayCount", 1216, &ReadBackTexts::calDelayCount},
    {"calDelayText", 1238, &ReadBackTexts::calDelayText},
    {"driverSelect", 1215, &ReadBackTexts::driverSelect},
    {"driverSelectText", 1227, &ReadBackTexts::driverSelectText},
    {"outputDivider", 1211, &ReadBackTexts::outputDivider},
    {"outputDividerText", 1225, &ReadBackTexts::outputDividerText},
    {"prescaler", 1206, &ReadBackTexts::prescaler},
    {"prescalerText", 1223, &ReadBackTexts::prescalerText},
    {"vcoSelect", 1208, &ReadBackTexts::vcoSelect},
    {"vcoSelectText", 1224, &ReadBackTexts::vcoSelectText},
}};

ReadBackBytes PrepareReadBackBytes(const ReadBackBytes &fetched, bool invertBoxSet) {
    ReadBackBytes prepared = fetched;
    if (!invertBoxSet) {
        for (uint8_t &byte : prepared) byte = static_cast<uint8_t>(~byte);
    }
    return prepared;
}

ReadBackFields DecodeReadBackFields(const ReadBackBytes &fetched, bool invertBoxSet) {
    const ReadBackBytes bytes = PrepareReadBackBytes(fetched, invertBoxSet);
    ReadBackFields fields;
    fields.deviceRevision = LsbFirst(bytes, 0, 3);
    fields.ramVcoCalWord = LsbFirst(bytes, 3, 6);
    fields.eepromStatus = StreamBit(bytes, 9);
    fields.eepromLock = StreamBit(bytes, 10);
    // s11 onwards: Byte5 first, most significant bit of each byte first.
    for (int byte = 5; byte >= 0; --byte) {
        int value = 0;
        const int first = 11 + 8 * (5 - byte);
        for (int i = 0; i < 8; ++i) value = (value << 1) | StreamBit(bytes, first + i);
        fields.image.bytes[static_cast<size_t>(byte)] = static_cast<uint8_t>(value);
    }
    return fields;
}

ReadBackTexts DecodeReadBack(const ReadBackBytes &fetched, bool invertBoxSet) {
    ReadBackTexts texts = FormatReadBackFields(DecodeReadBackFields(fetched, invertBoxSet));
    texts.raw = FormatReadBackRaw(PrepareReadBackBytes(fetched, invertBoxSet));
    return texts;
}

ReadBackTexts FormatReadBackFields(const ReadBackFields &fields) {
    const RegisterImage &image = fields.image;
    ReadBackTexts texts;
    texts.deviceRevision = Number(fields.deviceRevision);
    texts.ramVcoCalWord = Number(fields.ramVcoCalWord);
    texts.eepromStatus = Number(fields.eepromStatus);
    texts.eepromStatusText = fields.eepromStatus ? "EE written" : "EE unwritten";
    texts.eepromLock = Number(fields.eepromLock);
    texts.eepromLockText = fields.eepromLock ? "locked" : "unlocked";
    texts.vcoCalEnable = Number(VcoCalEnable(image));
    texts.vcoCalEnableText = VcoCalEnable(image) ? "enabled" : "disabled";
    texts.eeVcoCalWord = Number(VcoCalWord(image));
    texts.chargePump = Number(ChargePumpCode(image));
    texts.chargePumpText = ChargePumpText(ChargePumpCode(image));
    texts.c3 = Number(C3Code(image));
    texts.c3Text = ComponentText(C3Values(), C3Code(image), " pF");
    texts.c1 = Number(C1Code(image));
    texts.c1Text = ComponentText(C1Values(), C1Code(image), " pF");
    texts.r2 = Number(R2Code(image));
    texts.r2Text = ComponentText(R2Values(), R2Code(image), " kOhm");
    texts.c2 = Number(C2Code(image));
    texts.c2Text = ComponentText(C2Values(), C2Code(image), " pF");
    texts.calDelayCount = Number(CalDelayCount(image));
    texts.calDelayText = CalDelayText(CalDelayCount(image));
    texts.driverSelect = Number(OutputType(image));
    texts.driverSelectText = OutputType(image) ? "LVPECL" : "LVDS";
    texts.outputDivider = Number(OutputDividerCode(image));
    texts.outputDividerText = OutputDividerText(OutputDividerCode(image));
    texts.prescaler = Number(PrescalerCode(image));
    texts.prescalerText = PrescalerText(PrescalerCode(image));
    texts.vcoSelect = Number(VcoSelect(image));
    texts.vcoSelectText = VcoSelect(image) ? "VCO 2" : "VCO 1";
    return texts;
}

std::string FormatReadBackRaw(const ReadBackBytes &prepared) {
    // Group sizes of s0-s58: revision, RAM word, status, lock, then six bytes.
    static constexpr int kGroups[] = {3, 6, 1, 1, 8, 8, 8, 8, 8, 8};
    std::string raw;
    int n = 0;
    for (int group : kGroups) {
        if (!raw.empty()) raw += ' ';
        for (int i = 0; i < group; ++i, ++n) raw += StreamBit(prepared, n) ? '1' : '0';
    }
    return raw;
}

std::string ChargePumpText(int code) {
    const int sources = std::popcount(static_cast<unsigned>(code) & 0xFu);
    if (sources == 0) return "0";
    return std::to_string(sources * kChargePumpStepMicroAmps) +
           " \xC2\xB5"
           "A";
}

std::string CalDelayText(int count) {
    static const char *const kTexts[] = {"8,192", "16,384", "32,768", "32Meg"};
    return count >= 0 && count < 4 ? kTexts[count] : "";
}

std::string OutputDividerText(int code) {
    const int divider = OutputDividerValue(code);
    return divider == 0 ? "" : "/ " + std::to_string(divider);
}

std::string PrescalerText(int code) {
    const int prescaler = PrescalerValue(code);
    return prescaler == 0 ? "" : "/ " + std::to_string(prescaler);
}

}  // namespace velorin::core
