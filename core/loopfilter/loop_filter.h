// One call from the dialog's inputs to everything it shows and stores: the ideal components,
// the chosen codes and values, the five texts and the loop-filter control word.
#pragma once

#include <cstdint>

#include "core/loopfilter/component_selection.h"
#include "core/loopfilter/loop_filter_design.h"

namespace velorin::core {

struct LoopFilterRequest {
    double bandwidthHz = 400000.0;
    double phaseMarginDeg = 80.0;
    double chargePumpA = 224e-6;
    double prescaler = 5.0;
    double feedbackDivider = 12.0;
};

struct LoopFilterDesign {
    int status = -1;             // ComputeLoopFilter's status
    LoopFilterComponents ideal;  // valid when status is 0
    LoopFilterSelection selection;
    uint32_t controlWord = 0;  // bits 0-18 only
};

// On failure only `status` is meaningful. The dialog keeps showing its previous design then,
// which is what reusing its previous ideal values would give.
LoopFilterDesign DesignLoopFilter(const LoopFilterRequest &request);

}  // namespace velorin::core
