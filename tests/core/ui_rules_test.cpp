#include <gtest/gtest.h>

#include "core/base/prompts.h"
#include "core/ui/button_face.h"
#include "core/ui/color_key.h"
#include "core/ui/led_colors.h"
#include "core/ui/widened_placement.h"

namespace velorin::core {
namespace {

TEST(LedColors, SchemesLitAndUnlit) {
    EXPECT_EQ(LedColorsFor(LedColorRed).lit, (Rgb{250, 0, 0}));
    EXPECT_EQ(LedColorsFor(LedColorRed).unlit, (Rgb{0, 250, 0}));
    EXPECT_EQ(LedColorsFor(LedColorGreen).unlit, (Rgb{0, 128, 0}));
    EXPECT_EQ(LedColorsFor(LedColorBlue).lit, (Rgb{0, 0, 250}));
    EXPECT_EQ(LedColorsFor(LedColorYellow).unlit, (Rgb{150, 150, 0}));
    EXPECT_EQ(LedColorsFor(0).lit, LedColorsFor(LedColorRed).lit);
}

TEST(ButtonFace, DisabledBeatsPressedBeatsHover) {
    EXPECT_EQ(ChooseButtonFace(false, true, true), ButtonFace::Disabled);
    EXPECT_EQ(ChooseButtonFace(true, true, true), ButtonFace::Pressed);
    EXPECT_EQ(ChooseButtonFace(true, false, true), ButtonFace::Hover);
    EXPECT_EQ(ChooseButtonFace(true, false, false), ButtonFace::Normal);
}

TEST(ColorKey, GivenColourOrPixel) {
    EXPECT_EQ(ResolveKeyColor(0x00FF00FF, Rgb{1, 2, 3}), (Rgb{255, 0, 255}));
    EXPECT_EQ(ResolveKeyColor(0x00123456, Rgb{1, 2, 3}), (Rgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(ResolveKeyColor(kKeyFromPixel, Rgb{255, 0, 0}), (Rgb{255, 0, 0}));
}

TEST(MessageIcons, DefaultIconFollowsButtons) {
    EXPECT_EQ(EffectiveIcon(MessageButtons::Ok, MessageIcon::Default), MessageIcon::Exclamation);
    EXPECT_EQ(EffectiveIcon(MessageButtons::OkCancel, MessageIcon::Default),
              MessageIcon::Exclamation);
    EXPECT_EQ(EffectiveIcon(MessageButtons::YesNo, MessageIcon::Default), MessageIcon::Question);
    EXPECT_EQ(EffectiveIcon(MessageButtons::Ok, MessageIcon::Error), MessageIcon::Error);
}

TEST(WidenedPlacement, StaysOnTheWorkAreaMovingLeftThenNarrowing) {
    // A 400 px dialog that adds 705 px (657 at the narrowest).
    struct Case {
        int frameLeft;
        HorizontalSpan available;
        WidenedPlacement expected;
    };
    const Case cases[] = {
        {50, {0, 1280}, {50, 705}},         // fits where it stands
        {440, {0, 1280}, {175, 705}},       // centred on 1280 x 1024: moves left
        {-100, {0, 1280}, {0, 705}},        // partly off the left edge
        {2000, {1280, 1280}, {1455, 705}},  // a second screen
        {300, {0, 1080}, {0, 680}},         // narrower: the panel gives way
        {300, {0, 1024}, {0, 657}},         // no narrower than its least
    };
    for (const Case &c : cases) {
        const WidenedPlacement placed =
            PlaceWidenedWindow({c.frameLeft, 400}, 705, 657, c.available);
        EXPECT_EQ(placed.left, c.expected.left) << c.frameLeft << " " << c.available.width;
        EXPECT_EQ(placed.extraWidth, c.expected.extraWidth)
            << c.frameLeft << " " << c.available.width;
    }
}

}  // namespace
}  // namespace velorin::core
