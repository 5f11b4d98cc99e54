// VELORIN_USB_PORT restricts discovery to the board on one USB port.
#include <stdlib.h>

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

}  // namespace
}  // namespace velorin::testing
