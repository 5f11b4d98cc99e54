// The board-id configuration: the file's format and the environment's override.
#include "usb_ids.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace velorin::board {
namespace {

TEST(UsbIds, FileListsBoardAndBootLoaderIdsAndReportsWhatDoesNotParse) {
    const UsbIdConfig config = ParseUsbIdFile(
        "# ids of the board\n"
        "board = feed:0817, FEED:0817 ,1:2\n"
        "  bootloader=feed:0818   # while it waits for firmware\n"
        "board = 12345:1, feed:\n"
        "borad = 1:1\n"
        "\n");
    EXPECT_EQ(config.board, (std::vector<UsbId>{{0xfeed, 0x0817}, {0x0001, 0x0002}}));
    EXPECT_EQ(config.bootLoader, (std::vector<UsbId>{{0xfeed, 0x0818}}));
    EXPECT_EQ(config.invalid, (std::vector<std::string>{"12345:1", "feed:", "borad = 1:1"}));
    EXPECT_EQ(FormatUsbId({0xfeed, 0x17}), "feed:0017");
}

TEST(UsbIds, EnvironmentReplacesTheBoardIdsEvenWhenEmpty) {
    ::setenv("VELORIN_USB_IDS", "abcd:0001,,abcd:0002", 1);
    UsbIdConfig config = LoadUsbIds();
    EXPECT_EQ(config.board, (std::vector<UsbId>{{0xabcd, 1}, {0xabcd, 2}}));
    EXPECT_EQ(config.boardSource, "VELORIN_USB_IDS");
    ::setenv("VELORIN_USB_IDS", "", 1);
    EXPECT_TRUE(LoadUsbIds().board.empty());
    ::unsetenv("VELORIN_USB_IDS");
}

}  // namespace
}  // namespace velorin::board
