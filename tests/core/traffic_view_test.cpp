// The traffic ring, the rows the window shows of it (filters, pause, expiry) and the rows as
// CSV, copied text and a saved file.
#include "core/trace/traffic_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/trace/traffic_save.h"
#include "core/trace/traffic_table.h"
#include "support/scripted_prompts.h"

namespace velorin::testing {
namespace {

using core::BoardCall;
using core::CallKind;

BoardCall Call(CallKind kind, bool ok = true, bool poll = false, int32_t block = 0) {
    BoardCall call;
    call.kind = kind;
    call.ok = ok;
    call.fromPoll = poll;
    call.target = block;
    call.where = static_cast<uint16_t>(block);
    return call;
}

std::vector<CallKind> Kinds(const core::TrafficView &view) {
    std::vector<CallKind> kinds;
    for (size_t i = 0; i < view.Size(); ++i) kinds.push_back(view.Row(i).kind);
    return kinds;
}

// What a table model does on its timer.
void Sync(core::TrafficView &view) {
    view.DropExpired();
    view.CollectNew();
    view.CommitNew();
}

TEST(TrafficLogTest, KeepsTheNewestCallsAndCountsTheDropped) {
    core::TrafficLog log(3);
    for (int i = 0; i < 5; ++i) log.Add(Call(CallKind::WriteOneWire, true, false, i));
    EXPECT_EQ(log.Size(), 3u);
    EXPECT_EQ(log.FirstKept(), 2u);
    EXPECT_EQ(log.Dropped(), 2u);
    EXPECT_EQ(log.At(2).where, 2);
    EXPECT_EQ(log.At(4).where, 4);
    log.Clear();
    EXPECT_EQ(log.Size(), 0u);
    EXPECT_EQ(log.Dropped(), 0u);
    log.Add(Call(CallKind::GetEvmId));
    EXPECT_EQ(log.FirstKept(), 5u);
    EXPECT_EQ(log.At(5).kind, CallKind::GetEvmId);

    // A larger ring lets a hundredth of itself go at a time.
    core::TrafficLog large(200);
    for (int i = 0; i < 203; ++i) large.Add(Call(CallKind::WriteOneWire, true, false, i % 4));
    EXPECT_EQ(large.Dropped(), 4u);
    EXPECT_EQ(large.Size(), 199u);
    EXPECT_EQ(large.At(202).where, 202 % 4);
}

TEST(TrafficViewTest, FiltersPollBlockAndFailures) {
    core::TrafficLog log;
    log.Add(Call(CallKind::ReadPort, true, true));         // the poll
    log.Add(Call(CallKind::WriteOneWire));                 // no block
    log.Add(Call(CallKind::WriteToRam, true, false, 1));   // block B
    log.Add(Call(CallKind::WriteToRam, false, false, 2));  // block C, failed
    core::TrafficView view(log);
    Sync(view);
    EXPECT_EQ(Kinds(view),
              (std::vector{CallKind::WriteOneWire, CallKind::WriteToRam, CallKind::WriteToRam}));
    const struct {
        core::TrafficFilter filter;
        size_t rows;
    } cases[] = {
        {{false, -1, false}, 4},
        {{true, 1, false}, 2},  // block B's commit and the staging
        {{true, 2, true}, 1},
        {{false, -1, true}, 1},
    };
    for (const auto &c : cases) {
        view.SetFilter(c.filter);
        EXPECT_EQ(view.Size(), c.rows);
    }
}

TEST(TrafficViewTest, BatchesPauseAndExpiry) {
    core::TrafficLog log(4);
    core::TrafficView view(log);
    log.Add(Call(CallKind::WriteOneWire));
    log.Add(Call(CallKind::ReadPort, true, true));
    EXPECT_EQ(view.CollectNew(), 1u);
    EXPECT_EQ(view.Size(), 0u);  // nothing joins before CommitNew
    view.CommitNew();
    EXPECT_EQ(view.Size(), 1u);

    view.SetPaused(true);
    for (int i = 0; i < 3; ++i) log.Add(Call(CallKind::GetEvmId));
    EXPECT_EQ(view.Expired(), 1u);  // the ring let the first call go meanwhile
    EXPECT_FALSE(view.Kept(0));
    EXPECT_EQ(core::TrafficCsv(view).find("WriteOneWire"), std::string::npos);
    view.DropExpired();
    EXPECT_EQ(view.CollectNew(), 0u);
    EXPECT_EQ(view.Size(), 0u);
    view.SetPaused(false);
    EXPECT_EQ(view.CollectNew(), 3u);  // nothing the ring still holds is lost by the pause
    view.CommitNew();
    EXPECT_EQ(view.Size(), 3u);

    log.Clear();
    EXPECT_EQ(view.Expired(), 3u);
    Sync(view);
    EXPECT_EQ(view.Size(), 0u);
}

TEST(TrafficTableTest, CsvQuotesAndCopyTabs) {
    core::TrafficLog log;
    BoardCall write = Call(CallKind::WriteOneWord, true, false, 1);
    write.time = log.Origin() + std::chrono::microseconds(1500);
    write.where = 263;
    write.value = 15;
    log.Add(write);
    BoardCall failed = Call(CallKind::ReadPort, false);
    failed.time = log.Origin() + std::chrono::microseconds(2250);
    failed.where = 0;
    log.Add(failed);
    core::TrafficView view(log);
    Sync(view);
    EXPECT_EQ(core::TrafficCsv(view),
              "Time (ms),Block,Call,Meaning,Command,Value,Index,Answer,Result\r\n"
              "1.500,B,\"WriteOneWord(block=1, address=263, value=15)\","
              "command word 263 = 0x0F (program EEPROM from RAM),B3,000F,0107,,ok\r\n"
              "2.250,,ReadPort(port=0),port 0 read,96,0000,0000,,"
              "failed: Velorin_ReadPort returned 1\r\n");
    const size_t rows[] = {1};
    EXPECT_EQ(core::TrafficRowsText(view, rows),
              "2.250\t\tReadPort(port=0)\tport 0 read\t96\t0000\t0000\t\t"
              "failed: Velorin_ReadPort returned 1\n");
}

TEST(TrafficSaveTest, WritesTheChosenFileOrSaysWhyNot) {
    core::TrafficLog log;
    log.Add(Call(CallKind::GetEvmId));
    core::TrafficView view(log);
    Sync(view);
    const auto dir = std::filesystem::temp_directory_path() / "velorin-traffic-save";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "traffic.csv").string();
    ScriptedPrompts prompts;
    prompts.files = {path, std::nullopt, (dir / "missing" / "traffic.csv").string()};

    EXPECT_EQ(core::SaveTraffic(view, prompts), core::TrafficSaveOutcome::Saved);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), core::TrafficCsv(view));
    EXPECT_EQ(prompts.saveRequests.at(0).defaultExtension, "csv");
    EXPECT_EQ(core::SaveTraffic(view, prompts), core::TrafficSaveOutcome::Cancelled);
    EXPECT_EQ(core::SaveTraffic(view, prompts), core::TrafficSaveOutcome::Failed);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text.rfind("The board traffic could not be written to\n", 0), 0u);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velorin::testing
