// What each export sends, byte for byte, and what it hands back.
#include <array>

#include "board_fixture.h"

namespace velorin::testing {
namespace {

using BoardCommands = OpenBoardTest;

TEST_F(BoardCommands, SingleRequestOperationsSendTheirRecords) {
    uint8_t byte = 0;
    EXPECT_EQ(Velorin_WritePort(1, 0x2A), 0);
    EXPECT_EQ(Velorin_ReadPort(1, &byte), 0);
    EXPECT_EQ(byte, 0x2A);
    EXPECT_EQ(Velorin_GetEvmId(&byte), 0);
    EXPECT_EQ(byte, 0x04);
    EXPECT_EQ(Velorin_WriteOneWire(5, 0x9E), 0);
    EXPECT_EQ(Velorin_WriteToRam(2), 0);
    EXPECT_EQ(Velorin_WriteOneWord(1, 263, 170), 0);
    EXPECT_EQ(Velorin_ReadBack(3), 0);
    EXPECT_EQ(Velorin_UnlockEeprom(2), 0);
    EXPECT_EQ(Velorin_WriteSdataBits(0x1234), 0);
    EXPECT_EQ(Velorin_WriteScanout(0xBEEF), 0);
    EXPECT_EQ(Velorin_SetI2CDeviceAddress(0x1A2, 0x83), 0);
    EXPECT_EQ(Velorin_SetI2CHWAddress(), 0);

    auto log = Log();
    ASSERT_EQ(log.size(), 11u);  // setting the I2C address sends nothing
    ExpectRequest(log[0], 0x97, 0x2A, 1, 1);
    ExpectRequest(log[1], 0x96, 0, 1, 1);
    ExpectRequest(log[2], 0xBF, 0, 0, 1);
    ExpectRequest(log[3], 0xA0, 0x9E, 5, 1);
    ExpectRequest(log[4], 0xC2, 0, 0, 1);
    ExpectRequest(log[5], 0xB3, 0xAA, 0x107, 1);
    ExpectRequest(log[6], 0xA1, 0, 3, 1);
    ExpectRequest(log[7], 0xB5, 0, 2, 1);
    ExpectRequest(log[8], 0xB0, 0x1234, 0, 1);
    ExpectRequest(log[9], 0xB1, 0xBEEF, 0, 1);
    ExpectRequest(log[10], 0x95, 0x01A2, 0, 1);  // the hardware address keeps 16 bits
}

TEST_F(BoardCommands, BlockTablesPickTheCommandAndRefuseOtherBlocks) {
    for (int block = 0; block < 4; ++block) {
        EXPECT_EQ(Velorin_WriteToRam(block), 0);
        EXPECT_EQ(Velorin_WriteOneWord(block, 7, 255), 0);
    }
    EXPECT_EQ(Velorin_WriteToRam(4), 1);
    EXPECT_EQ(Velorin_WriteToRam(-1), 1);
    EXPECT_EQ(Velorin_WriteOneWord(4, 7, 0), 1);
    EXPECT_EQ(Velorin_WriteOneWord(-7, 7, 0), 1);

    auto log = Log();
    ASSERT_EQ(log.size(), 8u);  // nothing was sent for the bad blocks
    const uint8_t ram[] = {0xA2, 0xB2, 0xC2, 0xD2};
    const uint8_t word[] = {0xA3, 0xB3, 0xC3, 0xD3};
    for (size_t block = 0; block < 4; ++block) {
        ExpectRequest(log[2 * block], ram[block], 0, 0, 1);
        ExpectRequest(log[2 * block + 1], word[block], 0xFF, 7, 1);
    }
}

TEST_F(BoardCommands, I2CByteTransfersCarryAddressDataAndOption) {
    const uint8_t data[] = {0x5A};
    EXPECT_EQ(Velorin_WriteI2C(0x0010, 1, data), 0);
    Velorin_SetI2CDeviceAddress(0xA0, 3);
    uint8_t read = 0;
    EXPECT_EQ(Velorin_ReadI2C(0x0010, 1, &read), 0);
    EXPECT_EQ(read, 0x5A);

    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    // 93 xx 5A A0 10 00 and 92 xx 03 A0 10 00 on the wire.
    ExpectRequest(log[0], 0x93, 0xA05A, 0x0010, 1);
    ExpectRequest(log[1], 0x92, 0xA003, 0x0010, 1);
}

TEST_F(BoardCommands, ByteTransfersWrapAtTheTopOfTheAddressSpace) {
    const uint8_t data[] = {1, 2};
    EXPECT_EQ(Velorin_WriteI2C(0xFFFF, 2, data), 0);
    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].index, 0xFFFF);
    EXPECT_EQ(log[1].index, 0x0000);
    uint8_t back[2] = {};
    EXPECT_EQ(Velorin_ReadI2C(0xFFFF, 2, back), 0);
    EXPECT_EQ(back[0], 1);
    EXPECT_EQ(back[1], 2);
}

TEST_F(BoardCommands, EmptyAndNegativeCountsSendNothing) {
    uint8_t buffer[4] = {7, 7, 7, 7};
    EXPECT_EQ(Velorin_WriteI2C(0, 0, buffer), 0);
    EXPECT_EQ(Velorin_WriteI2C(0, -5, buffer), 0);
    EXPECT_EQ(Velorin_ReadI2C(0, 0, buffer), 0);
    EXPECT_EQ(Velorin_ReadI2C(0, -1, buffer), 0);
    EXPECT_EQ(Velorin_ReadDataBack(0, 0, buffer), 0);
    EXPECT_EQ(Velorin_ReadDataBack(0, -32, buffer), 0);
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(buffer[0], 7);
}

TEST_F(BoardCommands, WordTransfersSendTheirSetUpEvenForNoWords) {
    Velorin_SetI2CDeviceAddress(0xA0, 0x83);
    EXPECT_EQ(Velorin_WriteI2CWord(0x20, 0, nullptr), 0);
    EXPECT_EQ(Velorin_ReadI2CWord(0x20, 0, nullptr), 0);
    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    ExpectRequest(log[0], 0x9A, 0xA083, 0, 0);
    ExpectRequest(log[1], 0x9A, 0xA083, 0, 1);

    board_.Emulator().ClearLog();
    SetFaults(sim::Faults::FailRequest(1));
    EXPECT_EQ(Velorin_WriteI2CWord(0x20, 0, nullptr), 1);  // the set-up's own outcome
}

TEST_F(BoardCommands, WordsTravelLittleEndian) {
    Velorin_SetI2CDeviceAddress(0xA0, 0x83);
    const uint16_t words[] = {0xBEEF, 0x1234};
    EXPECT_EQ(Velorin_WriteI2CWord(0x40, 2, words), 0);
    uint16_t back[2] = {};
    EXPECT_EQ(Velorin_ReadI2CWord(0x40, 1, back), 0);
    EXPECT_EQ(back[0], 0xBEEF);
    auto log = Log();
    ASSERT_EQ(log.size(), 5u);
    ExpectRequest(log[1], 0x99, 0xBEEF, 0x40, 0);
    ExpectRequest(log[2], 0x99, 0x1234, 0x41, 0);
    ExpectRequest(log[4], 0x98, 0xA083, 0x40, 2);
}

TEST_F(BoardCommands, AFailedReadStoresNothingFromTheFailedElementOn) {
    Velorin_SetI2CDeviceAddress(0xA0, 0x83);
    const uint8_t data[] = {0x11, 0x22, 0x33, 0x44};
    ASSERT_EQ(Velorin_WriteI2C(0x100, 4, data), 0);
    board_.Emulator().ClearLog();
    SetFaults(sim::Faults::FailRequest(3));

    uint8_t buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(Velorin_ReadI2C(0x100, 4, buffer), 1);
    EXPECT_EQ(buffer[0], 0x11);
    EXPECT_EQ(buffer[1], 0x22);
    EXPECT_EQ(buffer[2], 0xEE);
    EXPECT_EQ(buffer[3], 0xEE);
    EXPECT_EQ(Log().size(), 3u);  // the transfer stopped at the failure

    uint8_t port = 0x5C;
    SetFaults(sim::Faults::FailFrom(1));
    EXPECT_EQ(Velorin_ReadPort(0, &port), 1);
    EXPECT_EQ(port, 0x5C);
    uint8_t id = 0x77;
    EXPECT_EQ(Velorin_GetEvmId(&id), 1);
    EXPECT_EQ(id, 0x77);
}

TEST_F(BoardCommands, AFailedWriteStopsTheTransfer) {
    SetFaults(sim::Faults::FailRequest(2));
    const uint8_t data[] = {1, 2, 3};
    EXPECT_EQ(Velorin_WriteI2C(0x200, 3, data), 1);
    EXPECT_EQ(Log().size(), 2u);
    uint8_t stored = board_.Emulator().WithBoard([](auto &b) { return b.Eeprom().Read(0x201); });
    EXPECT_EQ(stored, 0xFF);  // never reached the board
}

TEST_F(BoardCommands, ReadBackDeliversTheChipStream) {
    // Stage an image, commit it, program the EEPROM and fetch the stream.
    const uint8_t image[] = {0xC0, 0x9E, 0x27, 0x02, 0x80, 0x00};
    for (uint16_t i = 0; i < 6; ++i) ASSERT_EQ(Velorin_WriteOneWire(i, image[i]), 0);
    ASSERT_EQ(Velorin_WriteToRam(1), 0);
    ASSERT_EQ(Velorin_WriteOneWord(1, 263, 15), 0);
    ASSERT_EQ(Velorin_WriteOneWord(1, 7, 0), 0);
    ASSERT_EQ(Velorin_ReadBack(1), 0);
    std::array<uint8_t, 32> buffer{};
    ASSERT_EQ(Velorin_ReadDataBack(0, 32, buffer.data()), 0);
    auto expected = board_.Emulator().WithBoard([](auto &b) { return b.Chip(1).ReadBackBuffer(); });
    EXPECT_EQ(buffer, expected);
    // Complemented on the wire: revision 2 (s0-s2 = 010) and the written flag show through.
    EXPECT_EQ(buffer[0] & 0xE0, static_cast<uint8_t>(~0x40) & 0xE0);
    EXPECT_EQ(buffer[1] & 0x40, 0);  // s9 "EE written" = 1, sent as 0
}

}  // namespace
}  // namespace velorin::testing
