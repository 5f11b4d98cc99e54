// The board link against the emulated board: the requests of a connection watch, a lost and a
// returning board, and the identity and port bytes it keeps.
#include "core/device/board_link.h"

#include <gtest/gtest.h>

#include "board_run.h"

namespace velorin::testing {
namespace {

TEST(BoardLinkTest, WatchReadsPortZeroAndReopensALostBoard) {
    BoardRun run;
    core::BoardLink link(run.Board());
    run.WithBoard([](sim::BoardModel &b) { b.SetPort(0, 0x12); });
    const auto watch = link.WatchControlPort(true);
    EXPECT_TRUE(watch.reachable);
    EXPECT_EQ(watch.controlPort, std::optional<uint8_t>(0x12));
    EXPECT_EQ(link.LastPort(0), std::optional<uint8_t>(0x12));
    EXPECT_EQ(Requests(run.Log()), std::vector<Request>{PortRead(0)});
    ASSERT_TRUE(link.ReadIdentity());
    EXPECT_TRUE(link.IsFourBlockBoard());

    run.Emulator().Unplug();
    for (bool readAgain : {true, false}) {
        const auto lost = link.WatchControlPort(readAgain);
        EXPECT_FALSE(lost.reachable);
        EXPECT_TRUE(link.Lost());
        EXPECT_EQ(lost.controlPort, std::nullopt);
    }
    EXPECT_FALSE(link.ReadIdentity());
    EXPECT_TRUE(link.IsFourBlockBoard());  // the last identity known
    EXPECT_EQ(link.LastPort(0), std::optional<uint8_t>(0x12));

    ASSERT_TRUE(run.Emulator().Replug());
    run.Emulator().ClearLog();
    // The lost connection fails the first read: the watch reopens and reads the port once more.
    const auto back = link.WatchControlPort(true);
    EXPECT_TRUE(back.reachable);
    EXPECT_FALSE(link.Lost());
    EXPECT_EQ(back.controlPort, std::optional<uint8_t>(0x12));
    // The failed read never reached the board: only the one on the new connection did.
    EXPECT_EQ(Requests(run.Log()), std::vector<Request>{PortRead(0)});
}

TEST(BoardLinkTest, ConnectNeedsTheIdentityAndReconnectsOnlyWhenLost) {
    BoardRun run;
    core::BoardLink link(run.Board());
    run.Emulator().ClearLog();
    EXPECT_TRUE(link.ReconnectIfLost());  // not lost: nothing sent
    EXPECT_TRUE(run.Log().empty());

    link.MarkLost();
    run.SetFaults(sim::Faults::FailCommand(0xBF));
    EXPECT_FALSE(link.ReconnectIfLost());  // opens, but does not name itself
    EXPECT_TRUE(link.Lost());
    run.Emulator().ClearFaults();
    EXPECT_TRUE(link.ReconnectIfLost());
    EXPECT_FALSE(link.Lost());
    EXPECT_TRUE(link.IsFourBlockBoard());
}

}  // namespace
}  // namespace velorin::testing
