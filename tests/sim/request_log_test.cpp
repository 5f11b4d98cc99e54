// The emulator's request log keeps the newest requests only, and numbers every one.
#include "sim/request_log.h"

#include <gtest/gtest.h>

namespace velorin::sim {
namespace {

LogEntry Numbered(RequestLog &log) {
    LogEntry entry;
    entry.number = log.NextNumber();
    entry.command = static_cast<uint8_t>(entry.number);
    return entry;
}

TEST(RequestLog, KeepsTheNewestUpToItsCapacityAndNumbersOn) {
    EXPECT_EQ(RequestLog().Capacity(), 100000u);
    RequestLog log(3);
    for (int i = 0; i < 5; ++i) log.Add(Numbered(log));
    const std::vector<LogEntry> kept = log.Entries();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept.front().number, 3u);
    EXPECT_EQ(kept.back().number, 5u);
    EXPECT_EQ(log.Numbered(), 5u);
    log.Clear();
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(Numbered(log).number, 1u);
}

}  // namespace
}  // namespace velorin::sim
