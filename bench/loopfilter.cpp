// Loop-filter design speed: the dialog recomputes on every slider notification.
#include <benchmark/benchmark.h>

#include "core/loopfilter/bode_data.h"
#include "core/loopfilter/loop_analysis.h"
#include "core/loopfilter/loop_filter.h"
#include "core/loopfilter/loop_filter_design.h"
#include "core/loopfilter/phase_noise_analysis.h"

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

// What the dialog redraws on each slider step: design, analysis of both component sets with
// all three lock tolerances, and the Bode data set.
void BM_FullAnalysis(benchmark::State &state) {
    LoopFilterRequest request;
    LoopAnalysisOptions options;
    options.lockTolerances = {1e-2, 1e-4, 1e-6};
    for (auto _ : state) {
        const LoopFilterDesign design = DesignLoopFilter(request);
        LoopAnalysis analysis = AnalyzeLoopFilter(request, design, options);
        const LoopModels models = MakeLoopModels(request, design);
        auto bode = ComputeBodeData(models.ideal, models.chosen);
        benchmark::DoNotOptimize(analysis);
        benchmark::DoNotOptimize(bode);
        request.bandwidthHz = request.bandwidthHz >= 400e3 ? 50e3 : request.bandwidthHz + 10e3;
    }
}
BENCHMARK(BM_FullAnalysis)->Unit(benchmark::kMicrosecond);

// The phase noise the dialog adds on each slider step: both component sets' curves by
// contributor at 121 offsets and their jitter.
void BM_PhaseNoiseAnalysis(benchmark::State &state) {
    LoopFilterRequest request;
    const PhaseNoiseParameters parameters;
    for (auto _ : state) {
        const LoopFilterDesign design = DesignLoopFilter(request);
        PhaseNoiseAnalysis noise = AnalyzePhaseNoise(request, design, parameters, 25e6, 1);
        benchmark::DoNotOptimize(noise);
        request.bandwidthHz = request.bandwidthHz >= 400e3 ? 50e3 : request.bandwidthHz + 10e3;
    }
}
BENCHMARK(BM_PhaseNoiseAnalysis)->Unit(benchmark::kMicrosecond);

}  // namespace
