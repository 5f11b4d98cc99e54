// The request record and the pure rules behind it.
#include "board_request.h"

#include <gtest/gtest.h>

namespace velorin::board {
namespace {

TEST(BoardRequestEncoding, FieldsAreLittleEndianAfterCommandAndReserved) {
    BoardRequest request;
    request.command = 0xB3;
    request.value = 0x00AA;
    request.index = 0x0107;
    auto bytes = EncodeRequest(request);
    EXPECT_EQ(bytes, (std::array<uint8_t, 6>{0xB3, 0x00, 0xAA, 0x00, 0x07, 0x01}));
}

TEST(BoardRequestEncoding, I2CValuePutsTheDeviceAddressLowByteHigh) {
    EXPECT_EQ(I2CValue(0xA0, 0x5A), 0xA05A);
    EXPECT_EQ(I2CValue(0x1A0, 0x03), 0xA003);  // only the low byte of the address travels
    EXPECT_EQ(I2CValue(-1, 0x00), 0xFF00);
}

TEST(BoardRequestEncoding, BlockTablesHaveExactlyFourEntries) {
    EXPECT_EQ(WriteToRamCommand(0), 0xA2);
    EXPECT_EQ(WriteToRamCommand(3), 0xD2);
    EXPECT_EQ(WriteOneWordCommand(1), 0xB3);
    EXPECT_EQ(WriteOneWordCommand(2), 0xC3);
    EXPECT_FALSE(WriteToRamCommand(4).has_value());
    EXPECT_FALSE(WriteToRamCommand(-1).has_value());
    EXPECT_FALSE(WriteOneWordCommand(0x100).has_value());
}

}  // namespace
}  // namespace velorin::board
