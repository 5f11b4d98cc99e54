// The call trace: what it records of each call and how it is saved.
#include "core/device/board_trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "board_run.h"
#include "core/device/tracing_board.h"

namespace velorin::testing {
namespace {

TEST(BoardTraceTest, RecordsOperationArgumentsResultAndOutput) {
    BoardRun run;
    core::BoardTrace trace;
    std::vector<std::string> live;
    trace.SetSink([&](const core::TraceEntry &, const std::string &line) { live.push_back(line); });
    core::TracingBoard board(run.Board(), trace);

    uint8_t value = 0;
    EXPECT_TRUE(board.WriteOneWord(1, 263, 15));
    EXPECT_TRUE(board.ReadPort(0, value));
    board.SetI2CDeviceAddress(0xA0, 0x83);
    std::array<uint8_t, 2> bytes{};
    EXPECT_TRUE(board.ReadI2C(0xB000, bytes));
    run.SetFaults(sim::Faults::FailFrom(1));
    EXPECT_FALSE(board.ReadPort(3, value));

    ASSERT_EQ(trace.Entries().size(), 5u);
    EXPECT_EQ(trace.Entries()[0].operation, "WriteOneWord");
    EXPECT_EQ(trace.Entries()[0].arguments, "block=1, address=263, value=15");
    EXPECT_EQ(trace.Entries()[1].output, "0x02");
    EXPECT_EQ(trace.Entries()[2].arguments, "address=0xA0, option=131");
    EXPECT_EQ(trace.Entries()[3].arguments, "start=0xB000, count=2");
    EXPECT_EQ(trace.Entries()[3].output, "FF FF");
    EXPECT_FALSE(trace.Entries()[4].ok);
    EXPECT_TRUE(trace.Entries()[4].output.empty());
    for (size_t i = 1; i < trace.Entries().size(); ++i) {
        EXPECT_GE(trace.Entries()[i].time, trace.Entries()[i - 1].time);
    }

    ASSERT_EQ(live.size(), 5u);
    EXPECT_NE(live[0].find(" WriteOneWord(block=1, address=263, value=15) -> ok"),
              std::string::npos)
        << live[0];
    EXPECT_EQ(live[0].rfind('+', 0), 0u);
    EXPECT_NE(live[4].find("ReadPort(port=3) -> FAILED"), std::string::npos) << live[4];
    EXPECT_EQ(trace.Text(),
              live[0] + "\n" + live[1] + "\n" + live[2] + "\n" + live[3] + "\n" + live[4] + "\n");
}

TEST(BoardTraceTest, SavesTheTextAndKeepsTheOldFileWhenItCannot) {
    core::BoardTrace trace;
    trace.Add(core::TraceEntry{std::chrono::steady_clock::now(), "GetEvmId", "", true, "0x04"});
    const auto dir = std::filesystem::temp_directory_path() / "velorin-trace-test";
    std::filesystem::create_directories(dir);
    const auto path = (dir / "trace.txt").string();
    std::string error;
    ASSERT_TRUE(trace.Save(path, error)) << error;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), trace.Text());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    EXPECT_FALSE(trace.Save((dir / "missing" / "trace.txt").string(), error));
    EXPECT_FALSE(error.empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velorin::testing

namespace velorin::testing {
namespace {

TEST(BoardTraceTest, KeepsOnlyTheNewestEntriesWithinItsCapacity) {
    core::BoardTrace trace(3);
    for (int i = 0; i < 5; ++i) {
        core::TraceEntry entry;
        entry.time = std::chrono::steady_clock::now();
        entry.operation = "Call" + std::to_string(i);
        entry.ok = true;
        trace.Add(entry);
    }
    ASSERT_EQ(trace.Entries().size(), 3u);
    EXPECT_EQ(trace.Entries().front().operation, "Call2");
    EXPECT_EQ(trace.Dropped(), 2u);
    EXPECT_EQ(trace.Text().rfind("(2 earlier calls not kept)\n", 0), 0u);
    trace.Clear();
    EXPECT_EQ(trace.Dropped(), 0u);
}

}  // namespace
}  // namespace velorin::testing
