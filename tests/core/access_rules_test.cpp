#include "core/device/access_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin::core {
namespace {

TEST(LockConfirmation, AcceptsYesInAnyCase) {
    for (const char *word : {"yes", "YES", "Yes", "yEs", "yeS", "YeS"}) {
        EXPECT_TRUE(IsLockConfirmation(word)) << word;
    }
}

TEST(LockConfirmation, RefusesAnythingElse) {
    for (const char *word : {"", "y", "ye", "yes ", " yes", "yess", "no", "yes\n", "ja"}) {
        EXPECT_FALSE(IsLockConfirmation(word)) << '"' << word << '"';
    }
}

TEST(AccessCodes, EveryCodeIsAccepted) {
    for (std::string_view code : AccessCodes) {
        EXPECT_EQ(code.size(), 20u);
        EXPECT_TRUE(MatchesAccessCode(code)) << code;
    }
}

TEST(AccessCodes, NearMissesAreRefused) {
    EXPECT_FALSE(MatchesAccessCode(""));
    for (std::string_view code : AccessCodes) {
        std::string changed(code);
        changed[7] = changed[7] == '0' ? '1' : '0';
        EXPECT_FALSE(MatchesAccessCode(changed)) << changed;
        EXPECT_FALSE(MatchesAccessCode(" " + std::string(code)));
        EXPECT_FALSE(MatchesAccessCode(std::string(code) + " "));
        EXPECT_FALSE(MatchesAccessCode(code.substr(0, 19)));
        EXPECT_FALSE(MatchesAccessCode(std::string(code) + std::string(code)));
    }
}

TEST(AccessCodes, ComparisonTreatsLengthAndContentAlike) {
    EXPECT_TRUE(EqualsWithoutEarlyExit("", ""));
    EXPECT_TRUE(EqualsWithoutEarlyExit("abc", "abc"));
    EXPECT_FALSE(EqualsWithoutEarlyExit("abc", "abd"));
    EXPECT_FALSE(EqualsWithoutEarlyExit("abc", "ab"));
    // A shorter text padded with NULs must not pass for the longer one.
    EXPECT_FALSE(EqualsWithoutEarlyExit(std::string_view("ab\0", 3), "ab"));
}

}  // namespace
}  // namespace velorin::core
