// VELORIN_USB_PORT restricts discovery to the board on one USB port.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "support/emulated_board.h"
#include "usb/usb_fixture.h"

namespace velorin::testing {
namespace {

TEST_F(UsbBoardTest, UsbPortSelectsTheBoardOnThatPortOnly) {
    AddBoard(2, 5);
    AddBoard(3, 2);
    struct Case {
        const char *port;
        int result;
        const char *lines;
    };
    const Case cases[] = {
        {"1-5", 0,
         "Attempting to open /dev/bus/usb/001/002\nDeviceName = (/dev/bus/usb/001/002)\n"},
        {"", 0, "Attempting to open /dev/bus/usb/001/003\nDeviceName = (/dev/bus/usb/001/003)\n"},
        {"1-7", 1, "Failed to open ("},  // no board tried
    };
    for (const Case &c : cases) {
        ::setenv("VELORIN_USB_PORT", c.port, 1);
        int result = -1;
        const std::string lines = Open(result);
        EXPECT_EQ(lines.rfind(c.lines, 0), 0u) << c.port << ": " << lines;
        EXPECT_EQ(lines.find("Attempting") == std::string::npos, c.result == 1) << lines;
        EXPECT_EQ(result, c.result) << c.port;
        Velorin_CloseUsbDevice();
    }
    ::unsetenv("VELORIN_USB_PORT");
}

// A server asked for the board on one port serves that board, not an emulated one that happens
// to serve in the default device directory; a device directory named outright is still used.
TEST_F(UsbBoardTest, UsbPortPassesOverEndpointsUnlessTheirFolderIsNamed) {
    AddBoard(2, 5);
    EmulatedBoard endpoint;
    ASSERT_TRUE(endpoint.Started());
    const std::string &runtime = endpoint.Root();
    std::filesystem::create_directory_symlink(endpoint.DeviceDir(), runtime + "/velorin");
    const char *savedRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string oldRuntime = savedRuntime != nullptr ? savedRuntime : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("VELORIN_USB_PORT", "1-5", 1);
    struct Case {
        bool deviceDirNamed;
        std::string opened;
    };
    const Case cases[] = {{false, "/dev/bus/usb/001/002"},
                          {true, endpoint.DeviceDir() + "/board0"}};
    for (const Case &c : cases) {
        if (c.deviceDirNamed) {
            ::setenv("VELORIN_DEVICE_DIR", endpoint.DeviceDir().c_str(), 1);
        } else {
            ::unsetenv("VELORIN_DEVICE_DIR");
        }
        int result = -1;
        const std::string lines = Open(result);
        EXPECT_EQ(result, 0) << lines;
        EXPECT_NE(lines.find("DeviceName = (" + c.opened + ")"), std::string::npos) << lines;
        Velorin_CloseUsbDevice();
    }
    ::unsetenv("VELORIN_USB_PORT");
    if (savedRuntime != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

}  // namespace
}  // namespace velorin::testing
