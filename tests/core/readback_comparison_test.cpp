// The read-back rows, the comparison with the program's image and the copied text.
#include "core/device/readback_comparison.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velorin::core {
namespace {

const RegisterImage kProgram{{0xC5, 0x9E, 0x27, 0x02, 0x80, 0x03}};

ReadBackFields ReadOf(const RegisterImage &image) {
    ReadBackFields fields;
    fields.deviceRevision = 2;
    fields.eepromStatus = 1;
    fields.image = image;
    return fields;
}

std::vector<std::string> Labels(const ReadBackComparison &comparison) {
    std::vector<std::string> labels;
    for (const auto &m : comparison.mismatches) labels.push_back(m.row->label);
    return labels;
}

TEST(ReadBackComparisonTest, EachDifferenceNamesItsFieldWithTheProgramsValue) {
    // Status bits are the chip's own and never differ from the program.
    EXPECT_EQ(CompareWithProgram(ReadOf(kProgram), kProgram).summary, kReadBackMatches);
    EXPECT_TRUE(CompareWithProgram(ReadOf(kProgram), kProgram).mismatches.empty());

    struct Case {
        void (*change)(RegisterImage &);
        std::vector<std::string> labels;
        std::string firstProgramValue;
        bool hidden;
    };
    const std::vector<Case> cases{
        {[](RegisterImage &i) { SetC1Code(i, 3); }, {"C1"}, "9 (23.0 pF)", false},
        {[](RegisterImage &i) {
             SetPrescalerCode(i, 0);
             SetChargePumpCode(i, 15);
         },
         {"Prescaler", "Charge Pump Select"},
         "2 (/ 4)",
         false},
        {[](RegisterImage &i) { SetCalDelayCount(i, 3); },
         {"Cal Delay Count"},
         "1 (16,384)",
         false},
        {[](RegisterImage &i) { SetVcoCalWord(i, 5); }, {"EE VCO Cal Word"}, "0", false},
        {[](RegisterImage &i) { SetTestSelect(i, 9); }, {}, "", true},
        {[](RegisterImage &i) { SetVcoCalOverride(i, 1); }, {}, "", true},
    };
    for (const Case &c : cases) {
        RegisterImage chip = kProgram;
        c.change(chip);
        const ReadBackComparison comparison = CompareWithProgram(ReadOf(chip), kProgram);
        EXPECT_EQ(Labels(comparison), c.labels) << comparison.summary;
        EXPECT_EQ(comparison.hiddenBitsDiffer, c.hidden) << comparison.summary;
        if (!c.labels.empty()) {
            EXPECT_EQ(comparison.mismatches[0].programValue, c.firstProgramValue);
        }
        EXPECT_EQ(comparison.summary.rfind("EEPROM differs from the program's settings: ", 0), 0u)
            << comparison.summary;
    }
    RegisterImage chip = kProgram;
    SetC1Code(chip, 3);
    SetR2Code(chip, 1);
    SetTestSelect(chip, 1);
    EXPECT_EQ(CompareWithProgram(ReadOf(chip), kProgram).summary,
              "EEPROM differs from the program's settings: C1, R2, bits shown only in the raw "
              "data");
}

TEST(ReadBackComparisonTest, CopyTextIsTheRawStringThenOneLinePerRow) {
    ReadBackTexts texts = DecodeReadBack(ReadBackBytes{}, false);
    const std::string copied = ReadBackCopyText(texts);
    EXPECT_EQ(copied.rfind("Raw Data: " + texts.raw + "\n", 0), 0u);
    for (const char *line :
         {"\nDevice Revision: 7\n", "\nEEPROM Lock: 1 locked\n", "\nEE VCO Cal Word: 63\n",
          "\nOutput Divider: 7\n", "\nC2: 31 473.5 pF\n", "\nCal Delay Count: 3 32Meg\n"}) {
        EXPECT_NE(copied.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 1 + 16);
}

}  // namespace
}  // namespace velorin::core
