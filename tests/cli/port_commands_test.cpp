// velorinctl status, power, terminate, output-enable, readback-mode and port.
#include <nlohmann/json.hpp>

#include "ctl_run.h"

namespace velorin::testing {
namespace {

using PortCommandsTest = CtlBoardTest;

TEST_F(PortCommandsTest, SwitchesChangeTheirBitsAndStatusDecodesThem) {
    EXPECT_EQ(Ctl({"power", "on"}).code, 0);
    EXPECT_EQ(Ctl({"terminate", "--block", "B", "on"}).code, 0);
    EXPECT_EQ(Ctl({"output-enable", "--block", "3", "on"}).code, 0);
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Port(0); }), 0x20);
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Port(1); }), 0x80);

    WithBoard([](sim::BoardModel &b) { b.SetSupplyFault(2, true); });
    const CtlResult status = Ctl({"status", "--json"});
    ASSERT_EQ(status.code, 0) << status.err;
    const auto j = nlohmann::json::parse(status.out);
    EXPECT_EQ(j["boardKind"], "four-block");
    EXPECT_TRUE(j["powerOn"].get<bool>());
    ASSERT_EQ(j["blocks"].size(), 4u);
    EXPECT_TRUE(j["blocks"][1]["terminated"].get<bool>());
    EXPECT_FALSE(j["blocks"][0]["terminated"].get<bool>());
    EXPECT_TRUE(j["blocks"][3]["outputEnabled"].get<bool>());
    EXPECT_TRUE(j["blocks"][2]["supplyFault"].get<bool>());
    EXPECT_FALSE(j["blocks"][1]["supplyFault"].get<bool>());

    EXPECT_EQ(Ctl({"terminate", "--block", "b", "off"}).code, 0);
    EXPECT_EQ(Ctl({"power", "off"}).code, 0);
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Port(0); }), 0x02);
    const CtlResult text = Ctl({"status"});
    EXPECT_NE(text.out.find("On-board power: off"), std::string::npos) << text.out;
}

TEST_F(PortCommandsTest, DiscoveryLinesOnlyWhenTheyExplainSomething) {
    const CtlResult quiet = Ctl({"status", "--json"});
    EXPECT_EQ(quiet.err.find("Attempting to open"), std::string::npos) << quiet.err;
    EXPECT_TRUE(nlohmann::json::accept(quiet.out)) << quiet.out;

    const CtlResult traced = Ctl({"--trace", "port", "read", "0"});
    EXPECT_NE(traced.err.find("DeviceName = ("), std::string::npos) << traced.err;
    EXPECT_EQ(traced.out, "0x02\n");

    board_.Emulator().Unplug();
    const CtlResult none = Ctl({"status"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("Failed to open ("), std::string::npos) << none.err;
    EXPECT_TRUE(none.out.empty());
}

TEST_F(PortCommandsTest, PortReadWriteAndReadBackMode) {
    EXPECT_EQ(Ctl({"port", "write", "1", "0x5A"}).code, 0);
    const CtlResult read = Ctl({"port", "read", "1"});
    EXPECT_EQ(read.code, 0);
    EXPECT_EQ(read.out, "0x5A\n");
    EXPECT_EQ(Ctl({"readback-mode", "--block", "C"}).code, 0);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].command, 0xA1);
    EXPECT_EQ(Log()[0].index, 2);
    // Port 3 is read-only on the board.
    const CtlResult refused = Ctl({"port", "write", "3", "1"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Error writing to Velorin Eval board"), std::string::npos);
}

TEST_F(PortCommandsTest, BadArgumentsAreUsageErrorsAndSendNothing) {
    for (const auto &args :
         std::vector<std::vector<std::string>>{{"terminate", "--block", "E", "on"},
                                               {"terminate", "--block", "4", "on"},
                                               {"output-enable", "--block", "A", "maybe"},
                                               {"power"},
                                               {"port", "write", "0", "256"},
                                               {"port", "read", "-1"},
                                               {"readback-mode"}}) {
        const CtlResult run = Ctl(args);
        EXPECT_EQ(run.code, 2) << args[0] << " " << run.err;
        EXPECT_TRUE(Log().empty());
    }
}

TEST_F(PortCommandsTest, FailuresExitOneWithoutABoardOrWhenARequestFails) {
    board_.Emulator().SetFaults(sim::Faults::FailCommand(0x96));
    const CtlResult failed = Ctl({"output-enable", "--block", "A", "on"});
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.err.find("board request failed"), std::string::npos) << failed.err;
    ASSERT_EQ(Log().size(), 1u);  // the port read failed, so nothing was written

    board_.Emulator().ClearFaults();
    board_.Emulator().Unplug();
    const CtlResult none = Ctl({"power", "on"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("No board found"), std::string::npos);
    EXPECT_TRUE(none.out.empty());
}

TEST_F(PortCommandsTest, TracePrintsEveryCallOnStandardError) {
    const CtlResult run = Ctl({"--trace", "output-enable", "--block", "A", "on"});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.empty());
    const auto open = run.err.find("OpenUsbDevice() -> ok  open the board connection\n");
    const auto read = run.err.find(
        "ReadPort(port=1) -> ok 00  [96 0000 0001]  port 1 read: 0x00 (no output "
        "enabled)\n");
    const auto write = run.err.find(
        "WritePort(port=1, value=0x02) -> ok  [97 0002 0001]  port 1 write 0x02 (output A "
        "enabled)\n");
    const auto close = run.err.find("CloseUsbDevice() -> ok  close the board connection\n");
    ASSERT_NE(open, std::string::npos) << run.err;
    ASSERT_NE(read, std::string::npos) << run.err;
    ASSERT_NE(write, std::string::npos) << run.err;
    ASSERT_NE(close, std::string::npos) << run.err;
    EXPECT_LT(open, read);
    EXPECT_LT(read, write);
    EXPECT_LT(write, close);
}

}  // namespace
}  // namespace velorin::testing
