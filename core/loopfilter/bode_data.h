// Bode data of the ideal and the chosen loop at log-spaced frequencies.
#pragma once

#include <string>
#include <vector>

#include "core/loopfilter/loop_model.h"

namespace velorin::core {

struct BodeValues {
    double openLoopDb = 0.0;
    double openLoopPhaseDeg = 0.0;
    double closedLoopDb = 0.0;  // N GH / (1 + GH), so N in dB at low frequencies
};

struct BodePoint {
    double frequencyHz = 0.0;
    BodeValues ideal;  // NaN throughout when that loop is undefined
    BodeValues chosen;
};

struct BodeOptions {
    double startHz = 1e3;
    double stopHz = 1e8;
    int points = 200;
};

// Empty when the options make no range (points < 2, or start not below stop, or not positive).
std::vector<BodePoint> ComputeBodeData(const LoopModel &ideal, const LoopModel &chosen,
                                       const BodeOptions &options = {});

// A header line, then one line per point; values that do not exist are left empty.
std::string FormatBodeCsv(const std::vector<BodePoint> &points);

}  // namespace velorin::core
