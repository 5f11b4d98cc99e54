// Discovery, open and close, unplug and replug, and an inaccessible board, over emulated USB.
#include <sys/fsuid.h>
#include <unistd.h>

#include "support/emulated_board.h"
#include "usb/usb_fixture.h"

namespace velorin::testing {
namespace {

TEST_F(UsbBoardTest, EndpointsComeFirstThenBoardIdsInBusAndPortOrder) {
    // Plugged in this order, on ports 5 and 2, with a device of another id on port 1.
    AddBoard(2, 5);
    AddBoard(3, 2);
    AddBoard(4, 1, kOtherProduct);
    EmulatedBoard endpoint;  // points the library's device directory at its endpoint
    ASSERT_TRUE(endpoint.Started());

    int result = 1;
    std::string lines = Open(result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(lines, "Attempting to open " + endpoint.Emulator().EndpointPath() +
                         "\nDeviceName = (" + endpoint.Emulator().EndpointPath() + ")\n");
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);

    endpoint.Emulator().Unplug();
    lines = Open(result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(lines,
              "Attempting to open /dev/bus/usb/001/003\nDeviceName = (/dev/bus/usb/001/003)\n");
    uint8_t id = 0;
    EXPECT_EQ(Velorin_GetEvmId(&id), 0);
    EXPECT_EQ(id, 0x04);
    EXPECT_EQ(boards_[1]->Log().size(), 1u);
    EXPECT_TRUE(boards_[0]->Log().empty());
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
    EXPECT_EQ(Velorin_CloseUsbDevice(), 1);
    EXPECT_EQ(Velorin_GetEvmId(&id), 1);
}

TEST_F(UsbBoardTest, WithoutConfiguredIdsNoUsbDeviceIsTried) {
    AddBoard(2, 1);
    ::setenv("VELORIN_USB_IDS", "", 1);
    int result = 0;
    const std::string lines = Open(result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lines.rfind("Failed to open (", 0), 0u) << lines;
}

TEST_F(UsbBoardTest, UnplugDuringTransferFailsAtOnceAndReplugReopens) {
    sim::UsbBoard &board = AddBoard(2, 1);
    board.WithBoard([](sim::BoardModel &model) {
        for (int i = 0; i < 8; ++i) model.Eeprom().Write(static_cast<uint16_t>(0x40 + i), 0x10 + i);
        return 0;
    });
    int result = 1;
    Open(result);
    ASSERT_EQ(result, 0);
    ASSERT_EQ(Velorin_SetI2CDeviceAddress(0xA0, 0x83), 0);
    board.ClearLog();
    board.UnplugAtTransfer(3);

    uint8_t buffer[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(Velorin_ReadI2C(0x40, 8, buffer), 1);
    const uint8_t expected[8] = {0x10, 0x11, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8),
              std::vector<uint8_t>(expected, expected + 8));
    uint8_t port = 0;
    EXPECT_EQ(Velorin_ReadPort(0, &port), 1);

    // The program's poll: close, then open until the board is back.
    board.Unplug();
    EXPECT_EQ(Velorin_CloseUsbDevice(), 0);
    std::string lines = Open(result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lines.rfind("Failed to open (", 0), 0u) << lines;

    board.ClearFaults();
    std::string error;
    ASSERT_TRUE(board.Plug(5, error)) << error;
    lines = Open(result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(lines,
              "Attempting to open /dev/bus/usb/001/005\nDeviceName = (/dev/bus/usb/001/005)\n");
    EXPECT_EQ(Velorin_ReadPort(0, &port), 0);
    EXPECT_EQ(port, 0x02);
}

TEST_F(UsbBoardTest, BoardWithoutAccessIsAFailedOpenWithEacces) {
    sim::UsbBoard &board = AddBoard(2, 1);
    ASSERT_TRUE(board.SetAccessible(false));
    // Root opens any node: this thread gives up that privilege for the file system while it
    // opens, and so must still reach the rest of the testbed (its event socket among it).
    namespace fs = std::filesystem;
    const auto node = fs::path(testbed_->RootDir() + board.NodePath());
    for (const auto &entry : fs::recursive_directory_iterator(testbed_->RootDir())) {
        if (entry.path() != node && !entry.is_symlink()) {
            fs::permissions(entry.path(),
                            fs::perms::others_read | fs::perms::others_write |
                                (entry.is_directory() ? fs::perms::others_exec : fs::perms::none),
                            fs::perm_options::add);
        }
    }
    fs::permissions(testbed_->RootDir(), fs::perms::others_all, fs::perm_options::add);
    const bool root = ::geteuid() == 0;
    if (root) {
        ::setfsgid(65534);
        ::setfsuid(65534);
    }
    int result = 0;
    const std::string lines = Open(result);
    if (root) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lines,
              "Attempting to open /dev/bus/usb/001/002\nFAILED to open /dev/bus/usb/001/002\n"
              "Failed to open (/dev/bus/usb/001/002) = 13");
    EXPECT_EQ(Velorin_CloseUsbDevice(), 1);
}

}  // namespace
}  // namespace velorin::testing
