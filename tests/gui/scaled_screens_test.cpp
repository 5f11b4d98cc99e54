// The main window and the loop-filter dialog on a screen of any pixel ratio: the drawn blocks
// are smoothed paths at the screen's ratio, pictures come from artwork drawn for it, and a
// picture of each window is saved per scale (main_window_150.png, loop_filter_dlg_200.png, ...).
// The suite runs this at the program's own size and under QT_SCALE_FACTOR 1.5 and 2.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "core/board_run.h"
#include "core/ui/control_ids.h"
#include "gui/app/main_frame.h"
#include "gui/planning/loop_filter_dlg.h"
#include "gui/planning/main_view.h"
#include "gui/widgets/bitmap_slider.h"
#include "gui/widgets/transparent_image.h"
#include "gui/widgets/uni_button.h"
#include "screenshots.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"
#include "test_program.h"

namespace velorin::gui {
namespace {

using testing::Program;

int Percent() {
    return qRound(qApp->devicePixelRatio() * 100);
}

QString Named(const char *name) {
    return QString("%1_%2").arg(name).arg(Percent());
}

// Pixels neither fully inside nor fully outside a shape: what a smoothed edge leaves.
int PartlyCovered(const QImage &face) {
    int partly = 0;
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            const int alpha = qAlpha(face.pixel(x, y));
            partly += alpha > 0 && alpha < 255;
        }
    }
    return partly;
}

// Whether any 2 x 2 square of device pixels is not of one colour: a picture scaled up from
// one unit per pixel has none.
bool HasDetailFinerThanAUnit(const QImage &picture) {
    for (int y = 0; y + 1 < picture.height(); y += 2) {
        for (int x = 0; x + 1 < picture.width(); x += 2) {
            const QRgb c = picture.pixel(x, y);
            if (picture.pixel(x + 1, y) != c || picture.pixel(x, y + 1) != c ||
                picture.pixel(x + 1, y + 1) != c) {
                return true;
            }
        }
    }
    return false;
}

TEST(ScaledScreens, MainWindowBlocksAreSmoothPathsAtTheScreensRatio) {
    Program program;
    CMainFrame frame;
    auto *view = new CGuiView(program.services, frame);
    frame.SetView(view);
    view->OnInitialUpdate();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const qreal ratio = frame.devicePixelRatioF();
    EXPECT_EQ(ratio, qApp->devicePixelRatio());

    const auto blocks = view->findChildren<CUniButton *>();
    ASSERT_EQ(blocks.size(), 7);
    for (CUniButton *block : blocks) {
        SCOPED_TRACE(block->objectName().toStdString());
        const QImage &face = block->FaceImage(core::ButtonFace::Normal);
        EXPECT_EQ(face.devicePixelRatio(), ratio);
        EXPECT_EQ(face.size(), block->size() * ratio);
        // Rounded corners, ellipses and the triangle's slanted sides are smoothed.
        EXPECT_GT(PartlyCovered(face), 8);
        // The pointer still counts exactly where the layout's shape says.
        EXPECT_TRUE(block->Region().contains(block->rect().center()));
        EXPECT_FALSE(block->Region().contains(QPoint(0, block->height() - 1)) &&
                     block->Region().contains(QPoint(block->width() - 1, 0)));
    }
    EXPECT_TRUE(testing::SaveScreenshot(frame, Named("main_window")));
    frame.close();
}

TEST(ScaledScreens, LoopFilterPicturesAreDrawnForTheScreen) {
    Program program;
    CLoopFilterDlg dialog(core::LoopFilterRequest{400000, 80, 224e-6, 5, 12}, program.prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *schematic = dialog.findChild<CTransparentImage *>("schematicImage");
    auto *slider = dialog.findChild<CBitmapSlider *>("bandwidthSlider");
    ASSERT_NE(schematic, nullptr);
    ASSERT_NE(slider, nullptr);
    // The slider keeps its size in the window's units whatever pictures it draws from.
    EXPECT_EQ(slider->size(), QSize(240, 17));
    if (Percent() >= 200) {
        EXPECT_TRUE(HasDetailFinerThanAUnit(schematic->grab().toImage()));
        EXPECT_TRUE(HasDetailFinerThanAUnit(slider->grab().toImage()));
    }
    EXPECT_TRUE(testing::SaveScreenshot(dialog, Named("loop_filter_dlg")));
    dialog.ShowResponse(true);
    QCoreApplication::processEvents();  // the panels' layouts, as the screen shows them
    EXPECT_TRUE(testing::SaveScreenshot(dialog, Named("loop_filter_dlg_response")));
    dialog.close();
}

}  // namespace
}  // namespace velorin::gui
