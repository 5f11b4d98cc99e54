// The read-back data path against the emulated chip.
#include <gtest/gtest.h>

#include "board_run.h"
#include "core/device/readback.h"
#include "core/device/readback_comparison.h"

namespace velorin::testing {
namespace {

TEST(ReadBackFetchTest, IdentityCommandAndThirtyTwoFetchesDecodeTheChipsEeprom) {
    BoardRun run;
    const sim::ImageBytes image{0xC5, 0x9E, 0x27, 0x02, 0x80, 0x03};
    run.WithBoard([&](sim::BoardModel &b) { b.Chip(1).SetEeprom(image, true, false); });
    const auto fetch = core::FetchReadBack(run.Board(), 1);
    EXPECT_TRUE(fetch.ok);
    std::vector<Request> expected{Identity(), ReadBackCommand(1)};
    for (int i = 0; i < 32; ++i) expected.push_back(Fetch(i));
    EXPECT_EQ(Requests(run.Log()), expected);

    const auto fields = core::DecodeReadBackFields(core::StreamBytes(fetch), false);
    EXPECT_EQ(fields.image.bytes, image);
    EXPECT_EQ(fields.eepromStatus, 1);
    EXPECT_EQ(fields.eepromLock, 0);
    EXPECT_EQ(fields.deviceRevision, 2);
}

TEST(ReadBackFetchTest, FailedFetchLeavesZerosThatDecodeAsAllOnes) {
    for (uint64_t k = 1; k <= 34; ++k) {
        BoardRun run;
        run.WithBoard([](sim::BoardModel &b) {
            b.Chip(0).SetEeprom({0, 0, 0, 0, 0, 0}, false, false);
        });
        run.SetFaults(sim::Faults::UnplugAt(k));
        const auto fetch = core::FetchReadBack(run.Board(), 0);
        EXPECT_FALSE(fetch.ok) << k;
        // Every byte from the failed fetch on stays zero.
        const size_t firstLost = k <= 3 ? 0 : k - 3;
        for (size_t i = firstLost; i < 32; ++i) EXPECT_EQ(fetch.buffer[i], 0) << k << " " << i;
        if (k <= 3) {
            EXPECT_EQ(core::DecodeReadBack(core::StreamBytes(fetch), false).eepromLockText,
                      "locked");
        }
    }
}

TEST(ReadBackFetchTest, ASilentBoardIsComparedWithNothing) {
    BoardRun run;
    const core::RegisterImage program{{0xC5, 0x9E, 0x27, 0x02, 0x80, 0x03}};
    run.WithBoard([&](sim::BoardModel &b) { b.Chip(0).SetEeprom(program.bytes, true, false); });
    const auto compare = [&] {
        return core::CompareFetchWithProgram(core::FetchReadBack(run.Board(), 0), false, program);
    };
    EXPECT_EQ(compare().summary, core::kReadBackMatches);
    // Its zeros decode as all ones, which would differ in every field.
    run.Emulator().Unplug();
    const core::ReadBackComparison silent = compare();
    EXPECT_EQ(silent.summary, "The board did not answer; nothing compared.");
    EXPECT_TRUE(silent.mismatches.empty());
    EXPECT_FALSE(silent.hiddenBitsDiffer);
}

}  // namespace
}  // namespace velorin::testing
