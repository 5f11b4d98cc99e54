// The main view on the window's thread: one poll tick against the emulated board, the worst
// tick against a board that takes connections but never answers, and the start of the whole
// program up to the shown main view (offscreen) with its resident memory.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/device/library_board.h"
#include "gui/app/application.h"
#include "gui/app/main_frame.h"
#include "gui/planning/main_view.h"
#include "support/bench_board.h"
#include "support/bench_screen.h"
#include "support/quiet_prompts.h"
#include "velorin.h"

namespace {

using Clock = std::chrono::steady_clock;

using velorin::bench::QuietPrompts;

class NoSleep : public velorin::core::Sleeper {
  public:
    void Sleep(int) override {}
};

QApplication &Application() {
    static int argc = 1;
    static char name[] = "bench_gui_main_view";
    static char *argv[] = {name, nullptr};
    static const QTemporaryDir screen;
    velorin::bench::UseBenchScreen(screen);
    static QApplication app(argc, argv);
    return app;
}

struct ViewUnderTest {
    ViewUnderTest() : view(services, frame) {
        frame.SetView(&view);
        view.OnInitialUpdate();
    }
    ~ViewUnderTest() { frame.TakeView(); }
    QuietPrompts prompts;
    NoSleep sleeper;
    velorin::core::LibraryBoard board;
    velorin::core::RegisterImage image;
    velorin::gui::ProgramServices services{board, prompts, sleeper, image};
    velorin::gui::CMainFrame frame;
    velorin::gui::CGuiView view;
};

void PollTick(benchmark::State &state) {
    Application();
    velorin::bench::BenchBoard board;
    if (!board.ok()) {
        state.SkipWithError("no board");
        return;
    }
    ViewUnderTest v;
    v.view.findChild<QWidget *>("inputFrequencyEdit")->setProperty("text", "31.25");
    for (auto _ : state) v.view.PollBoard();
}
BENCHMARK(PollTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// A board server that takes every connection into its backlog and never answers.
class SilentBoard {
  public:
    SilentBoard() {
        char pattern[] = "/tmp/velorin-bench-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        std::filesystem::create_directory(dir_ + "/dev");
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = dir_ + "/dev/board0";
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        ok_ = ::bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0 &&
              ::listen(fd_, 64) == 0;
        ::setenv("VELORIN_DEVICE_DIR", (dir_ + "/dev").c_str(), 1);
    }
    ~SilentBoard() {
        ::close(fd_);
        std::filesystem::remove_all(dir_);
    }

    bool ok() const { return ok_; }

  private:
    std::string dir_;
    int fd_ = -1;
    bool ok_ = false;
};

void PollTickOnSilentBoard(benchmark::State &state) {
    Application();
    // The program's own request timeout.
    ::setenv("VELORIN_REQUEST_TIMEOUT_MS", "100", 1);
    SilentBoard silent;
    if (!silent.ok()) {
        state.SkipWithError("no silent board");
        return;
    }
    std::fflush(stdout);
    Velorin_OpenUsbDevice();
    ViewUnderTest v;
    double worst = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        v.view.PollBoard();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        worst = std::max(worst, ms);
    }
    state.counters["worst_ms"] = worst;
    Velorin_CloseUsbDevice();
    ::unsetenv("VELORIN_REQUEST_TIMEOUT_MS");
}
BENCHMARK(PollTickOnSilentBoard)->Unit(benchmark::kMillisecond)->Iterations(6);

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// The whole start-up of the program, as main() runs it, until the main view has been shown.
void StartToShownMainView(benchmark::State &state) {
    Application();
    velorin::bench::BenchBoard board;
    bool first = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        QuietPrompts prompts;
        velorin::gui::CQVVelorinCtrlGuiApp program(prompts);
        velorin::gui::UseMainView(program);
        program.InitInstance({"QVVelorinCtrlGui"});
        QApplication::processEvents();
        state.PauseTiming();
        if (first) {
            // The first start is the cold one: fonts, styles and plugins are loaded then.
            state.counters["first_ms"] =
                std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            first = false;
        }
        state.counters["rss_MiB"] = static_cast<double>(ResidentKiB()) / 1024.0;
        program.MainFrame()->close();
        state.ResumeTiming();
    }
}
BENCHMARK(StartToShownMainView)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
