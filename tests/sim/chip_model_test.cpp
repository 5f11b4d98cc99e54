// The chip model: programming, locking, unlocking and the read-back stream.
#include "sim/chip_model.h"

#include <gtest/gtest.h>

namespace velorin::sim {
namespace {

// Bit s of the stream as sent (bytes 0-7 are complemented on the wire).
bool StreamBit(const std::array<uint8_t, 32> &buffer, int s) {
    return ((~buffer[s / 8] >> (7 - s % 8)) & 1) != 0;
}

ImageBytes StreamImage(const std::array<uint8_t, 32> &buffer) {
    ImageBytes image{};
    int s = 11;
    for (int byte = 5; byte >= 0; --byte) {
        for (int bit = 7; bit >= 0; --bit) {
            if (StreamBit(buffer, s++)) image[byte] |= static_cast<uint8_t>(1 << bit);
        }
    }
    return image;
}

const ImageBytes kImage = {0xC0, 0x9E, 0x27, 0x02, 0x80, 0xA3};
const ImageBytes kOther = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};

TEST(ChipModel, ProgrammingCopiesRamToEepromAndShowsWritten) {
    ChipModel chip(0);
    auto blank = chip.ReadBackBuffer();
    EXPECT_FALSE(StreamBit(blank, 9));
    EXPECT_EQ(StreamImage(blank), ImageBytes{});

    chip.CommitToRam(kImage);
    chip.CommandWord(263, 15);
    chip.CommandWord(7, 0);
    auto buffer = chip.ReadBackBuffer();
    EXPECT_TRUE(StreamBit(buffer, 9));
    EXPECT_FALSE(StreamBit(buffer, 10));
    EXPECT_EQ(StreamImage(buffer), kImage);
    // Revision 2, least significant bit first: s0 = 0, s1 = 1, s2 = 0.
    EXPECT_FALSE(StreamBit(buffer, 0));
    EXPECT_TRUE(StreamBit(buffer, 1));
    EXPECT_FALSE(StreamBit(buffer, 2));
    for (int i = 8; i < 32; ++i) EXPECT_EQ(buffer[i], 0) << i;
}

TEST(ChipModel, ALockedEepromIgnoresProgrammingUntilUnlocked) {
    ChipModel chip(1);
    chip.CommitToRam(kImage);
    chip.CommandWord(263, 170);
    chip.CommandWord(7, 0);
    EXPECT_TRUE(chip.Locked());

    chip.CommitToRam(kOther);
    chip.CommandWord(263, 15);
    chip.CommandWord(263, 170);
    EXPECT_EQ(chip.Eeprom(), kImage);
    EXPECT_TRUE(StreamBit(chip.ReadBackBuffer(), 10));

    chip.UnlockCommand();  // without the first unlock step it does nothing
    EXPECT_TRUE(chip.Locked());
    chip.CommandWord(0, 0);
    chip.UnlockCommand();
    chip.CommandWord(7, 0);
    EXPECT_FALSE(chip.Locked());
    chip.CommandWord(263, 15);
    EXPECT_EQ(chip.Eeprom(), kOther);
}

TEST(ChipModel, RamCalibrationWordFollowsOverrideAndEnable) {
    ChipModel chip(2);
    EXPECT_EQ(chip.RamCalibrationWord(), 0);
    chip.CommitToRam({0, 0, 0, 0, 0x80, 0});
    EXPECT_EQ(chip.RamCalibrationWord(), 21 + 9 * 2);
    chip.CommitToRam({0, 0, 0, 0, 0x40 | 0x2A, 0});
    EXPECT_EQ(chip.RamCalibrationWord(), 0x2A);
    auto buffer = chip.ReadBackBuffer();
    int word = 0;
    for (int bit = 0; bit < 6; ++bit) word |= StreamBit(buffer, 3 + bit) << bit;
    EXPECT_EQ(word, 0x2A);
}

TEST(ChipModel, IdleCommandIsRecorded) {
    ChipModel chip(0);
    chip.CommandWord(7, 255);
    EXPECT_TRUE(chip.Idle());
    chip.CommandWord(7, 0);
    EXPECT_FALSE(chip.Idle());
}

}  // namespace
}  // namespace velorin::sim
