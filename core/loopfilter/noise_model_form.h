// The noise-model parameters as texts: the fields and point tables of the noise-model dialog,
// and the entries the program keeps them in between runs.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/loopfilter/phase_noise_model.h"

namespace velorin::core {

struct NoiseModelTexts {
    std::string pfdFom;
    std::string pfdFlicker;
    std::string temperature;
    std::string bandLow;
    std::string bandHigh;
    std::vector<std::pair<std::string, std::string>> vcoRows;  // offset in Hz, dBc/Hz
    std::vector<std::pair<std::string, std::string>> referenceRows;
};

NoiseModelTexts NoiseModelToTexts(const PhaseNoiseParameters &parameters);

struct NoiseModelRead {
    PhaseNoiseParameters parameters;
    std::string error;  // empty when every field was read; names the first that was not
};

// Blank table rows are passed over and the rest put in ascending order of offset, so that a
// row added at the end lands where it belongs.
NoiseModelRead ReadNoiseModelTexts(const NoiseModelTexts &texts);

// The stored entries: key to text.
std::map<std::string, std::string> NoiseModelToStored(const PhaseNoiseParameters &parameters);
// Each entry that is missing or cannot be read keeps its default, and a set that does not hold
// together as a whole (a band upside down) gives the defaults: a bad entry never stops the
// program or the dialog.
PhaseNoiseParameters NoiseModelFromStored(const std::map<std::string, std::string> &stored);

}  // namespace velorin::core
