// The main view's EEPROM commands: no RAM write, no output-enable refresh, and the lock stops
// at the first failing command.
#include "core/planning/view_eeprom_commands.h"

#include <gtest/gtest.h>

#include "sequence_run.h"

namespace velorin::testing {
namespace {

using core::MessageAnswer;
using core::SequenceResult;

constexpr const char *kQuestion255 =
    "Are you sure you want to write\nVELORIN RAM content to EEPROM?\n\nEEPROM has been written "
    "(0) times.";
constexpr const char *kQuestion170 =
    "Are you sure you want to write\nVELORIN RAM content to EEPROM?\n\nEEPROM has been written "
    "(170) times.";

TEST(ViewEepromCommandsTest, NoLockAsksWithTheCountAndStoresItPlusOne) {
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA003, 0xFF); });
    s.prompts.answers = {MessageAnswer::Yes};
    EXPECT_EQ(core::WriteEepromNoLock(s.services, 3), SequenceResult::Done);
    EXPECT_EQ(s.Sent(), (std::vector<Request>{EepromRead(0xA003, 0x83), Word(3, 263, 15),
                                              Word(3, 7, 0), EepromWrite(0xA003, 1)}));
    EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{20, 2}}));
    EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{kQuestion255});
    EXPECT_EQ(s.prompts.shown[0].icon, core::MessageIcon::Error);
}

TEST(ViewEepromCommandsTest, NoSendsNothingAfterTheCounterRead) {
    SequenceRun s;
    s.prompts.answers = {MessageAnswer::No};
    EXPECT_EQ(core::WriteEepromNoLock(s.services, 0), SequenceResult::Declined);
    EXPECT_EQ(s.Sent(), std::vector<Request>{EepromRead(0xA000, 0x83)});
    EXPECT_TRUE(s.sleeper.waits.empty());
}

TEST(ViewEepromCommandsTest, LockStores170WhichTheNextQuestionShows) {
    SequenceRun s;
    s.prompts.lockConfirmed = true;
    EXPECT_EQ(core::WriteEepromLock(s.services, 1), SequenceResult::Done);
    EXPECT_EQ(s.Sent(),
              (std::vector<Request>{Word(1, 263, 170), Word(1, 7, 0), EepromWrite(0xA001, 170)}));
    EXPECT_TRUE(s.WithBoard([](sim::BoardModel &b) { return b.Chip(1).Locked(); }));
    s.prompts.answers = {MessageAnswer::No};
    core::WriteEepromNoLock(s.services, 1);
    EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{kQuestion170});

    SequenceRun refused;
    EXPECT_EQ(core::WriteEepromLock(refused.services, 1), SequenceResult::Declined);
    EXPECT_EQ(refused.Logged(), 0u);
}

// No lock: 1 counter read, 2-3 command pair, 4 store. Lock: 1-2 pair, 3 store.
TEST(ViewEepromCommandsTest, FaultMatrix) {
    for (int unplug = 0; unplug < 2; ++unplug) {
        for (uint64_t k = 1; k <= 5; ++k) {
            SCOPED_TRACE((unplug ? "unplug at " : "fail ") + std::to_string(k));
            const auto faults = unplug ? sim::Faults::UnplugAt(k) : sim::Faults::FailRequest(k);
            SequenceRun s;
            s.run.SetFaults(faults);
            s.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA000, 9); });
            s.prompts.answers = {MessageAnswer::Yes};
            const auto noLock = core::WriteEepromNoLock(s.services, 0);
            const FaultOutcome outcome{noLock, s.Logged(), ErrorMessages(s.prompts)};
            const uint8_t counter =
                s.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA000); });
            if (k == 1) {
                // The counter read's result is not examined: the question says 0.
                EXPECT_EQ(s.prompts.shown.at(0).text, kQuestion255);
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, unplug ? 1u : 4u,
                                                 unplug ? 1u : 0u}));
                EXPECT_EQ(counter, unplug ? 9 : 1);
            } else if (k <= 3) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k, 1}));
                EXPECT_EQ(counter, 9);
            } else if (k == 4) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, 4, 0}));
                EXPECT_EQ(counter, 9);
            } else {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Done, 4, 0}));
                EXPECT_EQ(counter, 10);
            }

            SequenceRun l;
            l.run.SetFaults(faults);
            l.prompts.lockConfirmed = true;
            const auto lock = core::WriteEepromLock(l.services, 0);
            const FaultOutcome locked{lock, l.Logged(), ErrorMessages(l.prompts)};
            if (k <= 2) {
                EXPECT_EQ(locked, (FaultOutcome{SequenceResult::Failed, k, 1}));
                EXPECT_EQ(l.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA000); }),
                          0xFF);
            } else if (k == 3) {
                EXPECT_EQ(locked, (FaultOutcome{SequenceResult::Failed, 3, 0}));
            } else {
                EXPECT_EQ(locked, (FaultOutcome{SequenceResult::Done, 3, 0}));
            }
        }
    }
}

}  // namespace
}  // namespace velorin::testing
