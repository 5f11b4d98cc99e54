// Discovery, open and close, and the debug lines they write.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "board_fixture.h"
#include "support/stale_socket.h"

namespace velorin::testing {
namespace {

std::string OpenCapturingOutput(int &result) {
    ::testing::internal::CaptureStdout();
    result = Velorin_OpenUsbDevice();
    return ::testing::internal::GetCapturedStdout();
}

TEST(BoardConnection, NoDeviceDirectoryMeansNoBoard) {
    ::setenv("VELORIN_DEVICE_DIR", "/nonexistent/velorin-devices", 1);
    int result = 0;
    std::string output = OpenCapturingOutput(result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(output.rfind("Failed to open (", 0), 0u) << output;
    EXPECT_EQ(output.find('\n'), std::string::npos);  // that line has no line end
    EXPECT_EQ(Velorin_CloseUsbDevice(), 1);
    uint8_t value = 0;
    EXPECT_EQ(Velorin_ReadPort(0, &value), 1);
}

TEST(BoardConnection, OpensTheFirstEndpointThatAnswersInNameOrder) {
    EmulatedBoard board(sim::BoardKind::FourBlock, "m-board");
    ASSERT_TRUE(board.Started());
    const std::string &dir = board.DeviceDir();
    MakeStaleSocket(dir + "/a-stale");
    std::ofstream(dir + "/0-not-a-socket") << "x";

    int result = 1;
    std::string output = OpenCapturingOutput(result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(output, "Attempting to open " + dir + "/a-stale\n" + "FAILED to open " + dir +
                          "/a-stale\n" + "Attempting to open " + dir + "/m-board\n" +
                          "DeviceName = (" + dir + "/m-board)\n");
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
}

TEST(BoardConnection, EveryEndpointRefusingLeavesTheLastPathInTheFailureLine) {
    EmulatedBoard board;
    ASSERT_TRUE(board.Started());
    board.Emulator().Stop();
    MakeStaleSocket(board.DeviceDir() + "/z-stale");
    int result = 0;
    std::string output = OpenCapturingOutput(result);
    EXPECT_EQ(result, 1);
    const std::string last = board.DeviceDir() + "/z-stale";
    EXPECT_NE(output.find("FAILED to open " + last + "\n"), std::string::npos);
    EXPECT_NE(output.find("Failed to open (" + last + ") = 111"),
              std::string::npos)  // ECONNREFUSED
        << output;
}

TEST(BoardConnection, CloseTwiceAndOperationsAfterClose) {
    EmulatedBoard board;
    int result = 1;
    OpenCapturingOutput(result);
    ASSERT_EQ(result, 0);
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
    EXPECT_EQ(Velorin_CloseUsbDevice(), 1);
    board.Emulator().ClearLog();
    uint8_t id = 0;
    EXPECT_EQ(Velorin_GetEvmId(&id), 1);
    EXPECT_EQ(Velorin_WriteToRam(0), 1);
    EXPECT_TRUE(board.Emulator().Log().empty());
}

TEST(BoardConnection, ReopenRestoresTheDeviceAddressButKeepsTheOption) {
    EmulatedBoard board;
    int result = 1;
    OpenCapturingOutput(result);
    ASSERT_EQ(result, 0);
    Velorin_SetI2CDeviceAddress(0x50, 0x07);
    Velorin_CloseUsbDevice();
    OpenCapturingOutput(result);
    ASSERT_EQ(result, 0);
    board.Emulator().ClearLog();
    uint8_t byte = 0;
    EXPECT_EQ(Velorin_ReadI2C(0, 1, &byte), 0);
    ASSERT_EQ(board.Emulator().Log().size(), 1u);
    EXPECT_EQ(board.Emulator().Log()[0].value, 0xA007);
    Velorin_CloseUsbDevice();
}

TEST(BoardConnection, OpenWhileOpenReplacesTheConnection) {
    EmulatedBoard board;
    int result = 1;
    OpenCapturingOutput(result);
    OpenCapturingOutput(result);
    ASSERT_EQ(result, 0);
    uint8_t id = 0;
    EXPECT_EQ(Velorin_GetEvmId(&id), 0);
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
    EXPECT_EQ(Velorin_CloseUsbDevice(), 1);
}

TEST(BoardConnection, AServerThatStoppedAcceptingFailsTheOpenInsteadOfHanging) {
    char pattern[] = "/tmp/velorin-hung-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    const std::string path = dir + "/board0";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(server, 0), 0);
    // One connection nobody accepts fills the backlog.
    int waiting = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(waiting, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);

    ::setenv("VELORIN_DEVICE_DIR", dir.c_str(), 1);
    ::setenv("VELORIN_REQUEST_TIMEOUT_MS", "100", 1);
    int result = 0;
    std::string output = OpenCapturingOutput(result);
    ::unsetenv("VELORIN_REQUEST_TIMEOUT_MS");
    EXPECT_EQ(result, 1);
    EXPECT_NE(output.find("FAILED to open " + path + "\n"), std::string::npos) << output;
    ::close(waiting);
    ::close(server);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velorin::testing
