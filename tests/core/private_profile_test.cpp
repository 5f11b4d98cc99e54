#include "core/base/private_profile.h"

#include <gtest/gtest.h>

#include <random>

#include "core/profile_fuzz.h"

namespace velorin::core {
namespace {

TEST(PrivateProfileTest, LookupIgnoresCaseAndBlanks) {
    const auto profile = PrivateProfile::Parse(
        "; comment\r\n[Other]\r\nCONFIG=wrong\r\n  [ mxr817 ]  \r\n; CONFIG=commented\r\n"
        "foo=bar\r\n  Config =  0123  \r\nCONFIG=second\r\n[Next]\r\nCONFIG=next\r\n");
    EXPECT_EQ(profile.GetValue("MXR817", "CONFIG"), "0123");
    EXPECT_EQ(profile.GetValue("mxr817", "FOO"), "bar");
    EXPECT_EQ(profile.GetValue("next", "config"), "next");
    EXPECT_EQ(profile.GetValue("MXR817", "missing"), std::nullopt);
    EXPECT_EQ(profile.GetValue("Missing", "CONFIG"), std::nullopt);
    EXPECT_TRUE(profile.HasSection("other"));
}

TEST(PrivateProfileTest, KeysBeforeAnySectionAndMalformedHeadersAreNotEntries) {
    const auto profile = PrivateProfile::Parse("CONFIG=1\n[MXR817\nCONFIG=2\n[]\nCONFIG=3\n");
    EXPECT_FALSE(profile.HasSection("MXR817"));
    EXPECT_EQ(profile.GetValue("", "CONFIG"), "3");
    const auto bom = PrivateProfile::Parse("\xEF\xBB\xBF[MXR817]\nCONFIG=4\n");
    EXPECT_EQ(bom.GetValue("MXR817", "CONFIG"), "4");
}

TEST(PrivateProfileTest, RewritingAKeyKeepsEveryOtherByte) {
    const std::string text =
        "[Before]\r\nA=1\r\n\r\n[mxr817]\r\n;note\r\nconfig = old\r\nB=2\n\r\n[After]\nC=3";
    auto profile = PrivateProfile::Parse(text);
    EXPECT_EQ(profile.Serialize(), text);
    profile.SetValue("MXR817", "CONFIG", "NEW");
    EXPECT_EQ(profile.Serialize(),
              "[Before]\r\nA=1\r\n\r\n[mxr817]\r\n;note\r\nconfig =NEW\r\nB=2\n\r\n[After]\nC=3");
}

TEST(PrivateProfileTest, AddingAKeyGoesAfterTheSectionsLastEntry) {
    auto profile =
        PrivateProfile::Parse("[MXR817]\r\nX=1\r\n\r\n; about Next\r\n[Next]\r\nY=2\r\n");
    profile.SetValue("MXR817", "CONFIG", "V");
    EXPECT_EQ(profile.Serialize(),
              "[MXR817]\r\nX=1\r\nCONFIG=V\r\n\r\n; about Next\r\n[Next]\r\nY=2\r\n");

    auto bare = PrivateProfile::Parse("[MXR817]");
    bare.SetValue("MXR817", "CONFIG", "V");
    EXPECT_EQ(bare.Serialize(), "[MXR817]\r\nCONFIG=V\r\n");
}

TEST(PrivateProfileTest, AddingASectionAppendsIt) {
    auto empty = PrivateProfile::Parse("");
    empty.SetValue("MXR817", "CONFIG", "V");
    EXPECT_EQ(empty.Serialize(), "[MXR817]\r\nCONFIG=V\r\n");

    auto unterminated = PrivateProfile::Parse("[Other]\nK=1");
    unterminated.SetValue("MXR817", "CONFIG", "V");
    EXPECT_EQ(unterminated.Serialize(), "[Other]\nK=1\r\n[MXR817]\r\nCONFIG=V\r\n");
}

TEST(PrivateProfileFuzzTest, HandcraftedAwkwardInputs) {
    const std::vector<std::string> inputs = {
        "",
        "\n\n\r\r\n",
        std::string("\0\0[MXR817]\0\nCONFIG=\0", 20),
        "[MXR817]\rCONFIG=0123456789AB04\r",
        "[MXR817]\nCONFIG=1\n[X]\nCONFIG=1\n[MXR817]\nCONFIG=1\n",
        "[MXR817]]]\n=\n==\nCONFIG==\n",
        "[[MXR817]\nCONFIG=0123456789AB04",
        std::string(100000, '['),
        std::string(100000, '\n'),
    };
    for (const std::string &input : inputs) {
        EXPECT_TRUE(FuzzProfileOnce(reinterpret_cast<const uint8_t *>(input.data()), input.size()))
            << input.substr(0, 40);
    }
}

// Random bytes drawn mostly from the characters that mean something to the parser.
TEST(PrivateProfileFuzzTest, RandomInputsKeepTheInvariants) {
    std::mt19937 random(4242);
    const std::string alphabet =
        "[]=;\r\n \tMXR817CONFIGcongifxr0123456789ABCDEFabcdef\xEF\xBB\xBF";
    for (int round = 0; round < 3000; ++round) {
        std::string input(random() % 200, '\0');
        for (char &c : input) {
            c = (random() % 4 == 0) ? static_cast<char>(random() & 0xFF)
                                    : alphabet[random() % alphabet.size()];
        }
        ASSERT_TRUE(FuzzProfileOnce(reinterpret_cast<const uint8_t *>(input.data()), input.size()))
            << "round " << round;
    }
}

}  // namespace
}  // namespace velorin::core
