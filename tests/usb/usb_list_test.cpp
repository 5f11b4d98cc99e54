// velorinctl usb: what it shows of the emulated bus, and the id match the udev rules use.
#include "cli/ctl_run.h"
#include "usb/usb_fixture.h"

namespace velorin::testing {
namespace {

TEST_F(UsbBoardTest, UsbListShowsDevicesTheirRoleAndAccessWithoutRequests) {
    ::setenv("VELORIN_USB_IDS", "feed:0817, nonsense", 1);
    sim::UsbBoard &board = AddBoard(2, 3);
    AddBoard(3, 1, kOtherProduct);

    CtlResult run = RunCtl({"usb", "list"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "velorinctl: ignoring \"nonsense\": not a vvvv:pppp id\n");
    EXPECT_NE(run.out.find("Board ids (VELORIN_USB_IDS): feed:0817\n"), std::string::npos);
    const auto other = run.out.find(
        "1-1        /dev/bus/usb/001/003   feed:0001  -            "
        "can be opened\n");
    const auto found = run.out.find(
        "1-3        /dev/bus/usb/001/002   feed:0817  board        "
        "can be opened\n");
    ASSERT_NE(other, std::string::npos) << run.out;
    ASSERT_NE(found, std::string::npos) << run.out;
    EXPECT_LT(other, found);  // port order
    EXPECT_TRUE(board.Log().empty());

    run = RunCtl({"usb", "list", "--json"});
    EXPECT_NE(run.out.find("\"role\": \"board\""), std::string::npos) << run.out;

    EXPECT_EQ(RunCtl({"usb", "match", "board", "FEED:817"}).code, 0);
    EXPECT_EQ(RunCtl({"usb", "match", "board", "feed:0001"}).code, 1);
    EXPECT_EQ(RunCtl({"usb", "match", "bootloader", "feed:0817"}).code, 1);
    EXPECT_EQ(RunCtl({"usb", "match", "board", "feed"}).code, 2);
}

}  // namespace
}  // namespace velorin::testing
