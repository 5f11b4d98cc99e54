// What the read-back model decides for its dialog: where each row stands, how each field is
// named, and which fields a read marks with which program value. The decoding and the
// comparison themselves are tested on their own.
#include "core/device/readback_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "board_run.h"

namespace velorin::testing {
namespace {

using core::ReadBackGroup;
using core::ReadBackModel;
using T = core::ReadBackTexts;

TEST(ReadBackModelTest, RowsStandInTwoEepromColumnsWithTheLoopFilterUnderItsLabel) {
    const core::ReadBackLayout &layout = ReadBackModel::Layout();
    ASSERT_EQ(layout.rows.size(), core::ReadBackRows.size());
    const std::map<std::string, core::ReadBackCell> expected{
        {"VCO Calibration Word", {ReadBackGroup::Ram, 0, 3}},
        {"Output Divider", {ReadBackGroup::Eeprom, 6, 0}},
        {"VCO Select", {ReadBackGroup::Eeprom, 1, 4}},
        {"Charge Pump Select", {ReadBackGroup::Eeprom, 3, 4}},
        {"C2", {ReadBackGroup::Eeprom, 7, 4}},
    };
    for (const core::ReadBackPlacedRow &placed : layout.rows) {
        const auto it = expected.find(placed.row->label);
        if (it != expected.end()) {
            EXPECT_EQ(placed.label, it->second) << placed.row->label;
        }
    }
    EXPECT_EQ(layout.loopFilterLabel, (core::ReadBackCell{ReadBackGroup::Eeprom, 2, 4}));
    EXPECT_EQ(layout.ramColumns, 6);
    EXPECT_EQ(layout.eepromLines, 8);

    // Label, number and text of every row, and the three columns of the loop-filter label,
    // each in a cell of its own.
    std::set<std::tuple<ReadBackGroup, int, int>> taken;
    const auto take = [&](ReadBackGroup group, int line, int column, const char *what) {
        EXPECT_TRUE(taken.emplace(group, line, column).second) << what;
    };
    for (const core::ReadBackPlacedRow &placed : layout.rows) {
        const core::ReadBackCell &c = placed.label;
        for (int i = 0; i < (placed.row->text != nullptr ? 3 : 2); ++i)
            take(c.group, c.line, c.column + i, placed.row->label);
    }
    for (int i = 0; i < 3; ++i)
        take(ReadBackGroup::Eeprom, layout.loopFilterLabel.line, layout.loopFilterLabel.column + i,
             "Loop filter settings");
}

TEST(ReadBackModelTest, NumbersAreNamedByTheirRowAndTextsAsItsMeaning) {
    const std::pair<core::ReadBackText, const char *> names[] = {
        {&T::raw, "Raw Data"},
        {&T::eeVcoCalWord, "EE VCO Cal Word"},
        {&T::eepromLockText, "EEPROM Lock meaning"},
        {&T::calDelayText, "Cal Delay Count meaning"},
    };
    for (const auto &[text, name] : names) EXPECT_EQ(ReadBackModel::FieldName(text), name);
}

TEST(ReadBackModelTest, AReadMarksTheFieldsThatDifferWithTheProgramsValueAndTheNextReadClears) {
    BoardRun run;
    core::RegisterImage program{{0xC5, 0x9E, 0x27, 0x02, 0x80, 0x03}};
    core::RegisterImage chip = program;
    core::SetC1Code(chip, 3);
    core::SetOutputType(chip, 0);
    run.WithBoard([&](sim::BoardModel &b) { b.Chip(3).SetEeprom(chip.bytes, true, false); });
    ReadBackModel model(run.Board(), 3, program);
    model.Read(false);

    const std::vector<std::pair<core::ReadBackText, std::string>> marked{
        {&T::c1, "Program: 9 (23.0 pF)"},
        {&T::c1Text, "Program: 9 (23.0 pF)"},
        {&T::driverSelect, "Program: 1 (LVPECL)"},
        {&T::driverSelectText, "Program: 1 (LVPECL)"},
    };
    for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
        const core::ReadBackMark mark = model.MarkOf(field.text);
        const auto it = std::find_if(marked.begin(), marked.end(),
                                     [&](const auto &m) { return m.first == field.text; });
        EXPECT_EQ(mark.differs, it != marked.end()) << field.key;
        EXPECT_EQ(mark.toolTip, it != marked.end() ? it->second : "") << field.key;
    }
    EXPECT_EQ(model.Summary(), "EEPROM differs from the program's settings: Driver Select, C1");

    // The program is compared as it stands at each read.
    program = chip;
    model.Read(false);
    for (const core::ReadBackTextField &field : core::ReadBackTextFields)
        EXPECT_FALSE(model.MarkOf(field.text).differs) << field.key;
    EXPECT_EQ(model.Summary(), core::kReadBackMatches);

    // With the box set the bits are taken as fetched, the complement of the chip's settings.
    model.Read(true);
    EXPECT_EQ(model.Texts().driverSelect, "1");
    EXPECT_EQ(model.MarkOf(&T::driverSelect).toolTip, "Program: 0 (LVDS)");
}

}  // namespace
}  // namespace velorin::testing
