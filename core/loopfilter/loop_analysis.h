// What the chosen loop-filter components really give, next to the ideal design, with the
// warnings a bench engineer should see before using them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/loopfilter/loop_filter.h"
#include "core/loopfilter/loop_model.h"
#include "core/loopfilter/loop_response.h"

namespace velorin::core {

struct LoopAnalysisOptions {
    std::vector<double> lockTolerances{1e-2};
    // Input (= phase-comparison) frequency; when given, a crossover above a tenth of it warns.
    std::optional<double> inputMHz;
};

struct LoopModels {
    LoopModel ideal;
    LoopModel chosen;
};

struct LoopAnalysis {
    int designStatus = -1;
    std::optional<LoopResponse> ideal;  // none when the design failed
    std::optional<LoopResponse> chosen;
    std::vector<std::string> warnings;
};

// Models of the ideal and the chosen components; both undefined when the design failed.
LoopModels MakeLoopModels(const LoopFilterRequest &request, const LoopFilterDesign &design);

LoopAnalysis AnalyzeLoopFilter(const LoopFilterRequest &request, const LoopFilterDesign &design,
                               const LoopAnalysisOptions &options = {});

}  // namespace velorin::core
