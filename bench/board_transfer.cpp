// Request round trip and a full 64 KiB board-EEPROM write and read-back, through the library
// and the emulator over a real endpoint.
#include <benchmark/benchmark.h>

#include <vector>

#include "support/bench_board.h"
#include "velorin.h"

namespace {

using Board = velorin::bench::BenchBoard;

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
