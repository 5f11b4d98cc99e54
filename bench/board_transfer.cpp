// Request round trip and a full 64 KiB board-EEPROM write and read-back, through the library
// and the emulator over a real endpoint.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "sim/emulator.h"
#include "velorin.h"

namespace {

class Board {
  public:
    Board() {
        char pattern[] = "/tmp/velorin-bench-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        velorin::sim::EmulatorOptions options;
        options.deviceDir = dir_;
        emulator_ = std::make_unique<velorin::sim::Emulator>(options);
        std::string error;
        if (!emulator_->Start(error)) std::fprintf(stderr, "%s\n", error.c_str());
        ::setenv("VELORIN_DEVICE_DIR", dir_.c_str(), 1);
        // The library's discovery lines would mix with the benchmark table.
        std::fflush(stdout);
        int saved = ::dup(STDOUT_FILENO);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ok_ = Velorin_OpenUsbDevice() == 0;
        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(null);
    }
    ~Board() {
        Velorin_CloseUsbDevice();
        emulator_->Stop();
        std::filesystem::remove_all(dir_);
    }
    bool ok() const { return ok_; }

  private:
    std::string dir_;
    std::unique_ptr<velorin::sim::Emulator> emulator_;
    bool ok_ = false;
};

void RequestRoundTrip(benchmark::State &state) {
    Board board;
    if (!board.ok()) {
        state.SkipWithError("no board");
        return;
    }
    uint8_t value = 0;
    for (auto _ : state) {
        if (Velorin_ReadPort(0, &value) != 0) state.SkipWithError("request failed");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(RequestRoundTrip)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void Eeprom64KiBWriteAndReadBack(benchmark::State &state) {
    Board board;
    if (!board.ok()) {
        state.SkipWithError("no board");
        return;
    }
    std::vector<uint8_t> image(65536), back(65536);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
    Velorin_SetI2CDeviceAddress(0xA0, 3);
    for (auto _ : state) {
        if (Velorin_WriteI2C(0, 65536, image.data()) != 0 ||
            Velorin_ReadI2C(0, 65536, back.data()) != 0 || back != image) {
            state.SkipWithError("transfer failed");
        }
    }
    state.counters["requests"] = 131072;
}
BENCHMARK(Eeprom64KiBWriteAndReadBack)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
