// The crystal-frequency record at 0xB000 of the board EEPROM.
#include "core/planning/crystal_record.h"

#include <gtest/gtest.h>

#include "sequence_run.h"

namespace velorin::testing {
namespace {

using core::CrystalSaveOutcome;

std::string StoredBytes(SequenceRun &s, size_t count) {
    return s.WithBoard([count](sim::BoardModel &b) {
        std::string bytes;
        for (size_t i = 0; i < count; ++i) {
            bytes.push_back(static_cast<char>(b.Eeprom().Read(static_cast<uint16_t>(0xB000 + i))));
        }
        return bytes;
    });
}

TEST(CrystalRecordTest, StoresTheThreeDecimalTextWithItsZeroByteAfterAnIgnoredRead) {
    SequenceRun s;
    EXPECT_EQ(core::SaveCrystalFrequency(s.run.Board(), s.prompts, "27.351"),
              CrystalSaveOutcome::Stored);
    std::vector<Request> expected{EepromRead(0xB000, 0x83)};
    const std::string text = "27.351";
    for (size_t i = 0; i <= text.size(); ++i) {
        expected.push_back(EepromWrite(static_cast<uint16_t>(0xB000 + i),
                                       i < text.size() ? static_cast<uint8_t>(text[i]) : 0));
    }
    EXPECT_EQ(s.Sent(), expected);
    EXPECT_EQ(StoredBytes(s, 8), std::string("27.351\0\xFF", 8));
    EXPECT_TRUE(s.prompts.shown.empty());

    const auto load = core::LoadCrystalFrequency(s.run.Board());
    EXPECT_TRUE(load.ok);
    EXPECT_EQ(load.text, "27.351");
}

TEST(CrystalRecordTest, RangeIsTestedOnTheNumberAsTyped) {
    for (const char *accepted : {"38.333", "30", "33.3333 MHz", " 27.3510"}) {
        SequenceRun s;
        EXPECT_EQ(core::SaveCrystalFrequency(s.run.Board(), s.prompts, accepted),
                  CrystalSaveOutcome::Stored)
            << accepted;
    }
    EXPECT_EQ(core::CrystalRecordText("30"), "30.000");
    EXPECT_EQ(core::CrystalRecordText("33.3333 MHz"), "33.333");
    for (const char *refused : {"27.35", "38.334", "38.3331", "abc", "", "-30", "1e400"}) {
        SequenceRun s;
        EXPECT_EQ(core::SaveCrystalFrequency(s.run.Board(), s.prompts, refused),
                  CrystalSaveOutcome::OutOfRange)
            << refused;
        EXPECT_EQ(s.Logged(), 0u);
        ASSERT_EQ(s.prompts.shown.size(), 1u);
        EXPECT_EQ(s.prompts.shown[0].text, "XTAL frequency is beyond vco input range!");
        EXPECT_EQ(s.prompts.shown[0].buttons, core::MessageButtons::Ok);
    }
}

TEST(CrystalRecordTest, LoadReadsTenBytesUpToTheFirstZero) {
    SequenceRun s;
    const auto blank = core::LoadCrystalFrequency(s.run.Board());
    EXPECT_EQ(blank.text, std::string(10, '\xFF'));
    std::vector<Request> expected;
    for (uint16_t i = 0; i < 10; ++i) expected.push_back(EepromRead(0xB000 + i, 0x83));
    EXPECT_EQ(s.Sent(), expected);

    s.WithBoard([](sim::BoardModel &b) {
        const std::string record = "30.000";
        for (size_t i = 0; i < record.size(); ++i) {
            b.Eeprom().Write(static_cast<uint16_t>(0xB000 + i), static_cast<uint8_t>(record[i]));
        }
        b.Eeprom().Write(0xB006, 0);
    });
    EXPECT_EQ(core::LoadCrystalFrequency(s.run.Board()).text, "30.000");
}

TEST(CrystalRecordTest, BoardFailuresAreSilentAndLeaveWhatArrived) {
    for (int unplug = 0; unplug < 2; ++unplug) {
        for (uint64_t k = 1; k <= 8; ++k) {
            SequenceRun s;
            s.run.SetFaults(unplug ? sim::Faults::UnplugAt(k) : sim::Faults::FailRequest(k));
            EXPECT_EQ(core::SaveCrystalFrequency(s.run.Board(), s.prompts, "30"),
                      CrystalSaveOutcome::BoardFailed);
            EXPECT_TRUE(s.prompts.shown.empty());
            // The write stops at the failing byte: the bytes before it are stored.
            const std::string stored = StoredBytes(s, 7);
            const size_t written = k == 1 ? (unplug ? 0 : 7) : k - 2;
            EXPECT_EQ(stored.substr(0, written), std::string("30.000\0", 7).substr(0, written));
        }
    }
    SequenceRun s;
    s.WithBoard([](sim::BoardModel &b) {
        for (uint16_t i = 0; i < 10; ++i) b.Eeprom().Write(0xB000 + i, '3');
    });
    s.run.SetFaults(sim::Faults::FailRequest(4));
    const auto load = core::LoadCrystalFrequency(s.run.Board());
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.text, "333");
}

}  // namespace
}  // namespace velorin::testing
