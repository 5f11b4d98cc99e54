#include "core/loopfilter/component_selection.h"

#include <gtest/gtest.h>

#include "core/device/component_tables.h"
#include "core/loopfilter/loop_filter.h"
#include "core/loopfilter/nearest_value.h"

namespace velorin::core {
namespace {

LoopFilterDesign Design(double bandwidth, double margin, double icp, double prescaler,
                        double feedback) {
    return DesignLoopFilter({bandwidth, margin, icp, prescaler, feedback});
}

TEST(NearestValueTest, AscendingTakesFirstEntryAtOrAboveOrItsCloserPredecessor) {
    const double table[] = {0, 10, 20, 15, 40};
    EXPECT_EQ(NearestAscending(table, 5, 4).code, 0);
    EXPECT_EQ(NearestAscending(table, 5, 6).code, 1);
    EXPECT_EQ(NearestAscending(table, 5, 5).code, 0);   // tie: predecessor
    EXPECT_EQ(NearestAscending(table, 5, 15).code, 1);  // tie between 10 and 20
    EXPECT_EQ(NearestAscending(table, 5, 16).code, 2);  // 20 found first, 15 never compared
    EXPECT_EQ(NearestAscending(table, 5, 39).code, 4);  // 15 -> 40: 40 is closer
    EXPECT_EQ(NearestAscending(table, 5, 27).code, 3);  // 15 -> 40: 15 is closer
    EXPECT_EQ(NearestAscending(table, 5, 99).code, 4);  // above all
    EXPECT_EQ(NearestAscending(table, 5, -3).code, 0);  // below all
    EXPECT_EQ(NearestAscending(table, 1, 99).code, 0);
    EXPECT_EQ(NearestAscending(table, 5, 16).value, 20);
    EXPECT_EQ(NearestAscending(nullptr, 0, 5).code, 0);  // nothing is read
}

TEST(NearestValueTest, DescendingWalksDownAndTiesPickTheSmallerValue) {
    const double table[] = {100, 80, 60, 70, 10};
    EXPECT_EQ(NearestDescending(table, 5, 200).code, 0);  // above all
    EXPECT_EQ(NearestDescending(table, 5, 95).code, 0);
    EXPECT_EQ(NearestDescending(table, 5, 90).code, 1);  // tie: the smaller value
    EXPECT_EQ(NearestDescending(table, 5, 40).code, 4);  // tie between 70 (i=3) and 10
    EXPECT_EQ(NearestDescending(table, 5, 65).code, 3);  // 70 found first, 60 never compared
    EXPECT_EQ(NearestDescending(table, 5, 5).code, 4);   // below all
    EXPECT_EQ(NearestDescending(table, 5, 10).code, 4);
    EXPECT_EQ(NearestDescending(table, 1, 5).code, 0);
    EXPECT_EQ(NearestDescending(table, 3, 5).code, 2);  // entries beyond count are not read
}

TEST(NearestValueTest, RealTablesAreSearchedUnsorted) {
    const auto &c1 = C1Values();
    const auto &c2 = C2Values();
    const auto &r2 = R2Values();
    EXPECT_EQ(NearestAscending(c2.data(), 32, 123.2).code, 7);  // not code 8 (123.0)
    EXPECT_EQ(NearestAscending(c1.data(), 32, 0.75).code, 0);   // exact midpoint
    EXPECT_EQ(NearestAscending(c1.data(), 32, 0.76).code, 1);
    EXPECT_EQ(NearestAscending(c1.data(), 32, 38.0).code, 14);
    // 60 kOhm: walking down the first entry at or above it is code 18 (62.2), beaten by 19 (58.2);
    // code 14 (60.4), nearer than both, is never reached.
    EXPECT_EQ(NearestDescending(r2.data(), 32, 60.0).code, 19);
    EXPECT_EQ(NearestDescending(r2.data(), 32, 125.7).code, 0);
    EXPECT_EQ(NearestDescending(r2.data(), 32, 125.5).code, 1);
    EXPECT_EQ(NearestDescending(r2.data(), 32, 0.0).code, 31);
    EXPECT_EQ(NearestDescending(r2.data(), 32, -1.0).code, 31);
}

TEST(ComponentSelectionTest, DefaultOpening) {
    const LoopFilterDesign d = Design(400000, 80, 224e-6, 5, 12);
    ASSERT_EQ(d.status, 0);
    const LoopFilterSelection &s = d.selection;
    EXPECT_EQ(s.codes.c1, 1);
    EXPECT_EQ(s.codes.c2, 12);
    EXPECT_EQ(s.codes.c3, 0);
    EXPECT_EQ(s.codes.r2, 26);
    EXPECT_EQ(s.labels.c1, "1.5pf");
    EXPECT_EQ(s.labels.c2, "210.0pf");
    EXPECT_EQ(s.labels.c3, "0.0pf");
    EXPECT_EQ(s.labels.r2, "24.0k");
    EXPECT_EQ(s.labels.r3, "10.0k");
    EXPECT_EQ(d.controlWord, 0x74Cu);
    EXPECT_DOUBLE_EQ(s.chosen.c2, 210e-12);
    EXPECT_DOUBLE_EQ(s.chosen.r2, 24000);
}

TEST(ComponentSelectionTest, LowBandwidthClampsC1AtTheTopOfItsTable) {
    const LoopFilterDesign d = Design(50e3, 30, 56e-6, 2, 32);
    ASSERT_EQ(d.status, 0);
    EXPECT_NEAR(d.ideal.c1 * 1e12, 106.3, 0.05);
    EXPECT_NEAR(d.ideal.c2 * 1e12, 396.6, 0.05);
    EXPECT_NEAR(d.ideal.c3 * 1e12, 56.7, 0.05);
    EXPECT_NEAR(d.ideal.r2 / 1e3, 14.40, 0.005);
    EXPECT_EQ(d.selection.codes.c1, 31);
    EXPECT_EQ(d.selection.labels.c1, "77.0pf");
    EXPECT_EQ(d.selection.codes.c2, 27);
    EXPECT_EQ(d.selection.labels.c2, "386.5pf");
    EXPECT_EQ(d.selection.codes.c3, 8);
    EXPECT_EQ(d.selection.labels.c3, "61.5pf");
    EXPECT_EQ(d.selection.codes.r2, 28);
    EXPECT_EQ(d.selection.labels.r2, "13.0k");
}

TEST(ComponentSelectionTest, LargeR2AndNoCurrentSelectCodeZero) {
    const LoopFilterDesign big = Design(400e3, 30, 56e-6, 5, 32);
    ASSERT_EQ(big.status, 0);
    EXPECT_NEAR(big.ideal.r2 / 1e3, 288, 1);
    EXPECT_EQ(big.selection.codes.r2, 0);
    EXPECT_EQ(big.selection.labels.r2, "127.6k");

    const LoopFilterDesign none = Design(400e3, 80, 0, 5, 12);
    const LoopFilterDesign normal = Design(400e3, 80, 224e-6, 5, 12);
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(none.selection.codes.c1, 0);
    EXPECT_EQ(none.selection.codes.c2, 0);
    EXPECT_EQ(none.selection.codes.r2, 0);
    EXPECT_EQ(none.selection.labels.r2, "127.6k");
    EXPECT_EQ(none.selection.codes.c3, normal.selection.codes.c3);
}

TEST(LoopFilterWordTest, PacksMasksAndKeepsTheUpperBits) {
    EXPECT_EQ(LoopFilterControlWord({9, 30, 4, 28}), 0x2279Eu);
    EXPECT_EQ(LoopFilterControlWord({31, 31, 15, 31}), 0x7FFFFu);
    EXPECT_EQ(LoopFilterControlWord({0, 0, 0x1F, 0}), 0x78000u);  // C3 cut to 4 bits
    EXPECT_EQ(LoopFilterControlWord({0x20, 0x21, 0, 0}), 0x1u);   // others cut to 5
    EXPECT_EQ(StoreLoopFilterCodes(0xFFFFFFFFu, {1, 12, 0, 26}), 0xFFF8074Cu);
    EXPECT_EQ(StoreLoopFilterCodes(0x8002279Eu, {1, 12, 0, 26}), 0x8000074Cu);
    const LoopFilterCodes back = DecodeLoopFilterWord(0x8002279Eu);
    EXPECT_EQ(back.c2, 30);
    EXPECT_EQ(back.r2, 28);
    EXPECT_EQ(back.c1, 9);
    EXPECT_EQ(back.c3, 4);
}

TEST(ComponentSelectionTest, FailedDesignReportsOnlyItsStatus) {
    EXPECT_EQ(Design(400e3, 90, 224e-6, 5, 12).status, -1);
    EXPECT_EQ(Design(400e3, 90, 224e-6, 5, 12).controlWord, 0u);
}

}  // namespace
}  // namespace velorin::core
