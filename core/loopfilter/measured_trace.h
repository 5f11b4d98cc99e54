// A phase-noise analyser's export: offset in Hz and dBc/Hz in the first two columns, separated
// by commas, semicolons or tabs. Lines that do not begin with a number (headers, comments,
// units) are passed over; a line that begins with one must hold the pair, in ascending offset.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/loopfilter/noise_points.h"

namespace velorin::core {

struct MeasuredTrace {
    std::string name;  // the file's name, for the legend and the figures
    std::vector<NoisePoint> points;
};

struct MeasuredTraceRead {
    MeasuredTrace trace;  // no points when the text could not be read
    std::string error;    // empty when it was read
};

// Exports larger than this are refused rather than read in part.
inline constexpr size_t kMeasuredTraceMaxBytes = 16u << 20;

MeasuredTraceRead ReadMeasuredTrace(std::string_view text);
MeasuredTraceRead LoadMeasuredTrace(const std::string &path);

}  // namespace velorin::core
