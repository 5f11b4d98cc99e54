// The view's command table: every popup item says what it sets, and the instrument finds the
// item for each value.
#include "core/planning/view_commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/device/register_fields.h"

namespace velorin::core {
namespace {

// What a popup item should read, from the chip's tables.
std::string ExpectedText(const ViewCommand &c) {
    const auto code = static_cast<size_t>(c.prescalerCode);
    switch (c.menu) {
        case CommandMenu::FeedbackDivider:
            return std::to_string(FeedbackDividerForPrescaler[code]);
        case CommandMenu::Prescaler:
            return std::to_string(PrescalerForCode[code]);
        case CommandMenu::OutputDivider:
            return std::to_string(OutputDividerForCode[static_cast<size_t>(c.outputDividerCode)]);
        case CommandMenu::ChargePump:
            return std::to_string(c.chargePumpIndex * kChargePumpStepMicroAmps) + " \u00b5A";
        case CommandMenu::Main:
            break;
    }
    return c.text;
}

TEST(ViewCommands, EveryItemReadsWhatItSetsAndEachValueHasItsItem) {
    std::set<int> ids;
    for (const ViewCommand &c : kViewCommands) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(ids.insert(c.id).second);
        EXPECT_EQ(c.text, ExpectedText(c));
        // A divider item also sets the feedback divider that goes with its prescaler code.
        if (c.prescalerCode >= 0) {
            const int index = c.feedbackIndex;
            constexpr int kFeedbackByIndex[] = {12, 16, 20, 32};
            ASSERT_GE(index, 0);
            EXPECT_EQ(kFeedbackByIndex[index], FeedbackDividerForPrescaler[c.prescalerCode]);
        }
    }
    for (int code = 0; code < 4; ++code) {
        EXPECT_EQ(FindViewCommand(*PrescalerCommand(code))->prescalerCode, code);
    }
    for (int code = 0; code < 6; ++code) {
        EXPECT_EQ(FindViewCommand(*OutputDividerCommand(code))->outputDividerCode, code);
    }
    EXPECT_FALSE(ChargePumpCommand(0));  // reached through the device-settings dialog only
    EXPECT_EQ(FindViewCommand(*ChargePumpCommand(4))->id, ids::kChargePump224);
}

}  // namespace
}  // namespace velorin::core
