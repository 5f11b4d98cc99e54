// The USB listing exports: what they hand back when the caller's buffers are too small.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "velorin.h"

namespace {

TEST(UsbListing, CountsBeyondCapacityAndNeverCutsATextShort) {
    ::setenv("VELORIN_USB_IDS", "abcd:0001, nonsense, abcd:2", 1);
    VelorinUsbId ids[1] = {};
    int32_t count = 0;
    ASSERT_EQ(Velorin_GetUsbIds(VELORIN_USB_ROLE_BOARD, ids, 1, &count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ids[0].vendor, 0xabcd);
    EXPECT_EQ(ids[0].product, 1);
    EXPECT_EQ(Velorin_GetUsbIds(7, ids, 1, &count), 1);

    char text[64];
    EXPECT_EQ(Velorin_GetUsbIdSource(VELORIN_USB_ROLE_BOARD, text, 15), 1);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(Velorin_GetUsbIdSource(VELORIN_USB_ROLE_BOARD, text, 16), 0);
    EXPECT_STREQ(text, "VELORIN_USB_IDS");
    EXPECT_EQ(Velorin_GetInvalidUsbIds(text, sizeof(text)), 0);
    EXPECT_STREQ(text, "nonsense\n");

    VelorinUsbId id{};
    EXPECT_EQ(Velorin_ParseUsbId(" ABCD:2 ", &id), 0);
    EXPECT_EQ(Velorin_IsUsbIdConfigured(VELORIN_USB_ROLE_BOARD, id), 0);
    EXPECT_EQ(Velorin_IsUsbIdConfigured(VELORIN_USB_ROLE_BOOT_LOADER, id), 1);
    EXPECT_EQ(Velorin_ParseUsbId("abcd", &id), 1);
    ::unsetenv("VELORIN_USB_IDS");
}

}  // namespace
