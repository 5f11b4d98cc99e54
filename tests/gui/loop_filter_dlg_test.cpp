// The loop-filter dialog on screen: what it shows, keys on its sliders, OK and Cancel, and the
// response panel following the sliders.
#include "gui/planning/loop_filter_dlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/loopfilter/phase_noise_panel.h"
#include "gui/planning/line_plot.h"
#include "gui/planning/noise_model_dlg.h"
#include "gui/planning/phase_noise_panel.h"
#include "gui/widgets/bitmap_slider.h"
#include "screenshots.h"
#include "support/scripted_prompts.h"

namespace velorin::gui {
namespace {

using velorin::testing::ScriptedPrompts;

const core::LoopFilterRequest kDefaultOpening{400000, 80, 224e-6, 5, 12};

template <typename T = QWidget>
T *Find(QWidget &dialog, const char *name) {
    T *widget = dialog.findChild<T *>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QString Label(QWidget &dialog, const char *name) {
    return Find<QLabel>(dialog, name)->text();
}

void ExpectLabels(QWidget &dialog, const core::LoopFilterLabels &labels) {
    EXPECT_EQ(Label(dialog, "c1Label").toStdString(), labels.c1);
    EXPECT_EQ(Label(dialog, "c2Label").toStdString(), labels.c2);
    EXPECT_EQ(Label(dialog, "c3Label").toStdString(), labels.c3);
    EXPECT_EQ(Label(dialog, "r2Label").toStdString(), labels.r2);
    EXPECT_EQ(Label(dialog, "r3Label").toStdString(), labels.r3);
}

QList<QPointF> SeriesPoints(QWidget &dialog, const char *plot, const char *series) {
    QList<QPointF> points = Find<CLinePlot>(dialog, plot)->Points(series);
    EXPECT_FALSE(points.isEmpty()) << series;
    return points;
}

TEST(LoopFilterDialog, DefaultOpeningShowsTheTemplate) {
    ScriptedPrompts prompts;
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Loop filter config");
    EXPECT_EQ(Find<QLineEdit>(dialog, "bandwidthEdit")->text(), "400");
    EXPECT_EQ(Find<QLineEdit>(dialog, "phaseMarginEdit")->text(), "80");
    ExpectLabels(dialog, {"1.5pf", "210.0pf", "0.0pf", "24.0k", "10.0k"});
    EXPECT_EQ(Find<CBitmapSlider>(dialog, "bandwidthSlider")->GetPos(), 400);
    EXPECT_EQ(Find<CBitmapSlider>(dialog, "phaseMarginSlider")->GetPos(), 80);
    EXPECT_TRUE(Find<QLineEdit>(dialog, "bandwidthEdit")->hasFocus());
    EXPECT_FALSE(dialog.ResponseShown());
    EXPECT_TRUE(testing::SaveScreenshot(dialog, "loop_filter_dlg"));
}

TEST(LoopFilterDialog, AKeyStepUpdatesEditAndLabelsAtOnce) {
    ScriptedPrompts prompts;
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    auto *slider = Find<CBitmapSlider>(dialog, "bandwidthSlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home);
    QCoreApplication::processEvents();
    EXPECT_EQ(Find<QLineEdit>(dialog, "bandwidthEdit")->text(), "50");
    ExpectLabels(dialog, core::DesignLoopFilter({50000, 80, 224e-6, 5, 12}).selection.labels);

    auto *margin = Find<CBitmapSlider>(dialog, "phaseMarginSlider");
    margin->setFocus();
    QTest::keyClick(margin, Qt::Key_Left);
    QCoreApplication::processEvents();
    EXPECT_EQ(Find<QLineEdit>(dialog, "phaseMarginEdit")->text(), "79");
    ExpectLabels(dialog, core::DesignLoopFilter({50000, 79, 224e-6, 5, 12}).selection.labels);
}

TEST(LoopFilterDialog, OkReturnsTheValuesAsGivenAndRefusesNonIntegers) {
    // A bandwidth outside the slider range: the thumb goes to the end, the components and
    // the result stay those of the bandwidth as given.
    const core::LoopFilterRequest request{1234567.8, 45.6, 112e-6, 3, 20};
    ScriptedPrompts prompts;
    CLoopFilterDlg dialog(request, prompts);
    dialog.show();
    EXPECT_EQ(Find<CBitmapSlider>(dialog, "bandwidthSlider")->GetPos(), 400);
    EXPECT_EQ(Find<QLineEdit>(dialog, "bandwidthEdit")->text(), "1234");
    const core::LoopFilterDesign design = core::DesignLoopFilter(request);
    ExpectLabels(dialog, design.selection.labels);

    auto *margin = Find<QLineEdit>(dialog, "phaseMarginEdit");
    margin->setText("45.5");
    QTest::mouseClick(Find<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(prompts.Texts(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(dialog.focusWidget(), margin);

    margin->setText("45");
    QTest::mouseClick(Find<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const core::LoopFilterChoice choice = dialog.Choice();
    EXPECT_EQ(choice.bandwidthHz, 1234567.8);
    EXPECT_EQ(choice.phaseMarginDeg, 45.6);
    EXPECT_EQ(choice.c2Code, design.selection.codes.c2);
    EXPECT_EQ(choice.r2Code, design.selection.codes.r2);
}

TEST(LoopFilterDialog, ATypedValueIsTakenOnEnterAndOnLeavingTheField) {
    ScriptedPrompts prompts;
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *bandwidth = Find<QLineEdit>(dialog, "bandwidthEdit");
    bandwidth->setFocus();
    bandwidth->selectAll();
    QTest::keyClicks(bandwidth, "200");
    QTest::keyClick(bandwidth, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());  // Enter takes the value; it does not end the dialog
    EXPECT_EQ(Find<CBitmapSlider>(dialog, "bandwidthSlider")->GetPos(), 200);
    ExpectLabels(dialog, core::DesignLoopFilter({200000, 80, 224e-6, 5, 12}).selection.labels);

    auto *margin = Find<QLineEdit>(dialog, "phaseMarginEdit");
    margin->setFocus();
    margin->selectAll();
    QTest::keyClicks(margin, "20");
    QTest::keyClick(margin, Qt::Key_Tab);
    EXPECT_EQ(margin->text(), "30");  // the slider's end
    EXPECT_EQ(Find<CBitmapSlider>(dialog, "phaseMarginSlider")->GetPos(), 30);

    bandwidth->setFocus();
    bandwidth->selectAll();
    QTest::keyClicks(bandwidth, "2x");
    QTest::keyClick(bandwidth, Qt::Key_Enter);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_TRUE(dialog.isVisible());

    bandwidth->setText("150");
    QTest::mouseClick(Find<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const core::LoopFilterChoice choice = dialog.Choice();
    EXPECT_EQ(choice.bandwidthHz, 150000.0);
    EXPECT_EQ(choice.phaseMarginDeg, 30.0);
    EXPECT_EQ(choice.r2Code,
              core::DesignLoopFilter({150000, 30, 224e-6, 5, 12}).selection.codes.r2);
}

TEST(LoopFilterDialog, EscapeCancels) {
    ScriptedPrompts prompts;
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(LoopFilterDialog, ResponsePanelWidensAndFollowsTheSliders) {
    ScriptedPrompts prompts;
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QSize folded = dialog.size();
    const QRect okPlace = Find(dialog, "okButton")->geometry();
    QTest::mouseClick(Find<QPushButton>(dialog, "responseButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog.ResponseShown());
    EXPECT_GT(dialog.width(), folded.width());
    // The phase-noise strip runs under the template and the panel.
    EXPECT_GT(dialog.height(), folded.height());
    EXPECT_EQ(Find(dialog, "okButton")->geometry(), okPlace);
    EXPECT_EQ(dialog.screen()->availableGeometry().size(), QSize(1280, 1024));
    EXPECT_TRUE(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()))
        << dialog.frameGeometry().x() << " + " << dialog.frameGeometry().width();

    auto *figures = Find<QTableWidget>(dialog, "responseFigures");
    const auto expectFigures = [&] {
        const auto rows = dialog.Model().ResponseRows();
        ASSERT_EQ(figures->rowCount(), static_cast<int>(rows.size()));
        for (int r = 0; r < figures->rowCount(); ++r) {
            EXPECT_EQ(figures->item(r, 1)->text().toStdString(), rows[r].ideal);
            EXPECT_EQ(figures->item(r, 2)->text().toStdString(), rows[r].chosen);
        }
    };
    expectFigures();
    const QList<QPointF> before = SeriesPoints(dialog, "bodePlot", "chosenMagnitude");
    EXPECT_EQ(before.size(), 200);
    EXPECT_TRUE(testing::SaveScreenshot(dialog, "loop_filter_dlg_response"));

    auto *slider = Find<CBitmapSlider>(dialog, "bandwidthSlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.Choice().bandwidthHz, 380000.0);
    expectFigures();
    EXPECT_NE(SeriesPoints(dialog, "bodePlot", "chosenMagnitude"), before);
    const QList<QPointF> lock = SeriesPoints(dialog, "stepPlot", "chosenLock");
    ASSERT_EQ(lock.size(), 2);
    EXPECT_DOUBLE_EQ(lock[0].x(), dialog.Model().StepPlot().chosenLock->x * 1e6);

    QTest::mouseClick(Find<QPushButton>(dialog, "responseButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.ResponseShown());
    EXPECT_EQ(dialog.size(), folded);
}

TEST(LoopFilterDialog, SavesPointsAndPlotsThroughTheFileChooser) {
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    const QString csv = folder.filePath("bode.csv"), png = folder.filePath("plots.png");
    prompts.files = {csv.toStdString(), png.toStdString(), std::nullopt,
                     folder.filePath("missing/step.csv").toStdString(),
                     folder.filePath("missing/plots.png").toStdString()};
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    dialog.ShowResponse(true);
    QTest::mouseClick(Find<QPushButton>(dialog, "saveBodePointsButton"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog, "savePlotsButton"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog, "saveStepPointsButton"), Qt::LeftButton);  // none
    QTest::mouseClick(Find<QPushButton>(dialog, "saveStepPointsButton"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog, "savePlotsButton"), Qt::LeftButton);

    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), dialog.Model().BodeCsv());
    EXPECT_FALSE(QImage(png).isNull());
    ASSERT_EQ(prompts.saveRequests.size(), 5u);
    EXPECT_EQ(prompts.saveRequests[1].defaultExtension, "png");
    // The unwritable ones, points and picture alike, said so.
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_NE(prompts.shown[0].text.find("missing/step.csv"), std::string::npos);
    EXPECT_NE(prompts.shown[1].text.find("missing/plots.png"), std::string::npos);
}

QStringList FigureNames(QTableWidget &figures) {
    QStringList names;
    for (int r = 0; r < figures.rowCount(); ++r) names << figures.item(r, 0)->text();
    return names;
}

TEST(LoopFilterDialog, PhaseNoisePlotAndJitterRowsFollowTheSliders) {
    QTemporaryDir folder;
    const QString trace = folder.filePath("analyser.csv");
    QFile file(trace);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Offset (Hz),dBc/Hz\n1000,-95\n1e5,-105\n1e7,-150\n");
    file.close();
    ScriptedPrompts prompts;
    prompts.files = {trace.toStdString()};
    CLoopFilterDlg dialog(kDefaultOpening, prompts);
    dialog.show();
    dialog.ShowResponse(true);
    auto *notes = Find<QLabel>(dialog, "noiseNotes");
    EXPECT_TRUE(notes->text().startsWith(core::kNeedInputText));
    EXPECT_FALSE(Find<QPushButton>(dialog, "saveNoisePointsButton")->isEnabled());

    dialog.SetNoisePlan(25.0, 1.0);
    ASSERT_TRUE(Find(dialog, "phaseNoisePlot")->isVisible());
    EXPECT_EQ(SeriesPoints(dialog, "phaseNoisePlot", "chosenTotalNoise").size(), 121);
    EXPECT_EQ(SeriesPoints(dialog, "phaseNoisePlot", "vcoNoise").size(), 121);
    auto *figures = Find<QTableWidget>(dialog, "jitterFigures");
    ASSERT_EQ(FigureNames(*figures),
              QStringList({QString::fromUtf8("RMS jitter 12 kHz\u201320 MHz (fs)"),
                           "Integrated phase (deg)"}));
    const QString jitter = figures->item(0, 2)->text();
    EXPECT_EQ(jitter.toStdString(),
              dialog.findChild<CPhaseNoisePanel *>()->Model().Rows()[0].chosen);
    EXPECT_NE(jitter, "none");
    EXPECT_TRUE(figures->isColumnHidden(3));
    // Every figure's name whole in its column.
    EXPECT_GE(figures->columnWidth(0),
              figures->fontMetrics().horizontalAdvance(figures->item(0, 0)->text()));
    QTest::mouseClick(Find<QPushButton>(dialog, "loadMeasuredButton"), Qt::LeftButton);
    EXPECT_EQ(SeriesPoints(dialog, "phaseNoisePlot", "measuredNoise").size(), 3);
    EXPECT_TRUE(Find<QLabel>(dialog, "measuredFigures")->text().contains("analyser.csv"));
    EXPECT_FALSE(figures->isColumnHidden(3));
    EXPECT_NE(figures->item(0, 3)->text(), "none");
    // The pointer over the plot reads the offset and every curve there, the trace among them.
    auto *plot = Find<CLinePlot>(dialog, "phaseNoisePlot");
    const QPoint middle = plot->rect().center();
    QTest::mouseMove(plot, middle);
    const QStringList readout = plot->Readout(middle);
    ASSERT_FALSE(readout.isEmpty());
    EXPECT_TRUE(readout[0].startsWith("Offset (Hz): ")) << readout[0].toStdString();
    EXPECT_EQ(readout.filter(QRegularExpression("^(Total, chosen|Measured): -\\d+\\.\\d$")).size(),
              2);
    EXPECT_TRUE(plot->Readout(QPoint(1, 1)).isEmpty());
    // From the keyboard too, and assistive technology reads it as the plot's value.
    plot->setFocus();
    QTest::keyClick(plot, Qt::Key_Home);
    EXPECT_EQ(plot->CurrentReadout().value(0), "Offset (Hz): 100");
    QTest::keyClick(plot, Qt::Key_End);
    QTest::keyClick(plot, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(plot->CurrentReadout().value(0), "Offset (Hz): 2.512e+07");
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(plot);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Value), plot->CurrentReadout().join("; "));
    Find(dialog, "bandwidthEdit")->setFocus();
    EXPECT_TRUE(plot->CurrentReadout().isEmpty());
    EXPECT_TRUE(testing::SaveScreenshot(dialog, "loop_filter_dlg_phase_noise"));

    auto *slider = Find<CBitmapSlider>(dialog, "bandwidthSlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home);
    QCoreApplication::processEvents();
    EXPECT_NE(figures->item(0, 2)->text(), jitter);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST(NoiseModelDialog, RefusesAFieldItCannotReadAndRestoresTheDefaults) {
    ScriptedPrompts prompts;
    core::PhaseNoiseParameters start;
    start.temperatureK = 350;
    CNoiseModelDlg dialog(start, prompts);
    dialog.show();
    auto *temperature = Find<QLineEdit>(dialog, "temperatureEdit");
    EXPECT_EQ(temperature->text(), "350");
    EXPECT_TRUE(testing::SaveScreenshot(dialog, "noise_model_dlg"));
    temperature->setText("hot");
    QTest::mouseClick(Find<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Temperature (K) must be a number."});

    QTest::mouseClick(Find<QPushButton>(dialog, "restoreDefaultsButton"), Qt::LeftButton);
    EXPECT_EQ(temperature->text(), "300");
    QTest::mouseClick(Find<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Parameters().temperatureK, 300);
    EXPECT_EQ(dialog.Parameters().vcoPoints.size(), 5u);
}

}  // namespace
}  // namespace velorin::gui
