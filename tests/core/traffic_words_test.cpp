// The board command set in words, and the requests a recorded call stands for, checked
// against what the emulated board really received.
#include <gtest/gtest.h>

#include <array>

#include "board_run.h"
#include "core/trace/call_decoding.h"
#include "core/trace/poll_scope.h"
#include "core/trace/request_words.h"
#include "core/trace/tracing_board.h"
#include "core/trace/traffic_table.h"

namespace velorin::testing {
namespace {

using core::BoardKindSeen;

struct WordsCase {
    core::BoardRequestFields request;
    const char *answer;  // bytes a completed read produced
    BoardKindSeen kind;
    uint8_t option;
    const char *words;
    int block;
};

TEST(RequestWordsTest, EveryCommandOfTheSetInWords) {
    const auto kFour = BoardKindSeen::FourBlock, kThree = BoardKindSeen::ThreeBlock;
    const WordsCase cases[] = {
        {{0x92, 0xA083, 0xB000}, "", kFour, 0x83, "I2C read 0xB000 (crystal record)", -1},
        {{0x92, 0xA083, 0xA002},
         "\x05",
         kFour,
         0x83,
         "I2C read 0xA002 (write counter, block C)",
         2},
        {{0x93, 0xA05A, 0x0010}, "", kFour, 3, "I2C write 0x0010 = 5A (firmware)", -1},
        {{0x93, 0xA001, 0xA010}, "", kFour, 0x83, "I2C write 0xA010 = 01 (block record)", -1},
        {{0x93, 0x5001, 0x0000}, "", kFour, 3, "I2C write 0x0000 = 01 on device 0x50", -1},
        {{0x95, 0x00A0, 0}, "", kFour, 3, "set I2C hardware address 0x00A0", -1},
        {{0x96, 0, 0}, "\x12", kFour, 3, "port 0 read: 0x12 (power off, termination A)", -1},
        {{0x96, 0, 3}, "\x0A", kFour, 3, "port 3 read: 0x0A (no supply at B, D)", -1},
        {{0x96, 0, 3}, "\x0C", kThree, 3, "port 3 read: 0x0C (no supply at C)", -1},
        {{0x96, 0, 3}, "", kFour, 3, "port 3 read", -1},
        {{0x97, 0x30, 0}, "", kThree, 3, "port 0 write 0x30 (power on, termination A)", -1},
        {{0x97, 0x30, 0},
         "",
         BoardKindSeen::Unknown,
         3,
         "port 0 write 0x30 (power on, termination A, B)",
         -1},
        {{0x97, 0x22, 1}, "", kFour, 3, "port 1 write 0x22 (outputs A, C enabled)", -1},
        {{0x97, 0x00, 1}, "", kFour, 3, "port 1 write 0x00 (no output enabled)", -1},
        {{0x97, 0x07, 2}, "", kFour, 3, "port 2 write 0x07", -1},
        {{0x98, 0xA003, 0x0004}, "", kFour, 3, "I2C word read 0x0004", -1},
        {{0x99, 0x1234, 0x0004}, "", kFour, 3, "I2C word write 0x0004 = 0x1234", -1},
        {{0x9A, 0xA003, 0}, "", kFour, 3, "I2C word transfer set-up, device 0xA0, option 0x03", -1},
        {{0xA0, 0x06, 0}, "", kFour, 3, "stage Byte0 = 06", -1},
        {{0xA0, 0x80, 4}, "", kFour, 3, "stage Byte4 = 80", -1},
        {{0xA1, 0, 3}, "", kFour, 3, "start read-back", 3},
        {{0xA7, 0, 7}, "\x3F", kFour, 3, "fetch read-back byte 7", -1},
        {{0xB0, 0x0155, 0}, "", kFour, 3, "write SDATA bits 0x0155", -1},
        {{0xB1, 0x00AA, 0}, "", kFour, 3, "write scan-out bits 0x00AA", -1},
        {{0xB5, 0, 1}, "", kFour, 3, "unlock chip EEPROM", 1},
        {{0xBF, 0, 0}, "\x04", kFour, 3, "read board identity: 0x04 (four-block board)", -1},
        {{0xBF, 0, 0}, "\x01", kFour, 3, "read board identity: 0x01 (three-block board)", -1},
        {{0xA2, 0, 0}, "", kFour, 3, "commit word to RAM", 0},
        {{0xD2, 0, 0}, "", kFour, 3, "commit word to RAM", 3},
        {{0xB3, 170, 263}, "", kFour, 3, "command word 263 = 0xAA (program and lock EEPROM)", 1},
        {{0xC3, 15, 263}, "", kFour, 3, "command word 263 = 0x0F (program EEPROM from RAM)", 2},
        {{0xA3, 0, 7}, "", kFour, 3, "command word 7 = 0x00 (end of EEPROM operation)", 0},
        {{0xA3, 255, 7}, "", kFour, 3, "command word 7 = 0xFF (idle)", 0},
        {{0xA3, 0, 0}, "", kFour, 3, "command word 0 = 0x00 (unlock, first step)", 0},
        {{0xA3, 9, 5}, "", kFour, 3, "command word 5 = 0x09", 0},
        {{0x42, 0, 0}, "", kFour, 3, "unknown command 0x42", -1},
    };
    for (const auto &c : cases) {
        core::RequestView view;
        view.first = c.request;
        view.answer = c.answer;
        view.boardKind = c.kind;
        view.i2cOption = c.option;
        EXPECT_EQ(core::RequestWords(view), c.words);
        EXPECT_EQ(core::RequestBlock(view), c.block) << c.words;
    }
}

TEST(RequestWordsTest, PerByteTransfersNameTheirRange) {
    core::RequestView read;
    read.first = {0x92, 0xA083, 0xB000};
    read.count = 10;
    EXPECT_EQ(core::RequestWords(read), "I2C read 0xB000-0xB009 (crystal record)");
    core::RequestView write = read;
    write.first = {0x93, 0xA0C0, 0xFFFF};
    write.count = 2;
    write.data = "\xC0\x01";
    write.i2cOption = 3;
    EXPECT_EQ(core::RequestWords(write), "I2C write 0xFFFF-0x0000 = C0 01 (firmware)");
    core::RequestView fetch;
    fetch.first = {0xA7, 0, 0};
    fetch.count = 32;
    EXPECT_EQ(core::RequestWords(fetch), "fetch read-back bytes 0-31");
}

// Every call the program makes, through the tracing board to the emulated board: the request
// each row shows is the one the board received first for it.
TEST(TracingBoardTest, RowsShowTheRequestsTheBoardReceived) {
    BoardRun run;
    core::TrafficLog log;
    core::TracingBoard board(run.Board(), log);
    uint8_t byte = 0;
    std::array<uint8_t, 2> two{};
    const std::array<uint8_t, 3> record{0x33, 0x30, 0x00};
    {
        const core::PollScope poll;
        board.ReadPort(3, byte);
        board.GetEvmId(byte);
    }
    board.WritePort(1, 0x02);
    board.WriteOneWire(0, 0x06);
    board.WriteToRam(2);
    board.WriteOneWord(1, 263, 170);
    board.ReadBack(1);
    board.ReadDataBack(0, two);
    board.UnlockEeprom(3);
    board.SetI2CDeviceAddress(0xA0, 0x83);
    board.ReadI2C(0xB000, two);
    board.WriteI2C(0xB000, record);
    board.SetI2CDeviceAddress(0xA0, 3);
    board.ReadI2C(0x0010, std::span(two).first(1));
    run.SetFaults(sim::Faults::FailFrom(0));
    EXPECT_FALSE(board.ReadPort(0, byte));

    const auto received = Requests(run.Log());
    std::vector<Request> shown;
    for (uint64_t n = log.FirstKept(); n < log.Next(); ++n) {
        const auto request = core::CallRequests(log.At(n));
        if (!request) continue;
        shown.push_back({request->first.command, request->first.value, request->first.index});
    }
    // One request per byte: the board saw the second bytes too.
    std::vector<Request> firsts;
    for (size_t i = 0; i < received.size(); ++i) {
        const bool follower = i > 0 && received[i].command == received[i - 1].command &&
                              received[i].index == received[i - 1].index + 1 &&
                              (received[i].command == 0xA7 || received[i].command == 0x92 ||
                               received[i].command == 0x93);
        if (!follower) firsts.push_back(received[i]);
    }
    EXPECT_EQ(shown, firsts);

    ASSERT_EQ(log.Size(), 15u);
    EXPECT_TRUE(log.At(0).fromPoll);
    EXPECT_FALSE(log.At(2).fromPoll);
    const auto origin = log.Origin();
    EXPECT_EQ(core::TrafficCell(log.At(2), core::TrafficColumn::Meaning, origin),
              "port 1 write 0x02 (output A enabled)");
    EXPECT_EQ(core::TrafficCell(log.At(4), core::TrafficColumn::Block, origin), "C");
    EXPECT_EQ(core::TrafficCell(log.At(10), core::TrafficColumn::Answer, origin), "FF FF");
    EXPECT_EQ(core::TrafficCell(log.At(11), core::TrafficColumn::Value, origin), "A0xx");
    EXPECT_EQ(core::TrafficCell(log.At(11), core::TrafficColumn::Index, origin), "B000-B002");
    EXPECT_EQ(core::TrafficCell(log.At(13), core::TrafficColumn::Meaning, origin),
              "I2C read 0x0010 (firmware)");
    EXPECT_EQ(core::TrafficCell(log.At(14), core::TrafficColumn::Result, origin),
              "failed: Velorin_ReadPort returned 1");
    EXPECT_EQ(core::TrafficCell(log.At(12), core::TrafficColumn::Meaning, origin),
              "select I2C device 0xA0, option 0x03 (firmware); nothing sent");
    EXPECT_EQ(core::TrafficCell(log.At(12), core::TrafficColumn::Command, origin), "");
}

TEST(TracingBoardTest, TraceLineSaysTheCallTheRequestAndItsWords) {
    core::BoardCall call;
    call.time = std::chrono::steady_clock::time_point{} + std::chrono::microseconds(12345);
    call.kind = core::CallKind::WriteOneWord;
    call.target = 1;
    call.where = 263;
    call.value = 15;
    call.ok = true;
    const auto origin = std::chrono::steady_clock::time_point{};
    EXPECT_EQ(core::TraceLine(call, origin),
              "+12.345 ms WriteOneWord(block=1, address=263, value=15) -> ok  [B3 000F 0107]  "
              "block B: command word 263 = 0x0F (program EEPROM from RAM)");
    call.kind = core::CallKind::ReadPort;
    call.where = 3;
    call.ok = false;
    EXPECT_EQ(core::TraceLine(call, origin),
              "+12.345 ms ReadPort(port=3) -> FAILED (returned 1)  [96 0000 0003]  port 3 read");
    call.kind = core::CallKind::WriteToRam;
    call.target = 7;
    EXPECT_EQ(core::TraceLine(call, origin),
              "+12.345 ms WriteToRam(block=7) -> FAILED (returned 1)  no block 7; nothing sent");
}

}  // namespace
}  // namespace velorin::testing
