#include "core/device/register_image.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velorin::core {
namespace {

RegisterImage ImageOf(std::array<uint8_t, 6> bytes) {
    RegisterImage image;
    image.bytes = bytes;
    return image;
}

TEST(RegisterImageTest, ControlWordIsLittleEndianOverBytesOneToFour) {
    RegisterImage image = ImageOf({0x11, 0x9E, 0x27, 0x02, 0x80, 0x22});
    EXPECT_EQ(image.ControlWord(), 0x8002279Eu);
    image.SetControlWord(0x12345678);
    EXPECT_EQ(image.bytes, (std::array<uint8_t, 6>{0x11, 0x78, 0x56, 0x34, 0x12, 0x22}));
}

TEST(RegisterImageTest, ByteZeroFieldsDecode) {
    const RegisterImage image = ImageOf({0xC0, 0, 0, 0, 0, 0});
    EXPECT_EQ(VcoSelect(image), 0);
    EXPECT_EQ(PrescalerValue(PrescalerCode(image)), 5);
    EXPECT_EQ(OutputDividerValue(OutputDividerCode(image)), 1);
    EXPECT_EQ(OutputType(image), 1);
    EXPECT_EQ(CalDelayCount(image), 1);

    const RegisterImage other = ImageOf({0x3F, 0, 0, 0, 0, 0});
    EXPECT_EQ(VcoSelect(other), 1);
    EXPECT_EQ(PrescalerCode(other), 3);
    EXPECT_EQ(OutputDividerCode(other), 7);
    EXPECT_EQ(OutputDividerValue(7), 0);
    EXPECT_EQ(OutputType(other), 0);
}

TEST(RegisterImageTest, DefaultControlWordDecodes) {
    const RegisterImage image = ImageOf({0, 0x9E, 0x27, 0x02, 0x80, 0});
    EXPECT_EQ(C2Code(image), 30);
    EXPECT_EQ(R2Code(image), 28);
    EXPECT_EQ(C1Code(image), 9);
    EXPECT_EQ(C3Code(image), 4);
    EXPECT_EQ(ChargePumpCode(image), 0);
    EXPECT_EQ(CalDelayCount(image), 0);
    EXPECT_EQ(VcoCalWord(image), 0);
    EXPECT_EQ(VcoCalOverride(image), 0);
    EXPECT_EQ(VcoCalEnable(image), 1);
    EXPECT_EQ(LoopFilterWord(image), kDefaultLoopFilterWord);
    EXPECT_EQ(FormatLoopFilterWord(image.ControlWord()), "02279E");
}

TEST(RegisterImageTest, ChargePumpAndC3WritesTouchOnlyTheirBytes) {
    RegisterImage image = ImageOf({0x5A, 0x9E, 0x27, 0x02, 0x80, 0xA7});
    SetChargePumpCode(image, 15);
    EXPECT_EQ(image.bytes, (std::array<uint8_t, 6>{0x5A, 0x9E, 0x27, 0x7A, 0x80, 0xA7}));
    SetC3Code(image, 15);
    EXPECT_EQ(image.bytes, (std::array<uint8_t, 6>{0x5A, 0x9E, 0xA7, 0x7F, 0x80, 0xA7}));
    EXPECT_EQ(C2Code(image), 30);
    EXPECT_EQ(R2Code(image), 28);
    EXPECT_EQ(C1Code(image), 9);
    EXPECT_EQ(ChargePumpCode(image), 15);
}

TEST(RegisterImageTest, TestSelectKeepsTheUnusedNibble) {
    RegisterImage image = ImageOf({0, 0, 0, 0, 0, 0xA7});
    SetTestSelect(image, 3);
    EXPECT_EQ(image.bytes[5], 0xA3);
    EXPECT_EQ(TestSelect(image), 3);
    SetTestSelect(image, 0x1F);  // cut to four bits
    EXPECT_EQ(image.bytes[5], 0xAF);
}

TEST(RegisterImageTest, CalDelayCountSplitsOverByteZeroAndWordBit23) {
    RegisterImage image;
    SetCalDelayCount(image, 2);
    EXPECT_EQ(image.bytes[0], 0x00);
    EXPECT_EQ(image.ControlWord(), 1u << 23);
    SetCalDelayCount(image, 1);
    EXPECT_EQ(image.bytes[0], 0x80);
    EXPECT_EQ(image.ControlWord(), 0u);
    SetCalDelayCount(image, 3);
    EXPECT_EQ(CalDelayCount(image), 3);
}

// Every field, written with all ones and then zero over a background of ones and of zeros,
// must change exactly its own bits and read back what was written (cut to its width).
TEST(RegisterImageTest, NoFieldWriteTouchesANeighbour) {
    struct Case {
        const char *name;
        std::function<int(const RegisterImage &)> get;
        std::function<void(RegisterImage &, int)> set;
        std::array<uint8_t, 6> ownBits;
    };
    const std::vector<Case> cases = {
        {"vco", VcoSelect, SetVcoSelect, {0x01, 0, 0, 0, 0, 0}},
        {"prescaler", PrescalerCode, SetPrescalerCode, {0x06, 0, 0, 0, 0, 0}},
        {"divider", OutputDividerCode, SetOutputDividerCode, {0x38, 0, 0, 0, 0, 0}},
        {"type", OutputType, SetOutputType, {0x40, 0, 0, 0, 0, 0}},
        {"delay", CalDelayCount, SetCalDelayCount, {0x80, 0, 0, 0x80, 0, 0}},
        {"c2", C2Code, SetC2Code, {0, 0x1F, 0, 0, 0, 0}},
        {"r2", R2Code, SetR2Code, {0, 0xE0, 0x03, 0, 0, 0}},
        {"c1", C1Code, SetC1Code, {0, 0, 0x7C, 0, 0, 0}},
        {"c3", C3Code, SetC3Code, {0, 0, 0x80, 0x07, 0, 0}},
        {"cp", ChargePumpCode, SetChargePumpCode, {0, 0, 0, 0x78, 0, 0}},
        {"calword", VcoCalWord, SetVcoCalWord, {0, 0, 0, 0, 0x3F, 0}},
        {"override", VcoCalOverride, SetVcoCalOverride, {0, 0, 0, 0, 0x40, 0}},
        {"enable", VcoCalEnable, SetVcoCalEnable, {0, 0, 0, 0, 0x80, 0}},
        {"test", TestSelect, SetTestSelect, {0, 0, 0, 0, 0, 0x0F}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (uint8_t background : {uint8_t{0x00}, uint8_t{0xFF}}) {
            RegisterImage image;
            image.bytes.fill(background);
            c.set(image, -1);  // all ones after cutting to the field's width
            for (size_t i = 0; i < 6; ++i) {
                EXPECT_EQ(image.bytes[i], background | c.ownBits[i]) << "byte " << i;
            }
            const int allOnes = c.get(image);
            EXPECT_GT(allOnes, 0);
            c.set(image, 0);
            for (size_t i = 0; i < 6; ++i) {
                EXPECT_EQ(image.bytes[i], background & ~c.ownBits[i]) << "byte " << i;
            }
            EXPECT_EQ(c.get(image), 0);
            c.set(image, allOnes + 1);  // one past the width wraps to zero
            EXPECT_EQ(c.get(image), 0);
        }
    }
}

TEST(RegisterImageTest, LoopFilterWordCoversTheFourCodesOnly) {
    RegisterImage image;
    image.SetControlWord(0xFFFFFFFF);
    SetLoopFilterWord(image, 0x2279E);
    EXPECT_EQ(image.ControlWord(), 0xFFFA279Eu);
    EXPECT_EQ(FormatLoopFilterWord(0xFFFFFFFF), "07FFFF");
}

TEST(RegisterImageTest, CodeTables) {
    for (size_t position = 0; position < ChargePumpCodes.size(); ++position) {
        EXPECT_EQ(DecodeChargePumpCode(ChargePumpCodes[position]), static_cast<int>(position));
    }
    for (int code : {0, 2, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 16, -1}) {
        EXPECT_EQ(DecodeChargePumpCode(code), 0) << code;
    }
    for (size_t code = 0; code < 4; ++code) {
        const int product = PrescalerForCode[code] * FeedbackDividerForPrescaler[code];
        EXPECT_EQ(product, code < 2 ? 60 : 64);
    }
    for (size_t code = 0; code < TestSelectEntries.size(); ++code) {
        const std::string entry = TestSelectEntries[code];
        int fromDigits = 0;
        for (int i = 0; i < 4; ++i)
            fromDigits = fromDigits * 2 + (entry[static_cast<size_t>(i)] - '0');
        EXPECT_EQ(fromDigits, static_cast<int>(code)) << entry;
    }
    EXPECT_EQ(BlockName(0), "Block A");
    EXPECT_EQ(BlockName(3), "Block D");
    EXPECT_EQ(BlockName(4), "");
    EXPECT_EQ(BlockName(-1), "");
}

TEST(RegisterImageTest, ProgramImageStartsZeroAndIsShared) {
    EXPECT_EQ(ProgramRegisterImage(), RegisterImage{});
    SetVcoSelect(ProgramRegisterImage(), 1);
    EXPECT_EQ(ProgramRegisterImage().bytes[0], 0x01);
    ProgramRegisterImage() = RegisterImage{};
}

}  // namespace
}  // namespace velorin::core
