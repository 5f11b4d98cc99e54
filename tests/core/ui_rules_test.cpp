#include <gtest/gtest.h>

#include "core/base/prompts.h"
#include "core/ui/button_face.h"
#include "core/ui/color_key.h"
#include "core/ui/led_colors.h"

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

}  // namespace
}  // namespace velorin::core
