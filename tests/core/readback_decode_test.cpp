#include "core/device/readback_decode.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace velorin::core {
namespace {

constexpr const char *kMicroAmps224 =
    "224 \xC2\xB5"
    "A";

// Builds fetched bytes (as decoded with the invert box set) from stream bits s0..s63.
ReadBackBytes FromStream(const std::vector<int> &bits) {
    ReadBackBytes bytes{};
    for (size_t n = 0; n < bits.size(); ++n) {
        if (bits[n]) bytes[n / 8] |= static_cast<uint8_t>(0x80 >> (n % 8));
    }
    return bytes;
}

TEST(ReadBackDecodeTest, ZeroBufferWithBoxClearReadsAllOnes) {
    const ReadBackTexts t = DecodeReadBack(ReadBackBytes{}, false);
    EXPECT_EQ(t.deviceRevision, "7");
    EXPECT_EQ(t.ramVcoCalWord, "63");
    EXPECT_EQ(t.eeVcoCalWord, "63");
    EXPECT_EQ(t.eepromStatusText, "EE written");
    EXPECT_EQ(t.eepromLockText, "locked");
    EXPECT_EQ(t.vcoCalEnableText, "enabled");
    EXPECT_EQ(t.chargePump, "15");
    EXPECT_EQ(t.chargePumpText, kMicroAmps224);
    EXPECT_EQ(t.calDelayCount, "3");
    EXPECT_EQ(t.calDelayText, "32Meg");
    EXPECT_EQ(t.driverSelectText, "LVPECL");
    EXPECT_EQ(t.vcoSelectText, "VCO 2");
    EXPECT_EQ(t.prescaler, "3");
    EXPECT_EQ(t.prescalerText, "/ 2");
    EXPECT_EQ(t.outputDivider, "7");
    EXPECT_EQ(t.outputDividerText, "");
    EXPECT_EQ(t.c1Text, "77.0 pF");
    EXPECT_EQ(t.c2Text, "473.5 pF");
    EXPECT_EQ(t.c3Text, "89.0 pF");
    EXPECT_EQ(t.r2Text, "0.0 kOhm");
    EXPECT_EQ(t.raw, "111 111111 1 1 11111111 11111111 11111111 11111111 11111111 11111111");
}

TEST(ReadBackDecodeTest, RevisionIsLsbFirstAndTheRestDecodesAsZero) {
    const ReadBackTexts t = DecodeReadBack({0x80, 0, 0, 0, 0, 0, 0, 0}, true);
    EXPECT_EQ(t.deviceRevision, "1");
    EXPECT_EQ(t.ramVcoCalWord, "0");
    EXPECT_EQ(t.eepromStatusText, "EE unwritten");
    EXPECT_EQ(t.eepromLockText, "unlocked");
    EXPECT_EQ(t.vcoCalEnableText, "disabled");
    EXPECT_EQ(t.chargePumpText, "0");
    EXPECT_EQ(t.calDelayText, "8,192");
    EXPECT_EQ(t.outputDividerText, "/ 1");
    EXPECT_EQ(t.prescalerText, "/ 5");
    EXPECT_EQ(t.r2Text, "127.6 kOhm");
    EXPECT_EQ(t.c1Text, "0.0 pF");
    EXPECT_EQ(t.driverSelectText, "LVDS");
    EXPECT_EQ(t.vcoSelectText, "VCO 1");
    EXPECT_EQ(t.raw, "100 000000 0 0 00000000 00000000 00000000 00000000 00000000 00000000");
    // The same bytes with the box clear are complemented first.
    EXPECT_EQ(DecodeReadBack({0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false).raw, t.raw);
}

TEST(ReadBackDecodeTest, CalDelayBitsAndUnusedTail) {
    EXPECT_EQ(DecodeReadBack({0, 0, 0, 0, 0, 0, 0x10, 0}, true).calDelayCount, "1");
    EXPECT_EQ(DecodeReadBack({0, 0, 0, 0, 0, 0, 0x10, 0}, true).calDelayText, "16,384");
    EXPECT_EQ(DecodeReadBack({0, 0, 0, 0x10, 0, 0, 0, 0}, true).calDelayCount, "2");
    EXPECT_EQ(DecodeReadBack({0, 0, 0, 0x10, 0, 0, 0, 0}, true).calDelayText, "32,768");

    const ReadBackTexts base =
        DecodeReadBack({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xE0}, true);
    const ReadBackTexts tail =
        DecodeReadBack({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xFF}, true);
    for (const ReadBackTextField &field : ReadBackTextFields) {
        EXPECT_EQ(base.*field.text, tail.*field.text) << field.key;
    }
}

TEST(ReadBackDecodeTest, ChargePumpTextCountsSetBits) {
    std::vector<int> bits(64, 0);
    bits[28] = 1;  // code 1010, MSB first
    bits[30] = 1;
    const ReadBackTexts t = DecodeReadBack(FromStream(bits), true);
    EXPECT_EQ(t.chargePump, "10");
    EXPECT_EQ(t.chargePumpText,
              "112 \xC2\xB5"
              "A");
    for (int code : {1, 2, 4, 8})
        EXPECT_EQ(FieldValueText(Field::ChargePump, code),
                  "56 \xC2\xB5"
                  "A");
    EXPECT_EQ(FieldValueText(Field::ChargePump, 7),
              "168 \xC2\xB5"
              "A");
}

// Fields placed by the layout table must come back out of the decoder, field by field.
TEST(ReadBackDecodeTest, StreamLayoutMatchesTheRegisterImage) {
    std::mt19937 random(817);
    for (int round = 0; round < 200; ++round) {
        std::vector<int> bits(64);
        for (int &bit : bits) bit = static_cast<int>(random() & 1);
        auto msbFirst = [&](int first, int count) {
            int v = 0;
            for (int i = 0; i < count; ++i) v = v * 2 + bits[static_cast<size_t>(first) + i];
            return v;
        };
        const ReadBackFields f = DecodeReadBackFields(FromStream(bits), true);
        EXPECT_EQ(f.deviceRevision, bits[0] + 2 * bits[1] + 4 * bits[2]);
        int ram = 0;
        for (size_t i = 0; i < 6; ++i) ram |= bits[3 + i] << i;
        EXPECT_EQ(f.ramVcoCalWord, ram);
        EXPECT_EQ(f.eepromStatus, bits[9]);
        EXPECT_EQ(f.eepromLock, bits[10]);
        EXPECT_EQ(f.image.bytes[5], msbFirst(11, 8));
        EXPECT_EQ(VcoCalEnable(f.image), bits[19]);
        EXPECT_EQ(VcoCalOverride(f.image), bits[20]);
        EXPECT_EQ(VcoCalWord(f.image), msbFirst(21, 6));
        EXPECT_EQ(ChargePumpCode(f.image), msbFirst(28, 4));
        EXPECT_EQ(C3Code(f.image), msbFirst(32, 4));
        EXPECT_EQ(C1Code(f.image), msbFirst(36, 5));
        EXPECT_EQ(R2Code(f.image), msbFirst(41, 5));
        EXPECT_EQ(C2Code(f.image), msbFirst(46, 5));
        EXPECT_EQ(CalDelayCount(f.image), bits[51] + 2 * bits[27]);
        EXPECT_EQ(OutputType(f.image), bits[52]);
        EXPECT_EQ(OutputDividerCode(f.image), msbFirst(53, 3));
        EXPECT_EQ(PrescalerCode(f.image), msbFirst(56, 2));
        EXPECT_EQ(VcoSelect(f.image), bits[58]);

        std::string raw;
        for (int n = 0; n < 59; ++n) {
            if (n == 3 || n == 9 || n == 10 || n == 11 || (n > 11 && (n - 11) % 8 == 0)) raw += ' ';
            raw += bits[static_cast<size_t>(n)] ? '1' : '0';
        }
        EXPECT_EQ(DecodeReadBack(FromStream(bits), true).raw, raw);
    }
}

TEST(ReadBackDecodeTest, DeviceSettingsImageReadsBackAsDelayCountOne) {
    RegisterImage image;
    SetCalDelayCount(image, 1);
    SetLoopFilterWord(image, kDefaultLoopFilterWord);
    std::vector<int> bits(64, 0);
    for (int byte = 5, n = 11; byte >= 0; --byte) {
        for (int bit = 7; bit >= 0; --bit, ++n)
            bits[static_cast<size_t>(n)] = (image.bytes[static_cast<size_t>(byte)] >> bit) & 1;
    }
    const ReadBackTexts t = DecodeReadBack(FromStream(bits), true);
    EXPECT_EQ(t.calDelayText, "16,384");
    EXPECT_EQ(t.c2, "30");
    EXPECT_EQ(t.c2Text, "461.0 pF");
    EXPECT_EQ(t.r2Text, "13.0 kOhm");
    EXPECT_EQ(t.c1Text, "23.0 pF");
    EXPECT_EQ(t.c3Text, "19.5 pF");
}

TEST(ReadBackDecodeTest, FieldTableNamesEveryTextOnce) {
    std::set<std::string> keys;
    std::set<int> ids;
    for (const ReadBackTextField &field : ReadBackTextFields) {
        keys.insert(field.key);
        ids.insert(field.controlId);
    }
    EXPECT_EQ(keys.size(), 30u);
    EXPECT_EQ(ids.size(), 30u);
    ReadBackTexts texts;
    for (const ReadBackTextField &field : ReadBackTextFields) texts.*field.text = field.key;
    EXPECT_EQ(texts.vcoSelectText, "vcoSelectText");
    EXPECT_EQ(texts.raw, "raw");
    EXPECT_EQ(FieldValueText(Field::OutputDivider, 5), "/ 32");
    EXPECT_EQ(FieldValueText(Field::OutputDivider, 6), "");
    EXPECT_EQ(CalDelayText(4), "");
}

}  // namespace
}  // namespace velorin::core
