// A 64 KiB board firmware download (file, write phase, verify phase) through the library and
// the emulator over a real endpoint.
#include "core/app/firmware_download.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/device/library_board.h"
#include "sim/emulator.h"
#include "velorin.h"

namespace {

class QuietPrompts : public velorin::core::Prompts {
  public:
    velorin::core::MessageAnswer ShowMessage(const velorin::core::Message &message) override {
        last = message.text;
        return velorin::core::MessageAnswer::Ok;
    }
    bool ConfirmLock() override { return false; }
    bool AskPassword() override { return false; }
    std::optional<std::string> ChooseFileToOpen(const velorin::core::FileRequest &) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFileToSave(const velorin::core::FileRequest &) override {
        return std::nullopt;
    }
    std::string last;
};

class EmulatedBoard {
  public:
    EmulatedBoard() {
        char pattern[] = "/tmp/velorin-bench-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        velorin::sim::EmulatorOptions options;
        options.deviceDir = dir_ + "/dev";
        emulator_ = std::make_unique<velorin::sim::Emulator>(options);
        std::string error;
        if (!emulator_->Start(error)) std::fprintf(stderr, "%s\n", error.c_str());
        ::setenv("VELORIN_DEVICE_DIR", options.deviceDir.c_str(), 1);
        // The library's discovery lines would mix with the benchmark table.
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ok_ = board_.Open();
        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(null);
    }
    ~EmulatedBoard() {
        board_.Close();
        emulator_->Stop();
        std::filesystem::remove_all(dir_);
    }
    bool ok() const { return ok_; }
    velorin::core::Board &board() { return board_; }
    const std::string &dir() const { return dir_; }

  private:
    std::string dir_;
    std::unique_ptr<velorin::sim::Emulator> emulator_;
    velorin::core::LibraryBoard board_;
    bool ok_ = false;
};

void FirmwareDownload64KiB(benchmark::State &state) {
    EmulatedBoard emulated;
    if (!emulated.ok()) {
        state.SkipWithError("no board");
        return;
    }
    const std::string path = emulated.dir() + "/MXR817_Eval_Fw.bin";
    {
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < velorin::core::kMaxFirmwareSize; ++i) {
            out.put(static_cast<char>(i * 13 + 5));
        }
    }
    QuietPrompts prompts;
    int repaints = 0;
    const velorin::core::FirmwareObserver observer{[](const std::string &) {},
                                                   [&repaints](int) { ++repaints; }};
    for (auto _ : state) {
        const auto result =
            velorin::core::DownloadFirmware(emulated.board(), prompts, path, observer);
        if (result.outcome != velorin::core::FirmwareOutcome::Succeeded) {
            state.SkipWithError(prompts.last.c_str());
        }
    }
    state.counters["requests"] = 1 + 2 * 65536;
    state.counters["repaints"] = benchmark::Counter(repaints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(FirmwareDownload64KiB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
