// The shaped block buttons: faces per state, hover without a click, the shaped hit region.
#include "gui/widgets/uni_button.h"

#include <gtest/gtest.h>

#include <QPolygon>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

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
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Normal).pixelColor(95, 5), QColor(Qt::black));
    // The shown face is the hover face as soon as the pointer is over the shape.
    QTest::mouseMove(button, QPoint(20, 40));
    EXPECT_EQ(button->grab().toImage().pixelColor(inside), kLight);
}

TEST_F(UniButtonTest, PressedFaceSwapsTheRim) {
    const QRgb light = button->palette().color(QPalette::Light).rgb();
    const QRgb dark = button->palette().color(QPalette::Shadow).rgb();
    ASSERT_NE(light, dark);
    // The left edge of the triangle is its top-left rim; its lower slanted side the other one.
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Normal).pixel(0, 40), light);
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Pressed).pixel(0, 40), dark);
    const QRegion region = button->Region();
    int y = 79;
    while (y > 40 && !region.contains(QPoint(20, y))) --y;
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Normal).pixel(20, y), dark);
    EXPECT_EQ(button->FaceImage(core::ButtonFace::Pressed).pixel(20, y), light);
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
