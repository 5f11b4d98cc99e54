// Library tests against an emulated board: the board is open at the start of each test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "support/emulated_board.h"
#include "velorin.h"

namespace velorin::testing {

class OpenBoardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(board_.Started());
        ::testing::internal::CaptureStdout();
        ASSERT_EQ(Velorin_OpenUsbDevice(), 0);
        ::testing::internal::GetCapturedStdout();
        board_.Emulator().ClearLog();
    }
    void TearDown() override { Velorin_CloseUsbDevice(); }

    std::vector<sim::LogEntry> Log() { return board_.Emulator().Log(); }

    void SetFaults(const sim::Faults &faults) { board_.Emulator().SetFaults(faults); }

    EmulatedBoard board_;
};

// Expects one logged request with these fields.
inline void ExpectRequest(const sim::LogEntry &entry, uint8_t command, uint16_t value,
                          uint16_t index, uint8_t answerLength) {
    EXPECT_EQ(entry.command, command);
    EXPECT_EQ(entry.value, value);
    EXPECT_EQ(entry.index, index);
    EXPECT_EQ(entry.answerLength, answerLength);
}

}  // namespace velorin::testing
