#include "core/device/readback_comparison.h"

namespace velorin::core {

namespace {

using T = ReadBackTexts;
using S = ReadBackSection;

std::string NumberAndText(const ReadBackTexts &texts, const ReadBackRow &row) {
    std::string value = texts.*row.number;
    if (row.text != nullptr && !(texts.*row.text).empty()) value += " " + texts.*row.text;
    return value;
}

}  // namespace

const std::array<ReadBackRow, 16> ReadBackRows = {{
    {"Device Revision", &T::deviceRevision, nullptr, S::Ram, false},
    {"VCO Calibration Word", &T::ramVcoCalWord, nullptr, S::Ram, false},
    {"EEPROM Status", &T::eepromStatus, &T::eepromStatusText, S::Eeprom, false},
    {"EEPROM Lock", &T::eepromLock, &T::eepromLockText, S::Eeprom, false},
    {"Enable VCO Cal Word", &T::vcoCalEnable, &T::vcoCalEnableText, S::Eeprom, true},
    {"EE VCO Cal Word", &T::eeVcoCalWord, nullptr, S::Eeprom, true},
    {"Cal Delay Count", &T::calDelayCount, &T::calDelayText, S::Eeprom, true},
    {"Driver Select", &T::driverSelect, &T::driverSelectText, S::Eeprom, true},
    {"Output Divider", &T::outputDivider, &T::outputDividerText, S::Eeprom, true},
    {"Prescaler", &T::prescaler, &T::prescalerText, S::Eeprom, true},
    {"VCO Select", &T::vcoSelect, &T::vcoSelectText, S::Eeprom, true},
    {"Charge Pump Select", &T::chargePump, &T::chargePumpText, S::LoopFilter, true},
    {"C3", &T::c3, &T::c3Text, S::LoopFilter, true},
    {"C1", &T::c1, &T::c1Text, S::LoopFilter, true},
    {"R2", &T::r2, &T::r2Text, S::LoopFilter, true},
    {"C2", &T::c2, &T::c2Text, S::LoopFilter, true},
}};

ReadBackComparison CompareWithProgram(const ReadBackFields &read, const RegisterImage &program) {
    ReadBackFields programFields;
    programFields.image = program;
    const ReadBackTexts readTexts = FormatReadBackFields(read);
    const ReadBackTexts programTexts = FormatReadBackFields(programFields);

    ReadBackComparison comparison;
    std::string names;
    auto name = [&names](const std::string &text) { names += (names.empty() ? "" : ", ") + text; };
    for (const ReadBackRow &row : ReadBackRows) {
        // The numbers carry the whole field; the texts follow from them.
        if (!row.inImage || readTexts.*row.number == programTexts.*row.number) continue;
        std::string value = programTexts.*row.number;
        if (row.text != nullptr) value += " (" + programTexts.*row.text + ")";
        comparison.mismatches.push_back({&row, value});
        name(row.label);
    }
    comparison.hiddenBitsDiffer = read.image.bytes[5] != program.bytes[5] ||
                                  VcoCalOverride(read.image) != VcoCalOverride(program);
    if (comparison.hiddenBitsDiffer) name("bits shown only in the raw data");
    comparison.summary =
        names.empty() ? kReadBackMatches : "EEPROM differs from the program's settings: " + names;
    return comparison;
}

ReadBackComparison CompareFetchWithProgram(const ReadBackFetch &fetch, bool invertBoxSet,
                                           const RegisterImage &program) {
    if (!fetch.ok) {
        ReadBackComparison silent;
        silent.summary = kReadBackNoAnswer;
        return silent;
    }
    return CompareWithProgram(DecodeReadBackFields(StreamBytes(fetch), invertBoxSet), program);
}

std::string ReadBackCopyText(const ReadBackTexts &texts) {
    std::string text = "Raw Data: " + texts.raw + "\n";
    for (const ReadBackRow &row : ReadBackRows) {
        text += std::string(row.label) + ": " + NumberAndText(texts, row) + "\n";
    }
    return text;
}

}  // namespace velorin::core
