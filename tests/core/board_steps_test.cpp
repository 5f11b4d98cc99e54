// The shared steps and the port switches against the emulated board.
#include <gtest/gtest.h>

#include "board_run.h"
#include "core/device/block_record.h"
#include "core/device/port_switches.h"
#include "core/device/programming_steps.h"

namespace velorin::testing {
namespace {

using core::SequenceResult;

TEST(ProgrammingStepsTest, ImageGoesToStagingInIndexOrderThenToTheBlocksRam) {
    BoardRun run;
    core::RegisterImage image;
    image.bytes = {0x11, 0x22, 0x33, 0x44, 0x85, 0x06};
    EXPECT_TRUE(core::WriteImageToRam(run.Board(), 2, image));
    EXPECT_EQ(Requests(run.Log()), RamWrite(2, image.bytes));
    EXPECT_EQ(run.WithBoard([](sim::BoardModel &b) { return b.Chip(2).Ram(); }), image.bytes);
}

TEST(ProgrammingStepsTest, ImageWriteStopsAtTheFirstFailedCall) {
    core::RegisterImage image;
    image.bytes = {1, 2, 3, 4, 5, 6};
    for (uint64_t k = 1; k <= 7; ++k) {
        BoardRun run;
        run.SetFaults(sim::Faults::FailRequest(k));
        EXPECT_FALSE(core::WriteImageToRam(run.Board(), 0, image)) << k;
        EXPECT_EQ(run.Log().size(), k);
        EXPECT_EQ(run.WithBoard([](sim::BoardModel &b) { return b.Chip(0).Ram(); }),
                  (sim::ImageBytes{}));
    }
}

TEST(ProgrammingStepsTest, OutputEnableOfBlockDKeepsTheOtherBitsOfPort1) {
    BoardRun run;
    run.WithBoard([](sim::BoardModel &b) { b.SetPort(1, 0x55); });
    EXPECT_TRUE(core::RefreshOutputEnable(run.Board(), 3, true));
    EXPECT_TRUE(core::RefreshOutputEnable(run.Board(), 0, false));
    EXPECT_EQ(Requests(run.Log()), (std::vector<Request>{PortRead(1), PortWrite(1, 0xD5),
                                                         PortRead(1), PortWrite(1, 0xD5 & ~0x02)}));
}

TEST(ProgrammingStepsTest, FailedPortReadWritesNothing) {
    BoardRun run;
    run.SetFaults(sim::Faults::FailRequest(1));
    EXPECT_FALSE(core::RefreshOutputEnable(run.Board(), 1, true));
    EXPECT_EQ(core::SwitchPower(run.Board(), true), SequenceResult::Done);
    run.SetFaults(sim::Faults::FailCommand(0x96));
    EXPECT_EQ(core::SwitchTermination(run.Board(), 1, true), SequenceResult::Failed);
    EXPECT_EQ(core::SwitchOutputEnable(run.Board(), 1, true), SequenceResult::Failed);
    EXPECT_EQ(Requests(run.Log()),
              (std::vector<Request>{PortRead(1), PortRead(0), PortWrite(0, 0x00), PortRead(0),
                                    PortRead(1)}));
}

TEST(ProgrammingStepsTest, WriteCounterReadsBlanksAsZeroAndStoresWithoutAddressing) {
    BoardRun run;
    run.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA001, 254); });
    auto blank = core::ReadWriteCounter(run.Board(), 0);
    EXPECT_TRUE(blank.ok);
    EXPECT_EQ(blank.count, 0);
    auto used = core::ReadWriteCounter(run.Board(), 1);
    EXPECT_EQ(used.count, 254);
    EXPECT_TRUE(core::StoreWriteCounter(run.Board(), 1, 255));
    EXPECT_EQ(core::ReadWriteCounter(run.Board(), 1).count, 0);
    EXPECT_EQ(Requests(run.Log()),
              (std::vector<Request>{EepromRead(0xA000, 0x83), EepromRead(0xA001, 0x83),
                                    EepromWrite(0xA001, 255), EepromRead(0xA001, 0x83)}));

    run.SetFaults(sim::Faults::FailCommand(0x92));
    auto failed = core::ReadWriteCounter(run.Board(), 1);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.count, 0);
}

TEST(PortSwitchesTest, EachSwitchChangesOnlyItsBit) {
    BoardRun run;
    run.WithBoard([](sim::BoardModel &b) {
        b.SetPort(0, 0xA6);
        b.SetPort(1, 0x00);
    });
    EXPECT_EQ(core::SwitchPower(run.Board(), true), SequenceResult::Done);
    EXPECT_EQ(core::SwitchPower(run.Board(), false), SequenceResult::Done);
    EXPECT_EQ(core::SwitchTermination(run.Board(), 2, true), SequenceResult::Done);
    EXPECT_EQ(core::SwitchTermination(run.Board(), 3, false), SequenceResult::Done);
    EXPECT_EQ(core::SwitchOutputEnable(run.Board(), 1, true), SequenceResult::Done);
    EXPECT_EQ(core::StartReadBackMode(run.Board(), 2), SequenceResult::Done);
    EXPECT_EQ(
        Requests(run.Log()),
        (std::vector<Request>{PortRead(0), PortWrite(0, 0xA4), PortRead(0), PortWrite(0, 0xA6),
                              PortRead(0), PortWrite(0, 0xE6), PortRead(0), PortWrite(0, 0x66),
                              PortRead(1), PortWrite(1, 0x08), ReadBackCommand(2)}));
}

TEST(BlockRecordTest, CheckByteIsTheSumLessOne) {
    core::RegisterImage image;
    image.bytes = {0xC0, 0x00, 0x00, 0x00, 0x80, 0x00};
    const auto record = core::MakeBlockRecord(image, true, true, 1);
    EXPECT_EQ(record, (core::BlockRecord{0xC0, 0, 0, 0, 0x80, 0, 1, 1, 1, 0x42}));
    // An all-zero record wraps round to 0xFF.
    EXPECT_EQ(core::MakeBlockRecord(core::RegisterImage{}, false, false, 0)[9], 0xFF);
}

TEST(BlockRecordTest, SavedAfterAnIgnoredReadWhateverFails) {
    core::RegisterImage image;
    image.bytes = {1, 2, 3, 4, 5, 6};
    const auto record = core::MakeBlockRecord(image, false, true, 3);
    {
        BoardRun run;
        run.SetFaults(sim::Faults::FailRequest(1));
        EXPECT_EQ(core::SaveBlockRecord(run.Board(), record), SequenceResult::Done);
        auto expected = std::vector<Request>{EepromRead(0xA010, 0x83)};
        for (size_t i = 0; i < record.size(); ++i) {
            expected.push_back(EepromWrite(static_cast<uint16_t>(0xA010 + i), record[i]));
        }
        EXPECT_EQ(Requests(run.Log()), expected);
        EXPECT_EQ(run.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA019); }),
                  record[9]);
    }
    BoardRun run;
    run.SetFaults(sim::Faults::FailRequest(5));
    EXPECT_EQ(core::SaveBlockRecord(run.Board(), record), SequenceResult::Failed);
    EXPECT_EQ(run.Log().size(), 5u);
}

}  // namespace
}  // namespace velorin::testing
