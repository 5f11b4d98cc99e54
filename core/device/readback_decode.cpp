#include "core/device/readback_decode.h"

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
    // The code and what it means, both from the register-field table.
    const auto field = [&image](Field f, std::string &code, std::string *meaning) {
        const int value = ReadField(image, f);
        code = Number(value);
        if (meaning) *meaning = FieldValueText(f, value);
    };
    texts.deviceRevision = Number(fields.deviceRevision);
    texts.ramVcoCalWord = Number(fields.ramVcoCalWord);
    texts.eepromStatus = Number(fields.eepromStatus);
    texts.eepromStatusText = fields.eepromStatus ? "EE written" : "EE unwritten";
    texts.eepromLock = Number(fields.eepromLock);
    texts.eepromLockText = fields.eepromLock ? "locked" : "unlocked";
    field(Field::VcoCalEnable, texts.vcoCalEnable, &texts.vcoCalEnableText);
    field(Field::VcoCalWord, texts.eeVcoCalWord, nullptr);
    field(Field::ChargePump, texts.chargePump, &texts.chargePumpText);
    field(Field::C3, texts.c3, &texts.c3Text);
    field(Field::C1, texts.c1, &texts.c1Text);
    field(Field::R2, texts.r2, &texts.r2Text);
    field(Field::C2, texts.c2, &texts.c2Text);
    texts.calDelayCount = Number(CalDelayCount(image));
    texts.calDelayText = CalDelayText(CalDelayCount(image));
    field(Field::OutputType, texts.driverSelect, &texts.driverSelectText);
    field(Field::OutputDivider, texts.outputDivider, &texts.outputDividerText);
    field(Field::Prescaler, texts.prescaler, &texts.prescalerText);
    field(Field::VcoSelect, texts.vcoSelect, &texts.vcoSelectText);
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

}  // namespace velorin::core
