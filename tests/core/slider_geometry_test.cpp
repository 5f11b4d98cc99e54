#include "core/ui/slider_geometry.h"

#include <gtest/gtest.h>

namespace velorin::core {
namespace {

// The loop-filter bandwidth slider: 240-pixel channel, 23-pixel thumb, margins 2 and 2.
SliderGeometry Bandwidth() {
    return SliderGeometry{50, 400, 240, 23, 2, 2};
}

TEST(SliderGeometry, BandwidthSliderEnds) {
    EXPECT_EQ(PositionToPixel(Bandwidth(), 50), 13);
    EXPECT_EQ(PositionToPixel(Bandwidth(), 400), 226);
    EXPECT_EQ(PixelToPosition(Bandwidth(), 13), 50);
    EXPECT_EQ(PixelToPosition(Bandwidth(), 226), 400);
}

TEST(SliderGeometry, MappingTruncatesTowardZero) {
    // 225 px of the 213 px travel: (225 - 11 - 2) / 213 * 350 = 348.3 -> 398.
    EXPECT_EQ(PixelToPosition(Bandwidth(), 225), 398);
    // (100 - 50) / 350 * 213 = 30.4 -> 30.
    EXPECT_EQ(PositionToPixel(Bandwidth(), 100), 2 + 30 + 11);
    // Left of the travel the result truncates toward zero, not downwards.
    SliderGeometry g{0, 100, 213, 13, 0, 0};
    EXPECT_EQ(PixelToPosition(g, 5), 0);  // -0.5 -> 0
}

TEST(SliderGeometry, EmptyRangeOrTravelDoesNotDivideByZero) {
    SliderGeometry flat{30, 30, 240, 23, 2, 2};
    EXPECT_EQ(PositionToPixel(flat, 30), 13);
    SliderGeometry noTravel{0, 100, 27, 23, 2, 2};
    EXPECT_EQ(PixelToPosition(noTravel, 13), 0);
}

TEST(SliderGeometry, PositionClampsToRange) {
    EXPECT_EQ(ClampSliderPosition(500, 50, 400), 400);
    EXPECT_EQ(ClampSliderPosition(-3, 50, 400), 50);
    EXPECT_EQ(ClampSliderPosition(77, 50, 400), 77);
}

TEST(SliderGeometry, ThumbCentreStaysInTravel) {
    EXPECT_EQ(ClampThumbCentre(Bandwidth(), -40), 13);
    EXPECT_EQ(ClampThumbCentre(Bandwidth(), 1000), 227);
    EXPECT_EQ(ClampThumbCentre(Bandwidth(), 100), 100);
}

TEST(SliderGeometry, GrabKeepsOffsetOnlyOnTheThumb) {
    EXPECT_EQ(DragOffset(105, 100, 23), 5);
    EXPECT_EQ(DragOffset(89, 100, 23), -11);
    EXPECT_EQ(DragOffset(112, 100, 23), 0);  // more than half a thumb away: jump
    EXPECT_EQ(DragOffset(40, 100, 23), 0);
}

TEST(SliderGeometry, KeysStepAsTheyShould) {
    EXPECT_EQ(SliderKeyTarget(SliderKey::Down, 60, 20, 50, 400), 61);
    EXPECT_EQ(SliderKeyTarget(SliderKey::Right, 60, 20, 50, 400), 61);
    EXPECT_EQ(SliderKeyTarget(SliderKey::Up, 60, 20, 50, 400), 59);
    EXPECT_EQ(SliderKeyTarget(SliderKey::Left, 60, 20, 50, 400), 59);
    EXPECT_EQ(SliderKeyTarget(SliderKey::PageDown, 60, 20, 50, 400), 80);
    EXPECT_EQ(SliderKeyTarget(SliderKey::PageUp, 60, 20, 50, 400), 40);
    EXPECT_EQ(SliderKeyTarget(SliderKey::Home, 60, 20, 50, 400), 50);
    EXPECT_EQ(SliderKeyTarget(SliderKey::End, 60, 20, 50, 400), 400);
}

}  // namespace
}  // namespace velorin::core
