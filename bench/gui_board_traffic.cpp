// The Board Traffic window's cost: a 64 KiB firmware download through the program's board
// with the window closed and open (poll hidden), and on the window's thread the recording of
// one call and the window's share of one row in its batches, with the ring full.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "core/app/firmware_download.h"
#include "core/device/library_board.h"
#include "core/trace/tracing_board.h"
#include "gui/app/application.h"
#include "gui/app/main_frame.h"
#include "gui/planning/main_view.h"
#include "gui/trace/board_traffic_dock.h"
#include "gui/trace/traffic_table_model.h"
#include "support/bench_board.h"
#include "support/bench_screen.h"
#include "support/quiet_prompts.h"

namespace {

using velorin::bench::QuietPrompts;
namespace core = velorin::core;
namespace gui = velorin::gui;

std::string FirmwareImage(const std::string &dir) {
    std::string path = dir + "/MXR817_Eval_Fw.bin";
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < core::kMaxFirmwareSize; ++i) out.put(static_cast<char>(i * 13 + 5));
    return path;
}

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The whole program with the emulated board.
struct Program {
    Program() : app(prompts) {
        gui::UseMainView(app);
        app.InitInstance({"QVVelorinCtrlGui"});
        dock = app.MainFrame()->findChild<gui::CBoardTrafficDock *>("boardTrafficDock");
    }
    ~Program() { app.MainFrame()->close(); }
    QuietPrompts prompts;
    gui::CQVVelorinCtrlGuiApp app;
    gui::CBoardTrafficDock *dock = nullptr;
};

void Download(benchmark::State &state, core::Board &board, const std::string &path,
              QuietPrompts &prompts) {
    const core::FirmwareObserver observer{[](const std::string &) {}, [](int) {}};
    const auto result = core::DownloadFirmware(board, prompts, path, observer);
    if (result.outcome != core::FirmwareOutcome::Succeeded)
        state.SkipWithError(prompts.last.c_str());
}

void FirmwareDownloadBareLibrary(benchmark::State &state) {
    velorin::bench::BenchBoard emulated;
    const std::string path = FirmwareImage(emulated.dir());
    core::LibraryBoard board;
    QuietPrompts prompts;
    for (auto _ : state) Download(state, board, path, prompts);
}
BENCHMARK(FirmwareDownloadBareLibrary)->Unit(benchmark::kMillisecond)->Iterations(3);

// Downloads through the program's board, the window closed and open by turns, so that the
// shared machine's drift falls on both alike. With the window open the download holds the
// event loop, and its rows reach the table in the batch after it: that batch and the repaint
// are counted. Opening the window (which takes the closed run's rows) is not.
void FirmwareDownloadWindowClosedAndOpen(benchmark::State &state) {
    velorin::bench::BenchBoard emulated;
    const std::string path = FirmwareImage(emulated.dir());
    Program program;
    core::Board &board = program.app.Services().board;
    double closedMs = 0, openMs = 0;
    for (auto _ : state) {
        program.dock->hide();
        QApplication::processEvents();
        const auto t0 = Clock::now();
        Download(state, board, path, program.prompts);
        QApplication::processEvents();
        closedMs += Ms(Clock::now() - t0);

        program.dock->show();
        QApplication::processEvents();
        const auto t1 = Clock::now();
        Download(state, board, path, program.prompts);
        program.dock->Sync();
        QApplication::processEvents();
        openMs += Ms(Clock::now() - t1);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["closed_ms"] = closedMs / n;
    state.counters["open_ms"] = openMs / n;
    state.counters["open/closed"] = openMs / closedMs;
    state.counters["rows"] = program.dock->Model().rowCount();
}
BENCHMARK(FirmwareDownloadWindowClosedAndOpen)->Unit(benchmark::kMillisecond)->Iterations(4);

// A board that answers every call at once: what is left is the recording.
class InstantBoard final : public core::Board {
  public:
    bool Open() override { return true; }
    bool Close() override { return true; }
    bool SetI2CDeviceAddress(int32_t, uint8_t) override { return true; }
    bool WritePort(uint16_t, uint8_t) override { return true; }
    bool ReadPort(uint16_t, uint8_t &value) override {
        value = 0;
        return true;
    }
    bool GetEvmId(uint8_t &id) override {
        id = 4;
        return true;
    }
    bool WriteOneWire(uint16_t, uint8_t) override { return true; }
    bool WriteToRam(int32_t) override { return true; }
    bool WriteOneWord(int32_t, uint16_t, uint8_t) override { return true; }
    bool ReadBack(uint16_t) override { return true; }
    bool UnlockEeprom(uint16_t) override { return true; }
    bool WriteI2C(uint16_t, std::span<const uint8_t>) override { return true; }
    bool ReadI2C(uint16_t, std::span<uint8_t>) override { return true; }
    bool ReadDataBack(uint16_t, std::span<uint8_t>) override { return true; }
};

void FillRing(core::Board &board, size_t calls) {
    const uint8_t byte = 0x5A;
    for (size_t i = 0; i < calls; ++i) board.WriteI2C(static_cast<uint16_t>(i), {&byte, 1});
}

// One firmware write recorded into a full ring.
void RecordOneCall(benchmark::State &state) {
    InstantBoard instant;
    core::TrafficLog log;
    core::TracingBoard board(instant, log);
    FillRing(board, log.Capacity());
    const uint8_t byte = 0x5A;
    uint16_t address = 0;
    for (auto _ : state) benchmark::DoNotOptimize(board.WriteI2C(address++, {&byte, 1}));
}
BENCHMARK(RecordOneCall);

// The main frame with the traffic window open over a board that answers at once.
struct OpenWindow {
    InstantBoard instant;
    core::TrafficLog log;
    core::TracingBoard board{instant, log};
    QuietPrompts prompts;
    gui::CMainFrame frame;
    gui::CBoardTrafficDock *dock = gui::InstallBoardTrafficDock(frame, log, prompts);

    OpenWindow() {
        dock->show();
        frame.show();
    }
    ~OpenWindow() { frame.close(); }
    OpenWindow(const OpenWindow &) = delete;
    OpenWindow &operator=(const OpenWindow &) = delete;
};

// The window's batches with the ring full: each takes `batch` new rows, lets the old ones
// the ring dropped go, and repaints the table following the newest rows. Per row, with the
// batch's time split into the model's update and the repaint.
void WindowBatchPerRow(benchmark::State &state) {
    const auto batch = static_cast<size_t>(state.range(0));
    OpenWindow window;
    core::TracingBoard &board = window.board;
    core::TrafficLog &log = window.log;
    gui::CBoardTrafficDock *dock = window.dock;
    FillRing(board, log.Capacity());
    dock->Sync();
    QApplication::processEvents();
    double syncUs = 0, paintUs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FillRing(board, batch);
        state.ResumeTiming();
        const auto t0 = Clock::now();
        dock->Sync();
        const auto t1 = Clock::now();
        QApplication::processEvents();
        syncUs += 1000 * Ms(t1 - t0);
        paintUs += 1000 * Ms(Clock::now() - t1);
    }
    state.counters["sync_us"] = syncUs / state.iterations();
    state.counters["paint_us"] = paintUs / state.iterations();
    state.counters["per_row_us"] = benchmark::Counter(
        static_cast<double>(batch) * 1e-6,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
// At the window's ten batches a second: 100, 900, 3,000 and 19,000 rows a batch are 1,000,
// 9,000, 30,000 and 190,000 requests a second (the emulated board answers about 190,000).
BENCHMARK(WindowBatchPerRow)
    ->Arg(100)
    ->Arg(900)
    ->Arg(3000)
    ->Arg(19000)
    ->Unit(benchmark::kMicrosecond);

// A firmware download's 131,073 calls recorded while the open window waits for the event
// loop, then its one batch: the window's share per request.
void DownloadBatchPerRequest(benchmark::State &state) {
    constexpr size_t kDownloadCalls = 1 + 2 * 65536;
    OpenWindow window;
    core::TracingBoard &board = window.board;
    gui::CBoardTrafficDock *dock = window.dock;
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        FillRing(board, kDownloadCalls);
        state.ResumeTiming();
        dock->Sync();
        QApplication::processEvents();
    }
    state.counters["per_request_us"] = benchmark::Counter(
        static_cast<double>(kDownloadCalls) * 1e-6,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(DownloadBatchPerRequest)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// The application lives in main(): the benchmarks' windows are gone before it goes.
int main(int argc, char **argv) {
    const QTemporaryDir screen;
    velorin::bench::UseBenchScreen(screen);
    // The window's place is kept in the settings: not in the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
