// The noise-model parameters kept in the program's settings between runs.
#pragma once

#include "core/loopfilter/phase_noise_model.h"

namespace velorin::gui {

// The kept parameters; the defaults for whatever is missing or cannot be read.
core::PhaseNoiseParameters LoadNoiseModel();
void SaveNoiseModel(const core::PhaseNoiseParameters &parameters);

}  // namespace velorin::gui
