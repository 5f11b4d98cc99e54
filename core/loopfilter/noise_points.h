// Phase-noise curves given as points (offset, dBc/Hz): joined by straight lines in
// (log10 offset, dB) and held flat beyond the first and the last point, and written as the
// "OFFSET:DBC,OFFSET:DBC" text that the command line and the settings use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin::core {

struct NoisePoint {
    double offsetHz = 0.0;
    double dbc = 0.0;  // dBc/Hz, single sideband
};

// The curve's value at the offset; NaN for an empty curve or an offset that is not positive.
// The points must be in ascending order of offset (CheckNoisePoints).
double InterpolateNoise(const std::vector<NoisePoint> &points, double offsetHz);

// Empty when the points make a curve: at least one, offsets positive and strictly ascending,
// every value finite. Otherwise why not, naming the first point at fault (counted from 1).
std::string CheckNoisePoints(const std::vector<NoisePoint> &points);

// A whole decimal number with optional sign, point and exponent, blanks around it allowed;
// nothing else may follow. The decimal mark is always the point, whatever the locale.
std::optional<double> ReadDecimal(std::string_view text);

struct NoisePointsText {
    std::vector<NoisePoint> points;
    std::string error;  // empty when the text was read
};

// "1e4:-84, 1e5:-109": pairs separated by commas, offset and value by a colon; the pairs
// must also pass CheckNoisePoints.
NoisePointsText ReadNoisePoints(std::string_view text);
std::string FormatNoisePoints(const std::vector<NoisePoint> &points);

// A number the way the curves and their files write it: "%.9g" with a point for decimal mark.
std::string NoiseNumber(double value);

}  // namespace velorin::core
