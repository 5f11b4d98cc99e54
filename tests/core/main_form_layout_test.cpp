// The block diagram's geometry: every block's centre hits that block, the corners its shape
// leaves out and the gaps between blocks hit nothing, and no two controls overlap.
#include "core/ui/main_form_layout.h"

#include <gtest/gtest.h>

namespace velorin::core {
namespace {

// The block whose shape holds the point, if any.
std::optional<int> BlockAt(int x, int y) {
    for (const FormBlock &b : MainFormBlocks()) {
        if (ShapeContains(b.shape, b.rect, x, y)) return b.id;
    }
    return std::nullopt;
}

TEST(MainFormLayoutTest, BlocksAreHitAtTheirCentreAndNowhereOutsideTheirShape) {
    for (const FormBlock &b : MainFormBlocks()) {
        EXPECT_EQ(BlockAt(b.rect.CentreX(), b.rect.CentreY()), b.id) << b.id;
        // Corners lie outside ellipses, rounded corners and the triangle alike.
        EXPECT_EQ(BlockAt(b.rect.Right() - 1, b.rect.y), std::nullopt) << b.id;
        EXPECT_EQ(BlockAt(b.rect.x, b.rect.y),
                  b.shape == BlockShape::RightTriangle ? std::optional<int>(b.id) : std::nullopt)
            << b.id;
        EXPECT_EQ(BlockAt(b.rect.x - 2, b.rect.CentreY()), std::nullopt) << b.id;
        EXPECT_EQ(BlockAt(b.rect.Right() + 1, b.rect.CentreY()), std::nullopt) << b.id;
    }
    // The triangle's tip is on the middle of its right edge.
    const FormRect output = *MainFormRect(1006);
    EXPECT_TRUE(
        ShapeContains(BlockShape::RightTriangle, output, output.Right() - 2, output.CentreY()));
    EXPECT_FALSE(
        ShapeContains(BlockShape::RightTriangle, output, output.Right() - 2, output.y + 4));
}

TEST(MainFormLayoutTest, ControlsDoNotOverlapAndStayOnTheForm) {
    std::vector<std::pair<int, FormRect>> all;
    for (const FormBlock &b : MainFormBlocks()) all.emplace_back(b.id, b.rect);
    for (const FormPlacement &p : MainFormPlacements()) {
        if (p.id >= 1310 && p.id <= 1312) continue;  // group boxes hold the others
        all.emplace_back(p.id, p.rect);
    }
    for (size_t i = 0; i < all.size(); ++i) {
        const FormRect &a = all[i].second;
        EXPECT_GE(a.x, 0);
        EXPECT_LE(a.Right(), kMainFormWidth) << all[i].first;
        EXPECT_LE(a.Bottom(), kMainFormHeight) << all[i].first;
        for (size_t j = i + 1; j < all.size(); ++j) {
            const FormRect &b = all[j].second;
            const bool overlap =
                a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
            EXPECT_FALSE(overlap) << all[i].first << " and " << all[j].first;
        }
    }
}

}  // namespace
}  // namespace velorin::core
