// A 64 KiB board firmware download (file, write phase, verify phase) through the library and
// the emulator over a real endpoint.
#include "core/app/firmware_download.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/device/library_board.h"
#include "support/bench_board.h"
#include "support/quiet_prompts.h"
#include "velorin.h"

namespace {

using velorin::bench::QuietPrompts;

// The library's connection is process-wide: the board opened by BenchBoard serves this one.
class EmulatedBoard : public velorin::bench::BenchBoard {
  public:
    velorin::core::Board &board() { return board_; }

  private:
    velorin::core::LibraryBoard board_;
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
