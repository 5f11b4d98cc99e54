// The board model: ports, blocks by board kind, I2C addressing and the EEPROM file.
#include "sim/board_model.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace velorin::sim {
namespace {

BoardAnswer Send(BoardModel &board, uint8_t command, uint16_t value, uint16_t index) {
    WireRequest request;
    request.command = command;
    request.value = value;
    request.index = index;
    request.answerLength = 1;
    return board.Handle(request);
}

TEST(BoardModel, SupplyStatusFollowsPowerAndInjectedFaults) {
    BoardModel board(BoardKind::FourBlock);
    EXPECT_EQ(Send(board, 0x96, 0, 3).bytes[0], 0x0F);  // power is off at start
    ASSERT_TRUE(Send(board, 0x97, 0x00, 0).completed);  // power on (active low)
    EXPECT_EQ(Send(board, 0x96, 0, 3).bytes[0], 0x00);
    board.SetSupplyFault(2, true);
    EXPECT_EQ(Send(board, 0x96, 0, 3).bytes[0], 0x04);
    EXPECT_FALSE(Send(board, 0x97, 0xFF, 3).completed);  // status port is read-only
    EXPECT_FALSE(Send(board, 0x96, 0, 8).completed);
}

TEST(BoardModel, ThreeBlockBoardHasNoBlockD) {
    BoardModel board(BoardKind::ThreeBlock);
    EXPECT_EQ(Send(board, 0xBF, 0, 0).bytes[0] & 0x0C, 0);
    EXPECT_TRUE(Send(board, 0xC2, 0, 0).completed);
    EXPECT_FALSE(Send(board, 0xD2, 0, 0).completed);
    EXPECT_FALSE(Send(board, 0xD3, 255, 7).completed);
    EXPECT_FALSE(Send(board, 0xA1, 0, 3).completed);

    BoardModel four(BoardKind::FourBlock);
    EXPECT_NE(Send(four, 0xBF, 0, 0).bytes[0] & 0x0C, 0);
    EXPECT_TRUE(Send(four, 0xD2, 0, 0).completed);
}

TEST(BoardModel, StagedBytesReachOnlyTheCommittedBlock) {
    BoardModel board(BoardKind::FourBlock);
    for (uint16_t i = 0; i < 6; ++i) ASSERT_TRUE(Send(board, 0xA0, 0x10 + i, i).completed);
    EXPECT_FALSE(Send(board, 0xA0, 0, 6).completed);
    ASSERT_TRUE(Send(board, 0xB2, 0, 0).completed);
    EXPECT_EQ(board.Chip(1).Ram(), (ImageBytes{0x10, 0x11, 0x12, 0x13, 0x14, 0x15}));
    EXPECT_EQ(board.Chip(0).Ram(), ImageBytes{});
}

TEST(BoardModel, I2CAnswersOnlyItsDeviceAddress) {
    BoardModel board(BoardKind::FourBlock);
    EXPECT_EQ(Send(board, 0x92, 0xA083, 0x1234).bytes[0], 0xFF);  // blank when new
    EXPECT_TRUE(Send(board, 0x93, 0xA05A, 0x1234).completed);
    EXPECT_EQ(Send(board, 0x92, 0xA003, 0x1234).bytes[0], 0x5A);
    EXPECT_FALSE(Send(board, 0x93, 0x505A, 0x1234).completed);
    EXPECT_FALSE(Send(board, 0x92, 0x5003, 0x1234).completed);
}

TEST(BoardModel, UnknownCommandsAreRejected) {
    BoardModel board(BoardKind::FourBlock);
    EXPECT_FALSE(Send(board, 0x00, 0, 0).completed);
    EXPECT_FALSE(Send(board, 0xE2, 0, 0).completed);
    EXPECT_FALSE(Send(board, 0xA7, 0, 32).completed);
}

TEST(BoardEeprom, AFileKeepsEveryWriteAndPadsShortFiles) {
    char pattern[] = "/tmp/velorin-eeprom-XXXXXX";
    std::string dir = ::mkdtemp(pattern);
    std::string path = dir + "/eeprom.bin";
    std::ofstream(path, std::ios::binary) << std::string("\x01\x02", 2);
    std::string error;
    {
        BoardEeprom eeprom;
        ASSERT_TRUE(eeprom.AttachFile(path, error)) << error;
        EXPECT_EQ(eeprom.Read(0), 0x01);
        EXPECT_EQ(eeprom.Read(2), 0xFF);
        eeprom.Write(0xB000, 0x31);
    }
    EXPECT_EQ(std::filesystem::file_size(path), BoardEeprom::kSize);
    BoardEeprom reloaded;
    ASSERT_TRUE(reloaded.AttachFile(path, error));
    EXPECT_EQ(reloaded.Read(0xB000), 0x31);
    EXPECT_EQ(reloaded.Read(1), 0x02);

    BoardEeprom bad;
    EXPECT_FALSE(bad.AttachFile(dir + "/no/such/dir/eeprom.bin", error));
    EXPECT_FALSE(error.empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velorin::sim
