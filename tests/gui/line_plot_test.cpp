// The plots as they paint: a curve breaks where its loop does not exist, values far beyond
// the axis are clipped rather than wrapped, and texts the plot has no room for are reported.
#include "gui/planning/line_plot.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

namespace velorin::gui {
namespace {

const QColor kRed(220, 0, 0);

// A plot of one red curve over x and y from 0 to 1, with no legend.
struct RedPlot {
    RedPlot() : plot("Test plot", CLinePlot::LegendAt::Bottom) {
        plot.SetAxisTitles("x", "y");
        series = plot.AddSeries("red", QString(), {kRed, 2.0, false});
        plot.SetXAxis(core::NiceLinearAxis(0.0, 1.0, "%.1f"));
        plot.SetYAxis(CLinePlot::Side::Left, core::NiceLinearAxis(0.0, 1.0, "%.1f"));
        plot.resize(400, 300);
    }
    // How many pixels in columns [from, to) and rows [top, bottom) of the picture are red,
    // each bound a fraction of the picture's size.
    static int Red(const QImage &image, double from, double to, double top = 0.0,
                   double bottom = 1.0) {
        int count = 0;
        for (int x = int(image.width() * from); x < int(image.width() * to); ++x) {
            for (int y = int(image.height() * top); y < int(image.height() * bottom); ++y) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.red() > 180 && pixel.green() < 80 && pixel.blue() < 80) ++count;
            }
        }
        return count;
    }
    CLinePlot plot;
    int series = 0;
};

TEST(LinePlot, ACurveBreaksWhereItsPointsDoNotExist) {
    RedPlot red;
    core::PlotCurve curve;
    for (int i = 0; i <= 100; ++i) {
        curve.x.push_back(i / 100.0);
        curve.y.push_back(i >= 40 && i <= 60 ? NAN : 0.5);
    }
    red.plot.SetCurve(red.series, curve);
    // The plot's area spans most of the widget, so its middle lies within the missing part.
    const QImage image = red.plot.grab().toImage();
    EXPECT_GT(RedPlot::Red(image, 0.15, 0.3), 0);
    EXPECT_EQ(RedPlot::Red(image, 0.5, 0.53), 0);
    EXPECT_GT(RedPlot::Red(image, 0.75, 0.95), 0);
}

TEST(LinePlot, ValuesFarBeyondTheAxisAreClippedNotWrapped) {
    // An unstable loop's step response: from inside the plot to far above it and back.
    RedPlot red;
    red.plot.SetCurve(red.series, {{0.0, 0.45, 0.55, 1.0}, {0.5, 1e300, -1e300, 0.5}});
    // Between the two far points the line runs from above the plot to below it, crossing it
    // in the middle; nothing of it reaches the title above the plot or the labels below.
    const QImage image = red.plot.grab().toImage();
    EXPECT_GT(RedPlot::Red(image, 0.4, 0.65, 0.2, 0.7), 0);
    EXPECT_EQ(RedPlot::Red(image, 0.0, 1.0, 0.0, 0.06), 0);
    EXPECT_EQ(RedPlot::Red(image, 0.0, 1.0, 0.9, 1.0), 0);
}

TEST(LinePlot, ReportsCrowdedLabelsAndTitlesItHasNoRoomFor) {
    RedPlot red;
    red.plot.SetYAxis(CLinePlot::Side::Left, core::SteppedLinearAxis(0.0, 1.0, 0.0, 0.05, "%.2f"));
    red.plot.resize(400, 120);
    const QStringList cut = red.plot.CutTexts();
    EXPECT_TRUE(cut.contains("0.05")) << cut.join(", ").toStdString();
    red.plot.SetYAxis(CLinePlot::Side::Left, core::NiceLinearAxis(0.0, 1.0, "%.1f", 3));
    red.plot.resize(400, 300);
    EXPECT_EQ(red.plot.CutTexts(), QStringList());
    red.plot.resize(60, 300);
    EXPECT_TRUE(red.plot.CutTexts().contains("Test plot"));
}

}  // namespace
}  // namespace velorin::gui
