// The display step of the loop-filter dialog: each ideal component snapped to a selectable
// value, with its code and the text shown beside the schematic.
#pragma once

#include <string>

#include "core/device/loop_filter_word.h"
#include "core/loopfilter/loop_filter_design.h"

namespace velorin::core {

struct LoopFilterLabels {
    std::string c1;  // "%0.1fpf" of the chosen value
    std::string c2;
    std::string c3;
    std::string r2;  // "%0.1fk" of the chosen value in kOhm
    std::string r3;  // "%0.1fk" of R3 / 1000
};

struct LoopFilterSelection {
    LoopFilterCodes codes;
    LoopFilterComponents chosen;  // table values of the codes in F and Ohm; R3 as given
    LoopFilterLabels labels;
};

// C1, C2 and C3 by NearestAscending over their tables in pF, R2 by NearestDescending in kOhm.
LoopFilterSelection SelectLoopFilterComponents(const LoopFilterComponents &ideal);

}  // namespace velorin::core
