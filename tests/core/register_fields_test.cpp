// The register-field table against the chip's layout: every field's place, no two fields on one
// bit, all 48 bits accounted for, and writes that keep their neighbours.
#include "core/device/register_fields.h"

#include <gtest/gtest.h>

#include <bitset>

#include "core/device/register_image.h"

namespace velorin::core {
namespace {

TEST(RegisterFieldsTest, TableMatchesTheLayoutAndCoversEveryBitOnce) {
    struct Expected {
        Field field;
        int firstImageBit;  // Byte0 bit 0 = 0, word bit 0 = 8, Byte5 bit 0 = 40
        int width;
        const char *bits;
    };
    const Expected layout[] = {
        {Field::VcoSelect, 0, 1, "Byte0 bit 0"},
        {Field::Prescaler, 1, 2, "Byte0 bits 1\u20132"},
        {Field::OutputDivider, 3, 3, "Byte0 bits 3\u20135"},
        {Field::OutputType, 6, 1, "Byte0 bit 6"},
        {Field::CalDelayLow, 7, 1, "Byte0 bit 7"},
        {Field::C2, 8, 5, "word bits 0\u20134 (Byte1 bits 0\u20134)"},
        {Field::R2, 13, 5, "word bits 5\u20139"},
        {Field::C1, 18, 5, "word bits 10\u201314 (Byte2 bits 2\u20136)"},
        {Field::C3, 23, 4, "word bits 15\u201318"},
        {Field::ChargePump, 27, 4, "word bits 19\u201322 (Byte3 bits 3\u20136)"},
        {Field::CalDelayHigh, 31, 1, "word bit 23 (Byte3 bit 7)"},
        {Field::VcoCalWord, 32, 6, "word bits 24\u201329 (Byte4 bits 0\u20135)"},
        {Field::VcoCalOverride, 38, 1, "word bit 30 (Byte4 bit 6)"},
        {Field::VcoCalEnable, 39, 1, "word bit 31 (Byte4 bit 7)"},
        {Field::TestSelect, 40, 4, "Byte5 bits 0\u20133"},
        {Field::Byte5Spare, 44, 4, "Byte5 bits 4\u20137"},
    };
    ASSERT_EQ(std::size(layout), kRegisterFields.size());
    std::bitset<48> covered;
    for (const Expected &e : layout) {
        const RegisterField &f = FieldOf(e.field);
        SCOPED_TRACE(f.label);
        EXPECT_EQ(f.field, e.field);
        EXPECT_EQ(f.FirstImageBit(), e.firstImageBit);
        EXPECT_EQ(f.width, e.width);
        EXPECT_EQ(FieldBitsText(e.field), e.bits);
        for (int bit = f.FirstImageBit(); bit < f.FirstImageBit() + f.width; ++bit) {
            EXPECT_FALSE(covered.test(static_cast<size_t>(bit))) << "bit " << bit;
            covered.set(static_cast<size_t>(bit));
        }
    }
    EXPECT_TRUE(covered.all());
    EXPECT_EQ(kLoopFilterWordMask, 0x7FFFFu);
}

TEST(RegisterFieldsTest, EveryFieldWriteSetsOnlyItsOwnBits) {
    for (const RegisterField &f : kRegisterFields) {
        SCOPED_TRACE(f.label);
        for (uint8_t background : {uint8_t{0x00}, uint8_t{0xFF}}) {
            RegisterImage image;
            image.bytes.fill(background);
            const RegisterImage before = image;
            const int all = (1 << f.width) - 1;
            WriteField(image, f.field, background ? 0 : all);
            EXPECT_EQ(ReadField(image, f.field), background ? 0 : all);
            // Exactly the field's bits changed.
            int changed = 0;
            for (int bit = 0; bit < 48; ++bit) {
                const auto byteOf = [bit](const RegisterImage &i) {
                    return (i.bytes[static_cast<size_t>(bit / 8)] >> (bit % 8)) & 1;
                };
                if (byteOf(image) != byteOf(before)) {
                    ++changed;
                    EXPECT_GE(bit, f.FirstImageBit());
                    EXPECT_LT(bit, f.FirstImageBit() + f.width);
                }
            }
            EXPECT_EQ(changed, f.width);
        }
    }
}

TEST(RegisterFieldsTest, ValueTextsAndLists) {
    EXPECT_EQ(FieldValueText(Field::Prescaler, 3), "/ 2");
    EXPECT_EQ(FieldValueText(Field::OutputDivider, 6), "");
    EXPECT_EQ(FieldValueText(Field::OutputType, 1), "LVPECL");
    EXPECT_EQ(FieldValueText(Field::C3, 4), "19.5 pF");
    EXPECT_EQ(FieldValueText(Field::R2, 28), "13.0 kOhm");
    EXPECT_EQ(FieldValueText(Field::ChargePump, 15), "224 \u00B5A");
    EXPECT_EQ(FieldValueText(Field::TestSelect, 3), "0011 vb");
    EXPECT_EQ(FieldListEntries(Field::Prescaler), (std::vector<std::string>{"5", "3", "4", "2"}));
    EXPECT_EQ(FieldListEntries(Field::VcoCalWord).size(), 64u);
    EXPECT_EQ(FieldListEntries(Field::ChargePump).front(), "000 \u00B5A");
}

TEST(RegisterFields, ByteContentsNameEveryFieldPartInBitOrder) {
    EXPECT_EQ(ByteContentsText(0),
              "Byte0: VCO select (bit 0), prescaler code (bits 1\u20132), output divider code "
              "(bits 3\u20135), output type (bit 6), calibration delay count bit 0 (bit 7)");
    EXPECT_EQ(ByteContentsText(2),
              "Byte2 = word bits 8\u201315: R2 code bits 3\u20134 (bits 0\u20131), C1 code "
              "(bits 2\u20136), C3 code bit 0 (bit 7)");
    EXPECT_EQ(ByteContentsText(5),
              "Byte5: test select (bits 0\u20133), unused bits (bits 4\u20137)");
}

}  // namespace
}  // namespace velorin::core
