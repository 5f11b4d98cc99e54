// Request round trip over an emulated USB device (umockdev; run with its preload library, as
// scripts/run-benchmarks does) beside the same request over an endpoint socket.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "sim/usb/usb_board.h"
#include "support/bench_board.h"
#include "velorin.h"

namespace {

// Opens with the discovery lines kept off the benchmark table.
int QuietOpen() {
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    const int result = Velorin_OpenUsbDevice();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(null);
    return result;
}

void Measure(benchmark::State &state) {
    uint8_t value = 0;
    for (auto _ : state) {
        if (Velorin_ReadPort(0, &value) != 0) state.SkipWithError("request failed");
        benchmark::DoNotOptimize(value);
    }
}

void UsbRequestRoundTrip(benchmark::State &state) {
    velorin::sim::UsbTestbed testbed;
    if (!testbed.Active()) {
        state.SkipWithError("not under umockdev (LD_PRELOAD=libumockdev-preload.so.0)");
        return;
    }
    ::setenv("VELORIN_DEVICE_DIR", "/nonexistent/velorin-bench", 1);
    ::setenv("VELORIN_USB_IDS", "feed:0817", 1);
    velorin::sim::UsbBoardOptions options;
    options.vendor = 0xfeed;
    options.product = 0x0817;
    velorin::sim::UsbBoard board(testbed, options);
    std::string error;
    if (!board.Plug(error) || QuietOpen() != 0) {
        state.SkipWithError(("no USB board: " + error).c_str());
        return;
    }
    Measure(state);
    Velorin_CloseUsbDevice();
}
BENCHMARK(UsbRequestRoundTrip)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void EndpointRequestRoundTrip(benchmark::State &state) {
    ::setenv("VELORIN_USB_IDS", "", 1);
    velorin::bench::BenchBoard board;
    if (!board.ok()) {
        state.SkipWithError("no board");
        return;
    }
    Measure(state);
}
BENCHMARK(EndpointRequestRoundTrip)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
