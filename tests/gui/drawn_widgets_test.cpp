// Status lamps, red labels, transparent pictures and the off-screen buffer.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>

#include "core/ui/led_colors.h"
#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/color_static.h"
#include "gui/widgets/dynamic_led.h"
#include "gui/widgets/mem_dc.h"
#include "gui/widgets/transparent_image.h"

namespace velorin::gui {
namespace {

QColor Pixel(QWidget &widget, int x, int y) {
    return widget.grab().toImage().pixelColor(x, y);
}

TEST(DynamicLed, RoundLampIsGreenUntilTurnedOnAndRedWhileLit) {
    CDynamicLED led;
    led.resize(20, 20);
    led.SetLed(core::LedColorRed, core::LedShapeRound, 0);
    EXPECT_FALSE(led.IsOn());
    EXPECT_EQ(Pixel(led, 10, 12), QColor(0, 250, 0));
    led.TurnOn();
    EXPECT_TRUE(led.IsOn());
    EXPECT_EQ(Pixel(led, 10, 12), QColor(250, 0, 0));
    // The reflection dot near the top left is white.
    EXPECT_EQ(Pixel(led, 4, 4), QColor(Qt::white));
    // The highlight runs along the lower right and nowhere along the lower left.
    const QImage image = led.grab().toImage();
    int lowerRight = 0, lowerLeft = 0;
    for (int y = 10; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (image.pixelColor(x, y) != QColor(Qt::white)) continue;
            if (x > 10) ++lowerRight;
            if (x < 9) ++lowerLeft;  // the arc starts at the bottom centre
        }
    }
    EXPECT_GE(lowerRight, 5);
    EXPECT_EQ(lowerLeft, 0);
    led.TurnOff();
    EXPECT_EQ(Pixel(led, 10, 12), QColor(0, 250, 0));
}

TEST(DynamicLed, SquareLampHasSunkenFrame) {
    CDynamicLED led;
    led.resize(16, 12);
    led.SetLed(core::LedColorBlue, core::LedShapeSquare, 0);
    led.TurnOn();
    const QImage image = led.grab().toImage();
    EXPECT_EQ(image.pixelColor(8, 6), QColor(0, 0, 250));
    EXPECT_EQ(image.pixelColor(0, 6), QColor(128, 128, 128));   // left edge dark
    EXPECT_EQ(image.pixelColor(8, 0), QColor(128, 128, 128));   // top edge dark
    EXPECT_EQ(image.pixelColor(15, 6), QColor(192, 192, 192));  // right edge light
    EXPECT_EQ(image.pixelColor(8, 11), QColor(192, 192, 192));  // bottom edge light
}

// A parent that paints its whole area in one colour, sized w x h.
void PaintBackground(QWidget &parent, const QColor &color, int w, int h) {
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, color);
    parent.setPalette(palette);
    parent.resize(w, h);
}

// The smallest rectangle holding every pixel close to the given colour (text is smoothed).
QRect Footprint(const QImage &image, const QColor &color) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                    std::abs(c.blue() - color.blue()) <
                90) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST(ColorStatic, TwoLinesCentredFromTheTopInRed) {
    QWidget parent;
    PaintBackground(parent, QColor(200, 200, 200), 200, 120);
    CColorStatic label("Input beyond\nVCO range!", &parent);
    label.setGeometry(0, 0, 200, 120);
    const QImage image = parent.grab().toImage();
    const QRect text = Footprint(image, CColorStatic::TextColor());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LT(text.top(), 6);
    EXPECT_LT(text.bottom(), 60);  // two lines, starting at the top, not centred vertically
    EXPECT_NEAR(text.left(), 200 - 1 - text.right(), 3);
    // The parent's background shows around the text.
    EXPECT_EQ(image.pixelColor(2, 110), QColor(200, 200, 200));
}

TEST(TransparentImage, MagentaShowsTheParentBackground) {
    QWidget parent;
    PaintBackground(parent, QColor(10, 200, 30), 400, 300);
    CTransparentImage picture(&parent);
    const QImage schematic = LoadBitmapResource(bitmaps::kLoopFilterSchematic);
    ASSERT_FALSE(schematic.isNull());
    picture.SetBitmap(schematic);
    picture.setGeometry(0, 0, 300, 200);  // smaller than the picture: it is cut, not scaled
    const QImage shown = parent.grab().toImage();

    int magentaInSource = 0, seeThrough = 0, inkKept = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            const QColor source = schematic.pixelColor(x, y);
            const QColor seen = shown.pixelColor(x, y);
            EXPECT_NE(seen, QColor(255, 0, 255));
            if (source == QColor(255, 0, 255)) {
                ++magentaInSource;
                seeThrough += seen == QColor(10, 200, 30);
            } else {
                inkKept += seen == source;
            }
        }
    }
    EXPECT_GT(magentaInSource, 1000);
    EXPECT_EQ(seeThrough, magentaInSource);
    EXPECT_EQ(inkKept, 300 * 200 - magentaInSource);
    EXPECT_EQ(shown.pixelColor(350, 250), QColor(10, 200, 30));
}

TEST(TransparentImage, WithoutBitmapPaintsAsALabel) {
    CTransparentImage picture;
    picture.setText("plain");
    picture.resize(60, 20);
    EXPECT_TRUE(picture.Bitmap().isNull());
    const QImage image = picture.grab().toImage();
    EXPECT_FALSE(Footprint(image, picture.palette().color(QPalette::WindowText)).isEmpty());
}

TEST(MemDC, DrawsOffScreenAndCopiesAtTheEnd) {
    QImage target(50, 50, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    {
        CMemDC memory(painter, QRect(10, 10, 20, 20), false, Qt::blue);
        EXPECT_TRUE(memory.IsOffScreen());
        memory.Painter().fillRect(QRect(15, 15, 5, 5), Qt::red);
        EXPECT_EQ(target.pixelColor(15, 15), QColor(Qt::white));
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(29, 29), QColor(Qt::blue));
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(30, 30), QColor(Qt::white));
}

TEST(MemDC, CopyingTheBackgroundKeepsWhatLiesUnder) {
    QImage target(20, 20, QImage::Format_RGB32);
    target.fill(Qt::green);
    QPainter painter(&target);
    {
        CMemDC memory(painter, QRect(0, 0, 20, 20), true, Qt::blue);
        memory.Painter().fillRect(QRect(0, 0, 5, 5), Qt::red);
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(10, 10), QColor(Qt::green));
}

}  // namespace
}  // namespace velorin::gui
