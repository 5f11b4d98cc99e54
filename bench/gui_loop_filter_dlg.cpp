// What the loop-filter dialog does for one slider notification, offscreen: the design and
// analysis, every control and the plots brought up to date, and the window painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "gui/app/qt_prompts.h"
#include "gui/planning/loop_filter_dlg.h"
#include "gui/widgets/bitmap_slider.h"
#include "support/bench_screen.h"

namespace {

using velorin::gui::CBitmapSlider;
using velorin::gui::CLoopFilterDlg;

// One Page Down on the bandwidth slider (Home once it reached the end), handled as the
// dialog handles it, then a synchronous paint of the whole window.
void SliderStep(CLoopFilterDlg &dialog, CBitmapSlider &slider) {
    const int key = slider.GetPos() >= slider.GetRangeMax() ? Qt::Key_Home : Qt::Key_PageDown;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&slider, &press);
    QCoreApplication::processEvents();  // the posted notification
    dialog.repaint();
}

enum class Noise { Drawn, Waiting, Hidden };

// With an input frequency the response panel also works out and draws the phase noise;
// without one the strip waits for it; hidden, the dialog paints the two plots of before.
void Run(benchmark::State &state, bool widened, Noise noise = Noise::Waiting) {
    velorin::gui::QtPrompts prompts;
    CLoopFilterDlg dialog(velorin::core::LoopFilterRequest{}, prompts);
    if (noise == Noise::Drawn) dialog.SetNoisePlan(25.0, 1.0);
    dialog.ShowResponse(widened);
    if (noise == Noise::Hidden) dialog.findChild<QWidget *>("phaseNoisePanel")->hide();
    dialog.show();
    QCoreApplication::processEvents();
    auto *slider = dialog.findChild<CBitmapSlider *>("bandwidthSlider");
    for (auto _ : state) SliderStep(dialog, *slider);
    dialog.close();
}

void BM_SliderNotificationFolded(benchmark::State &state) {
    Run(state, false);
}
BENCHMARK(BM_SliderNotificationFolded)->Unit(benchmark::kMillisecond);

void BM_SliderNotificationWithResponse(benchmark::State &state) {
    Run(state, true);
}
BENCHMARK(BM_SliderNotificationWithResponse)->Unit(benchmark::kMillisecond);

void BM_SliderNotificationWithPhaseNoise(benchmark::State &state) {
    Run(state, true, Noise::Drawn);
}
BENCHMARK(BM_SliderNotificationWithPhaseNoise)->Unit(benchmark::kMillisecond);

void BM_SliderNotificationTwoPlotsOnly(benchmark::State &state) {
    Run(state, true, Noise::Hidden);
}
BENCHMARK(BM_SliderNotificationTwoPlotsOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    const QTemporaryDir screen;
    velorin::bench::UseBenchScreen(screen);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
