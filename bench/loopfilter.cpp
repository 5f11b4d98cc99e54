// Loop-filter design speed: the dialog recomputes on every slider notification.
#include <benchmark/benchmark.h>

#include "core/loopfilter/loop_filter.h"
#include "core/loopfilter/loop_filter_design.h"

namespace {

using namespace velorin::core;

void BM_ComputeLoopFilter(benchmark::State &state) {
    double bandwidth = 50e3;
    for (auto _ : state) {
        LoopFilterComponents out;
        benchmark::DoNotOptimize(ComputeLoopFilter(bandwidth, 80, 224e-6, 5, 12, out));
        benchmark::DoNotOptimize(out);
        bandwidth = bandwidth >= 400e3 ? 50e3 : bandwidth + 1000;
    }
}
BENCHMARK(BM_ComputeLoopFilter);

void BM_DesignLoopFilter(benchmark::State &state) {
    LoopFilterRequest request;
    for (auto _ : state) {
        LoopFilterDesign design = DesignLoopFilter(request);
        benchmark::DoNotOptimize(design);
        request.phaseMarginDeg = request.phaseMarginDeg >= 80 ? 30 : request.phaseMarginDeg + 1;
    }
}
BENCHMARK(BM_DesignLoopFilter);

}  // namespace
