// The shaped block buttons: faces per state, hover without a click, the shaped hit region.
#include "gui/widgets/uni_button.h"

#include <gtest/gtest.h>

#include <QPainterPath>
#include <QPolygon>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <cstdlib>

namespace velorin::gui {
namespace {

const QColor kNormal(151, 219, 244);
const QColor kLight(211, 247, 254);

// A right-pointing triangle over the whole control, as the Output block has.
QRegion Triangle(int width, int height) {
    return QRegion(QPolygon({QPoint(0, 0), QPoint(width, height / 2), QPoint(0, height)}));
}

class UniButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        parent.resize(300, 200);
        button = new CUniButton("Output", &parent);
        button->setGeometry(50, 50, 100, 80);
        button->SetRegionAndColors(Triangle(100, 80), kNormal, kLight, kLight, kNormal);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QWidget parent;
    CUniButton *button = nullptr;
};

TEST_F(UniButtonTest, RegionStartsAtOriginAndCentresTheText) {
    CUniButton other;
    other.resize(60, 40);
    other.SetRegionAndColors(QRegion(20, 30, 40, 20, QRegion::Ellipse), kNormal, kLight, kLight,
                             kNormal);
    EXPECT_EQ(other.Region().boundingRect().topLeft(), QPoint(0, 0));
    EXPECT_EQ(other.TextCentre(), QRect(0, 0, 40, 20).center());
}

TEST_F(UniButtonTest, HoverFollowsThePointerWithoutAClick) {
    EXPECT_FALSE(button->IsHover());
    QTest::mouseMove(button, QPoint(20, 40));
    EXPECT_TRUE(button->IsHover());
    EXPECT_EQ(button->CurrentFace(), core::ButtonFace::Hover);
    // Inside the rectangle but outside the triangle counts as outside.
    QTest::mouseMove(button, QPoint(95, 5));
    EXPECT_FALSE(button->IsHover());
    QTest::mouseMove(button, QPoint(20, 40));
    EXPECT_TRUE(button->IsHover());
    QTest::mouseMove(&parent, QPoint(5, 5));
    EXPECT_FALSE(button->IsHover());
    EXPECT_EQ(button->CurrentFace(), core::ButtonFace::Normal);
}

TEST_F(UniButtonTest, ReactsOnlyInsideTheTriangle) {
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(95, 5));   // top-right corner
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 70));   // inside, near the corner
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(60, 10));  // above the slanted side
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(90, 40));  // near the tip
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(button->IsHeld());
}

TEST_F(UniButtonTest, TwoQuickClicksAreTwoClicks) {
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    // What a window system delivers: press, release, double-click, release.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(UniButtonTest, FacesFillTheShapeWithTheStateColour) {
    const QPoint inside(10, 40);
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Normal).pixelColor(inside), kNormal);
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Hover).pixelColor(inside), kLight);
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Pressed).pixelColor(inside), kLight);
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Disabled).pixelColor(inside), kNormal);
    // Outside the shape the face is see-through: what lies under the button shows.
    EXPECT_EQ(qAlpha(button->FaceImage(core::ButtonFace::Normal).pixel(95, 5)), 0);
    // The shown face is the hover face as soon as the pointer is over the shape.
    QTest::mouseMove(button, QPoint(20, 40));
    EXPECT_EQ(button->grab().toImage().pixelColor(inside), kLight);
}

TEST_F(UniButtonTest, PressedFaceSwapsTheRim) {
    const QColor light = button->palette().color(QPalette::Light);
    const QColor dark = button->palette().color(QPalette::Shadow);
    ASSERT_NE(light, dark);
    // The left edge of the triangle is its top-left rim; its lower slanted side the other one.
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Normal).pixel(0, 40), light.rgb());
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Pressed).pixel(0, 40), dark.rgb());
    // The lowest opaque pixel of a column crosses the slanted side, smoothed: nearer the rim's
    // colour than the face's.
    const auto lowestOpaque = [this](core::ButtonFace face) {
        const QImage &image = button->FaceImage(face);
        int y = image.height() - 1;
        while (y > 40 && qAlpha(image.pixel(20, y)) < 255) --y;
        return image.pixelColor(20, y);
    };
    const auto distance = [](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue());
    };
    const QColor normalEdge = lowestOpaque(core::ButtonFace::Normal);
    EXPECT_LT(distance(normalEdge, dark), distance(normalEdge, kNormal));
    const QColor pressedEdge = lowestOpaque(core::ButtonFace::Pressed);
    EXPECT_LT(distance(pressedEdge, light), distance(pressedEdge, dark));
}

TEST_F(UniButtonTest, AnOutlineIsPaintedSmoothWhileThePointerKeepsToTheRegion) {
    QPainterPath triangle;
    triangle.addPolygon(QPolygonF({QPointF(0, 0), QPointF(100, 40), QPointF(0, 80)}));
    triangle.closeSubpath();
    button->SetOutline(triangle);
    const QImage &face = button->FaceImage(core::ButtonFace::Normal);
    int partly = 0;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) partly += qAlpha(face.pixel(x, y)) % 255 != 0;
    }
    EXPECT_GT(partly, 40);  // both slanted sides smoothed
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(95, 5));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 40));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(UniButtonTest, CaptionAndValueShrinkUntilTheyFitTheButton) {
    button->setText("PFD\nCharge\nPump");
    button->SetValueText("224 uA");
    button->resize(88, 40);  // too low for four lines at the caption font
    const QRectF ink = button->TextRect();
    EXPECT_TRUE(QRectF(button->rect()).contains(ink));
    EXPECT_GT(ink.height(), 20);
}

TEST_F(UniButtonTest, NewValueTextOrCaptionRendersTheFacesAgain) {
    const QImage before = button->FaceImage(core::ButtonFace::Normal);
    button->SetValueText("LVPECL       ");
    EXPECT_EQ(button->ValueText(), "LVPECL       ");
    const QImage withValue = button->FaceImage(core::ButtonFace::Normal);
    EXPECT_NE(before, withValue);
    bool valueInk = false;
    for (int y = 0; y < withValue.height() && !valueInk; ++y) {
        for (int x = 0; x < withValue.width() && !valueInk; ++x) {
            valueInk = withValue.pixelColor(x, y) == QColor(128, 0, 0);
        }
    }
    EXPECT_TRUE(valueInk);
    button->setText("Other");
    EXPECT_NE(button->FaceImage(core::ButtonFace::Normal), withValue);
}

}  // namespace
}  // namespace velorin::gui
