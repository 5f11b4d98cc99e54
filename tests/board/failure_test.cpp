// A board that fails, drops, stalls or disappears: requests fail, nothing hangs or crashes.
#include <chrono>

#include "board_fixture.h"

namespace velorin::testing {
namespace {

using BoardFailures = OpenBoardTest;

TEST_F(BoardFailures, ADroppedConnectionFailsThisAndLaterRequests) {
    SetFaults(sim::Faults::DropAt(2));
    uint8_t value = 0;
    EXPECT_EQ(Velorin_ReadPort(0, &value), 0);
    EXPECT_EQ(Velorin_ReadPort(0, &value), 1);
    // Writing into the closed connection must fail, not raise SIGPIPE.
    EXPECT_EQ(Velorin_WritePort(1, 0), 1);
    EXPECT_EQ(Velorin_WritePort(1, 0), 1);
    // As the program's poll does: close, open again, go on.
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Velorin_OpenUsbDevice(), 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Velorin_ReadPort(0, &value), 0);
}

TEST_F(BoardFailures, AnAnswerCutShortFailsTheRead) {
    SetFaults(sim::Faults::TruncateAt(1));
    uint8_t id = 0x33;
    EXPECT_EQ(Velorin_GetEvmId(&id), 1);
    EXPECT_EQ(id, 0x33);
}

TEST_F(BoardFailures, ABoardRejectionFailsTheRequest) {
    uint8_t value = 0;
    EXPECT_EQ(Velorin_WritePort(3, 0xFF), 1);   // the status port is read-only
    EXPECT_EQ(Velorin_ReadPort(0, &value), 0);  // and the connection is still good
}

TEST_F(BoardFailures, ASilentBoardFailsWithinTheTimeout) {
    Velorin_CloseUsbDevice();
    ::setenv("VELORIN_REQUEST_TIMEOUT_MS", "100", 1);
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(Velorin_OpenUsbDevice(), 0);
    ::testing::internal::GetCapturedStdout();
    ::unsetenv("VELORIN_REQUEST_TIMEOUT_MS");
    SetFaults(sim::Faults::Latency(400000));

    uint8_t value = 0x44;
    EXPECT_EQ(Velorin_ReadPort(0, &value), 1);
    EXPECT_EQ(value, 0x44);
    // The late answer must never be taken for the answer to a later request.
    SetFaults(sim::Faults{});
    EXPECT_EQ(Velorin_ReadPort(1, &value), 1);
    EXPECT_EQ(value, 0x44);
}

TEST_F(BoardFailures, UnplugAndReplug) {
    uint8_t value = 0;
    board_.Emulator().Unplug();
    EXPECT_EQ(Velorin_ReadPort(0, &value), 1);
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Velorin_OpenUsbDevice(), 1);
    ::testing::internal::GetCapturedStdout();

    ASSERT_TRUE(board_.Emulator().Replug());
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Velorin_OpenUsbDevice(), 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Velorin_ReadPort(0, &value), 0);
}

TEST_F(BoardFailures, UnplugInTheMiddleOfATransfer) {
    SetFaults(sim::Faults::UnplugAt(5));
    uint8_t buffer[32];
    EXPECT_EQ(Velorin_ReadDataBack(0, 32, buffer), 1);
    EXPECT_EQ(Log().size(), 5u);
    EXPECT_EQ(Log().back().outcome, sim::Outcome::Unplugged);
    EXPECT_FALSE(board_.Emulator().IsPlugged());
}

TEST_F(BoardFailures, AFailedCommandCodeFailsOnlyThatCommand) {
    SetFaults(sim::Faults::FailCommand(0xA0));
    EXPECT_EQ(Velorin_WriteOneWire(0, 1), 1);
    EXPECT_EQ(Velorin_WriteToRam(0), 0);
}

}  // namespace
}  // namespace velorin::testing
