// The device-settings dialog's board operations against the emulated board: exact requests,
// waits, write counter and messages.
#include "core/device/programming_sequences.h"

#include <gtest/gtest.h>

#include "core/base/thread_sleeper.h"
#include "core/device/register_image.h"
#include "sequence_run.h"

namespace velorin::testing {
namespace {

using core::MessageAnswer;
using core::SequenceResult;
using Bytes = std::array<uint8_t, 6>;

constexpr const char *kError = "Error writing to Velorin Eval board";

// Calibration enable (word bit 31) is Byte4 bit 7.
constexpr Bytes kCalibrating{0x15, 0x9E, 0x27, 0x02, 0x80, 0x03};
constexpr Bytes kCalibratingCleared{0x15, 0x9E, 0x27, 0x02, 0x00, 0x03};
constexpr Bytes kPlain{0x15, 0x9E, 0x27, 0x02, 0x40, 0x03};

std::string Question(int count) {
    return "Are you sure you want to write\nVELORIN RAM content to EEPROM?\n\nEEPROM has been "
           "written (" +
           std::to_string(count) + ") times.";
}

class ImageSource {
  public:
    explicit ImageSource(const Bytes &bytes) { image.bytes = bytes; }
    core::ImageBuilder Builder() {
        return [this]() -> core::RegisterImage & {
            ++builds;
            return image;
        };
    }
    core::RegisterImage image;
    int builds = 0;
};

TEST(WriteSettingsToRamTest, CalibrationRestartSendsTheImageTwice50msApart) {
    SequenceRun s;
    ImageSource source(kCalibrating);
    EXPECT_EQ(core::WriteSettingsToRam(s.services, 1, source.Builder(), true),
              SequenceResult::Done);
    EXPECT_EQ(source.builds, 1);
    EXPECT_EQ(s.Sent(), Concat({RamWrite(1, kCalibratingCleared),
                                RamWrite(1, kCalibrating),
                                {PortRead(1), PortWrite(1, 0x08)}}));
    EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{50, 7}}));
    EXPECT_EQ(source.image.bytes, kCalibrating);
    EXPECT_EQ(s.WithBoard([](sim::BoardModel &b) { return b.Chip(1).Ram(); }), kCalibrating);
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(WriteSettingsToRamTest, WithoutCalibrationOneWriteAndTheOutputEnableFollowsTheBox) {
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) { b.SetPort(1, 0xFF); });
    ImageSource source(kPlain);
    EXPECT_EQ(core::WriteSettingsToRam(s.services, 3, source.Builder(), false),
              SequenceResult::Done);
    EXPECT_EQ(s.Sent(), Concat({RamWrite(3, kPlain), {PortRead(1), PortWrite(1, 0x7F)}}));
    EXPECT_TRUE(s.sleeper.waits.empty());
}

TEST(WriteSettingsToRamTest, FaultMatrix) {
    for (int unplug = 0; unplug < 2; ++unplug) {
        for (uint64_t k = 1; k <= 17; ++k) {
            SCOPED_TRACE((unplug ? "unplug at " : "fail ") + std::to_string(k));
            SequenceRun s;
            s.run.SetFaults(unplug ? sim::Faults::UnplugAt(k) : sim::Faults::FailRequest(k));
            ImageSource source(kCalibrating);
            const auto result = core::WriteSettingsToRam(s.services, 0, source.Builder(), true);
            FaultOutcome expected;
            if (k <= 14) {
                // A failed RAM write is reported once and ends the operation; in the first
                // write the enable bit stays clear.
                expected = {SequenceResult::Failed, k, 1};
                EXPECT_EQ(source.image.bytes, k <= 7 ? kCalibratingCleared : kCalibrating);
                EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{kError});
            } else if (k <= 16) {
                // Port failures are silent; a failed read writes nothing.
                expected = {SequenceResult::Failed, k, 0};
            } else {
                expected = {SequenceResult::Done, 16, 0};
            }
            EXPECT_EQ((FaultOutcome{result, s.Logged(), ErrorMessages(s.prompts)}), expected);
            EXPECT_EQ(s.sleeper.waits.size(), k <= 7 ? 0u : 1u);
        }
    }
}

TEST(ProgramEepromTest, ConfirmedProgrammingCountsTheWriteAndRewritesTheRam) {
    SequenceRun s;
    ImageSource source(kPlain);
    s.prompts.answers = {MessageAnswer::Yes};
    EXPECT_EQ(core::ProgramEeprom(s.services, 2, source.Builder(), true), SequenceResult::Done);
    EXPECT_EQ(
        s.Sent(),
        Concat({RamWrite(2, kPlain),
                {EepromRead(0xA002, 0x83), Word(2, 263, 15), Word(2, 7, 0), EepromWrite(0xA002, 1)},
                RamWrite(2, kPlain),
                {PortRead(1), PortWrite(1, 0x20)}}));
    EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{20, 9}, {100, 11}}));
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    const core::Message &question = s.prompts.shown[0];
    EXPECT_EQ(question.text, Question(0));
    EXPECT_EQ(question.buttons, core::MessageButtons::YesNo);
    EXPECT_EQ(question.icon, core::MessageIcon::Error);  // the stop sign
    EXPECT_TRUE(question.caption.empty());
    s.WithBoard([](sim::BoardModel &b) {
        EXPECT_EQ(b.Chip(2).Eeprom(), kPlain);
        EXPECT_TRUE(b.Chip(2).Written());
        EXPECT_EQ(b.Eeprom().Read(0xA002), 1);
    });
}

TEST(ProgramEepromTest, CounterWrapsFrom255ToZero) {
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA000, 254); });
    ImageSource source(kPlain);
    s.prompts.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::No};
    for (int i = 0; i < 3; ++i) core::ProgramEeprom(s.services, 0, source.Builder(), true);
    EXPECT_EQ(s.prompts.Texts(),
              (std::vector<std::string>{Question(254), Question(0), Question(1)}));
    EXPECT_EQ(s.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA000); }), 1);
}

TEST(ProgramEepromTest, NoStillRewritesTheRamAfter100msAndKeepsTheCounter) {
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA001, 7); });
    ImageSource source(kCalibrating);
    s.prompts.answers = {MessageAnswer::No};
    EXPECT_EQ(core::ProgramEeprom(s.services, 1, source.Builder(), false),
              SequenceResult::Declined);
    // The programming writes the image as it is: no calibration restart.
    EXPECT_EQ(s.Sent(), Concat({RamWrite(1, kCalibrating),
                                {EepromRead(0xA001, 0x83)},
                                RamWrite(1, kCalibrating),
                                {PortRead(1), PortWrite(1, 0x00)}}));
    EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{100, 8}}));
    EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{Question(7)});
    s.WithBoard([](sim::BoardModel &b) {
        EXPECT_EQ(b.Eeprom().Read(0xA001), 7);
        EXPECT_FALSE(b.Chip(1).Written());
    });
}

// Requests of the confirmed run: 1-7 RAM, 8 counter read, 9-10 command pair, 11 counter
// store, 12-18 RAM again, 19-20 port 1.
TEST(ProgramEepromTest, FaultMatrix) {
    for (int unplug = 0; unplug < 2; ++unplug) {
        for (uint64_t k = 1; k <= 21; ++k) {
            SCOPED_TRACE((unplug ? "unplug at " : "fail ") + std::to_string(k));
            SequenceRun s;
            s.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA000, 4); });
            s.run.SetFaults(unplug ? sim::Faults::UnplugAt(k) : sim::Faults::FailRequest(k));
            ImageSource source(kPlain);
            s.prompts.answers = {MessageAnswer::Yes};
            const auto result = core::ProgramEeprom(s.services, 0, source.Builder(), true);
            const FaultOutcome outcome{result, s.Logged(), ErrorMessages(s.prompts)};
            const uint8_t counter =
                s.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA000); });
            if (k <= 7) {
                // RAM failures before the question are silent and end it.
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k, 0}));
                EXPECT_TRUE(s.prompts.shown.empty());
                EXPECT_EQ(counter, 4);
            } else if (k == 8) {
                // A failed counter read asks with 0 and goes on; after an unplug the first
                // chip command fails and is reported.
                EXPECT_EQ(s.prompts.shown.at(0).text, Question(0));
                if (unplug) {
                    EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, 8, 1}));
                } else {
                    EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, 20, 0}));
                    EXPECT_EQ(counter, 1);
                }
            } else if (k <= 10) {
                // A failed chip command is reported and ends it before the counter and RAM.
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k, 1}));
                EXPECT_EQ(s.prompts.shown.back().text, kError);
                EXPECT_EQ(counter, 4);
            } else if (k == 11) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, unplug ? 11u : 20u, 0}));
                EXPECT_EQ(counter, 4);
            } else if (k <= 18) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k, 0}));
                EXPECT_EQ(counter, 5);
            } else if (k <= 20) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k, 0}));
            } else {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Done, 20, 0}));
                EXPECT_EQ(counter, 5);
            }
        }
    }
}

TEST(ProgramAndLockTest, ConfirmedLockStores170AndRefreshesTheOutputEnable) {
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) { b.Chip(3).CommitToRam({1, 2, 3, 4, 5, 6}); });
    s.prompts.lockConfirmed = true;
    EXPECT_EQ(core::ProgramAndLockEeprom(s.services, 3, true), SequenceResult::Done);
    EXPECT_EQ(s.Sent(),
              (std::vector<Request>{Word(3, 263, 170), Word(3, 7, 0), EepromWrite(0xA003, 170),
                                    PortRead(1), PortWrite(1, 0x80)}));
    EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{20, 1}}));
    EXPECT_EQ(s.prompts.lockAsked, 1);
    s.WithBoard([](sim::BoardModel &b) {
        EXPECT_TRUE(b.Chip(3).Locked());
        EXPECT_EQ(b.Chip(3).Eeprom(), (sim::ImageBytes{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(b.Eeprom().Read(0xA003), 170);
    });
}

TEST(ProgramAndLockTest, WithoutConfirmationOnlyTheOutputEnableIsRefreshed) {
    SequenceRun s;
    EXPECT_EQ(core::ProgramAndLockEeprom(s.services, 0, false), SequenceResult::Declined);
    EXPECT_EQ(s.Sent(), (std::vector<Request>{PortRead(1), PortWrite(1, 0x00)}));
    EXPECT_TRUE(s.sleeper.waits.empty());
}

// Requests: 1-2 command pair, 3 counter store, 4-5 port 1. Failed commands are reported and
// the sequence goes on.
TEST(ProgramAndLockTest, FaultMatrix) {
    for (int unplug = 0; unplug < 2; ++unplug) {
        for (uint64_t k = 1; k <= 6; ++k) {
            SCOPED_TRACE((unplug ? "unplug at " : "fail ") + std::to_string(k));
            SequenceRun s;
            s.run.SetFaults(unplug ? sim::Faults::UnplugAt(k) : sim::Faults::FailRequest(k));
            s.prompts.lockConfirmed = true;
            const auto result = core::ProgramAndLockEeprom(s.services, 1, true);
            const FaultOutcome outcome{result, s.Logged(), ErrorMessages(s.prompts)};
            EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{20, 1}}));
            if (k == 6) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Done, 5, 0}));
            } else if (unplug) {
                // Every call from k on fails: the commands among them are reported.
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k,
                                                 k == 1 ? 2u : (k == 2 ? 1u : 0u)}));
            } else {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, k == 4 ? 4u : 5u,
                                                 k <= 2 ? 1u : 0u}));
                EXPECT_EQ(s.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA001); }),
                          k == 3 ? 0xFF : 170);
            }
        }
    }
}

TEST(UnlockTest, PasswordThenUnlockPairAndEnd) {
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) { b.Chip(2).SetEeprom({9, 9, 9, 9, 9, 9}, true, true); });
    s.prompts.passwordAccepted = true;
    EXPECT_EQ(core::UnlockChipEeprom(s.services, 2), SequenceResult::Done);
    EXPECT_EQ(s.Sent(), (std::vector<Request>{Word(2, 0, 0), Unlock(2), Word(2, 7, 0)}));
    EXPECT_EQ(s.sleeper.waits, (std::vector<Wait>{{20, 2}}));
    EXPECT_FALSE(s.WithBoard([](sim::BoardModel &b) { return b.Chip(2).Locked(); }));

    SequenceRun refused;
    EXPECT_EQ(core::UnlockChipEeprom(refused.services, 2), SequenceResult::Declined);
    EXPECT_EQ(refused.Logged(), 0u);
    EXPECT_EQ(refused.prompts.passwordAsked, 1);
}

TEST(UnlockTest, FaultMatrix) {
    for (int unplug = 0; unplug < 2; ++unplug) {
        for (uint64_t k = 1; k <= 4; ++k) {
            SCOPED_TRACE((unplug ? "unplug at " : "fail ") + std::to_string(k));
            SequenceRun s;
            s.run.SetFaults(unplug ? sim::Faults::UnplugAt(k) : sim::Faults::FailRequest(k));
            s.prompts.passwordAccepted = true;
            const auto result = core::UnlockChipEeprom(s.services, 0);
            const FaultOutcome outcome{result, s.Logged(), ErrorMessages(s.prompts)};
            if (k == 1) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, 1, 1}));
                EXPECT_TRUE(s.sleeper.waits.empty());
            } else if (k == 2) {
                // The unlock request's result is not examined; an unplug shows at the end.
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, unplug ? 2u : 3u,
                                                 unplug ? 1u : 0u}));
            } else if (k == 3) {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Failed, 3, 1}));
            } else {
                EXPECT_EQ(outcome, (FaultOutcome{SequenceResult::Done, 3, 0}));
            }
        }
    }
}

TEST(IdleTest, SendsTheIdleWordAndReportsAFailure) {
    SequenceRun s;
    EXPECT_EQ(core::SendIdleCommand(s.services, 1), SequenceResult::Done);
    EXPECT_EQ(s.Sent(), std::vector<Request>{Word(1, 7, 255)});
    EXPECT_TRUE(s.WithBoard([](sim::BoardModel &b) { return b.Chip(1).Idle(); }));
    EXPECT_TRUE(s.prompts.shown.empty());

    SequenceRun three(sim::BoardKind::ThreeBlock);
    EXPECT_EQ(core::SendIdleCommand(three.services, 3), SequenceResult::Failed);
    EXPECT_EQ(three.prompts.Texts(), std::vector<std::string>{kError});
    EXPECT_EQ(three.prompts.shown[0].buttons, core::MessageButtons::Ok);
}

// With the program's own sleeper the board sees the pauses between the requests.
TEST(RealWaitsTest, TheBoardSeesTheMinimumPauses) {
    BoardRun run;
    ScriptedPrompts prompts;
    core::ThreadSleeper sleeper;
    core::BoardServices services{run.Board(), prompts, sleeper};
    ImageSource source(kCalibrating);
    prompts.answers = {MessageAnswer::Yes};
    ASSERT_EQ(core::WriteSettingsToRam(services, 0, source.Builder(), true), SequenceResult::Done);
    ASSERT_EQ(core::ProgramEeprom(services, 0, source.Builder(), true), SequenceResult::Done);
    const auto log = run.Log();
    ASSERT_EQ(log.size(), 16u + 20u);
    auto gap = [&log](size_t before) { return log[before].time - log[before - 1].time; };
    using std::chrono::milliseconds;
    EXPECT_GE(gap(7), milliseconds(50));         // calibration restart
    EXPECT_GE(gap(16 + 9), milliseconds(20));    // program command, then end of operation
    EXPECT_GE(gap(16 + 11), milliseconds(100));  // before the RAM is written again
}

}  // namespace
}  // namespace velorin::testing
