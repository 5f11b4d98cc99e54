// The bitmap slider as the loop-filter dialog sets it up: mapping, keys, drag, notifications.
#include "gui/widgets/bitmap_slider.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {
namespace {

void SetUpLikeLoopFilter(CBitmapSlider &slider) {
    ASSERT_TRUE(slider.SetChannelBitmaps(bitmaps::kSliderChannel, bitmaps::kSliderChannelFilled));
    ASSERT_TRUE(slider.SetThumbBitmaps(bitmaps::kSliderThumb, bitmaps::kSliderThumbDragged, true,
                                       0xFF000000u, 0, 0));
    slider.SetFocusRectVisible(false);
    slider.SetMargins(2, 3, 2, 0);
    slider.SetRange(50, 400);
}

class BitmapSliderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetControlId(&slider, 1036);
        SetUpLikeLoopFilter(slider);
        slider.SetPos(100);
        slider.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }

    CBitmapSlider slider;
    QSignalSpy moving{&slider, &CBitmapSlider::sliderMoving};
    QSignalSpy moved{&slider, &CBitmapSlider::sliderMoved};
};

TEST_F(BitmapSliderTest, TakesTheChannelSizeAndMapsTheEnds) {
    EXPECT_EQ(slider.size(), QSize(240, 17));
    slider.SetPos(50);
    EXPECT_EQ(slider.ThumbCentre(), 13);
    slider.SetPos(400);
    EXPECT_EQ(slider.ThumbCentre(), 226);
}

TEST_F(BitmapSliderTest, SetPosClampsAndSetRangeDoesNot) {
    slider.SetPos(1000);
    EXPECT_EQ(slider.GetPos(), 400);
    slider.SetPos(-20);
    EXPECT_EQ(slider.GetPos(), 50);
    slider.SetPos(300);
    slider.SetRange(30, 80);
    EXPECT_EQ(slider.GetPos(), 300);
    slider.SetPos(slider.GetPos());
    EXPECT_EQ(slider.GetPos(), 80);
}

TEST_F(BitmapSliderTest, KeysMoveAndEachPostsOneMovedNotification) {
    QTest::keyClick(&slider, Qt::Key_Down);
    EXPECT_EQ(slider.GetPos(), 101);
    EXPECT_EQ(moved.count(), 0);  // posted, not sent
    QCoreApplication::processEvents();
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 1036);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 101);

    QTest::keyClick(&slider, Qt::Key_Up);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(slider.GetPos(), 120);
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(slider.GetPos(), 50);
    QTest::keyClick(&slider, Qt::Key_Home);  // already at the end: reported all the same
    QTest::keyClick(&slider, Qt::Key_Left);
    EXPECT_EQ(slider.GetPos(), 50);
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_EQ(slider.GetPos(), 400);
    QCoreApplication::processEvents();
    EXPECT_EQ(moved.count(), 7);
    EXPECT_EQ(moved.last().at(1).toInt(), 400);
    EXPECT_EQ(moving.count(), 0);
}

TEST_F(BitmapSliderTest, PressFarFromTheThumbJumpsUnderThePointer) {
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(150, 8));
    EXPECT_TRUE(slider.IsDragging());
    EXPECT_EQ(slider.GetPos(), core::PixelToPosition(slider.Geometry(), 150));
    EXPECT_NEAR(slider.ThumbCentre(), 150, 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(moving.count(), 1);
    EXPECT_EQ(moving.at(0).at(1).toInt(), slider.GetPos());
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(150, 8));
    QCoreApplication::processEvents();
    EXPECT_FALSE(slider.IsDragging());
    EXPECT_EQ(moved.count(), 1);
}

TEST_F(BitmapSliderTest, PressOnTheThumbKeepsItsGripUntilThePointerMoves) {
    const int centre = slider.ThumbCentre();
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(centre + 5, 8));
    EXPECT_EQ(slider.GetPos(), 100);
    QTest::mouseMove(&slider, QPoint(centre + 45, 8));
    EXPECT_NEAR(slider.ThumbCentre(), centre + 40, 1);
    QTest::mouseMove(&slider, QPoint(500, 8));  // beyond the end: held at the maximum
    EXPECT_EQ(slider.GetPos(), 400);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(500, 8));
    QCoreApplication::processEvents();
    EXPECT_EQ(moving.count(), 2);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.last().at(1).toInt(), 400);
}

TEST_F(BitmapSliderTest, ReleaseWithoutMovePostsMovedAnyway) {
    const int centre = slider.ThumbCentre();
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(centre, 8));
    QCoreApplication::processEvents();
    EXPECT_EQ(moving.count(), 0);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 100);
}

TEST_F(BitmapSliderTest, DrawsFilledChannelAndSeeThroughThumbCorners) {
    const QImage shown = slider.grab().toImage();
    const QImage filled = LoadBitmapResource(bitmaps::kSliderChannelFilled);
    const QImage normal = LoadBitmapResource(bitmaps::kSliderChannel);
    EXPECT_EQ(shown.pixelColor(5, 8), filled.pixelColor(5, 8));
    EXPECT_EQ(shown.pixelColor(200, 8), normal.pixelColor(200, 8));
    EXPECT_NE(filled.pixelColor(5, 8), normal.pixelColor(5, 8));
    // The thumb's red corner is the key colour: the channel shows there.
    const int left = slider.ThumbCentre() - 23 / 2;
    EXPECT_EQ(shown.pixelColor(left, 3), filled.pixelColor(left, 3));
    EXPECT_NE(shown.pixelColor(left, 3), QColor(255, 0, 0));
}

TEST(BitmapSlider, FailedSecondBitmapReleasesTheFirst) {
    CBitmapSlider slider;
    EXPECT_FALSE(slider.SetThumbBitmaps(bitmaps::kSliderThumb, 9999));
    EXPECT_FALSE(slider.SetChannelBitmaps(bitmaps::kSliderChannel, 9999));
    EXPECT_FALSE(slider.SetChannelBitmaps(9999, 0));
    EXPECT_TRUE(slider.SetChannelBitmaps(0, 0));
}

TEST(BitmapSlider, TabStillLeavesWhileArrowsMoveTheThumb) {
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *before = new QLineEdit(&dialog);
    auto *slider = new CBitmapSlider(&dialog);
    auto *after = new QLineEdit(&dialog);
    layout->addWidget(before);
    layout->addWidget(slider);
    layout->addWidget(after);
    SetUpLikeLoopFilter(*slider);
    slider->SetPos(60);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    slider->setFocus();
    ASSERT_TRUE(slider->hasFocus());
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_TRUE(slider->hasFocus());
    EXPECT_EQ(slider->GetPos(), 62);
    QTest::keyClick(slider, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    EXPECT_EQ(slider->GetPos(), 62);
}

}  // namespace
}  // namespace velorin::gui
