#include "core/loopfilter/loop_filter.h"

namespace velorin::core {

LoopFilterDesign DesignLoopFilter(const LoopFilterRequest &request) {
    LoopFilterDesign design;
    design.status =
        ComputeLoopFilter(request.bandwidthHz, request.phaseMarginDeg, request.chargePumpA,
                          request.prescaler, request.feedbackDivider, design.ideal);
    if (design.status != 0) return design;
    design.selection = SelectLoopFilterComponents(design.ideal);
    design.controlWord = LoopFilterControlWord(design.selection.codes);
    return design;
}

}  // namespace velorin::core
