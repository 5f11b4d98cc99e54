#include "core/loopfilter/bode_data.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace velorin::core {

namespace {

BodeValues Values(const LoopModel &m, double w) {
    if (!m.defined) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan, nan};
    }
    const std::complex<double> gh = OpenLoop(m, w);
    return {20.0 * std::log10(OpenLoopMagnitude(m, w)), OpenLoopPhaseDeg(m, w),
            20.0 * std::log10(m.divider * std::abs(gh / (1.0 + gh)))};
}

// "%.9g" with a point as the decimal mark whatever the process locale, so that the file stays
// a comma-separated table.
std::string Number(double value) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::general, 9);
    return std::string(text, result.ptr);
}

void Append(std::string &line, double value) {
    line += ',';
    if (std::isfinite(value)) line += Number(value);
}

}  // namespace

std::vector<BodePoint> ComputeBodeData(const LoopModel &ideal, const LoopModel &chosen,
                                       const BodeOptions &options) {
    std::vector<BodePoint> points;
    if (options.points < 2 || !(options.startHz > 0.0) || !(options.stopHz > options.startHz) ||
        !std::isfinite(options.stopHz)) {
        return points;
    }
    const double logStart = std::log10(options.startHz);
    const double logStep = (std::log10(options.stopHz) - logStart) / (options.points - 1);
    points.reserve(options.points);
    for (int i = 0; i < options.points; ++i) {
        BodePoint p;
        p.frequencyHz = std::pow(10.0, logStart + logStep * i);
        const double w = 2.0 * M_PI * p.frequencyHz;
        p.ideal = Values(ideal, w);
        p.chosen = Values(chosen, w);
        points.push_back(p);
    }
    return points;
}

std::string FormatBodeCsv(const std::vector<BodePoint> &points) {
    std::string csv =
        "frequencyHz,idealOpenLoopDb,idealOpenLoopPhaseDeg,idealClosedLoopDb,"
        "chosenOpenLoopDb,chosenOpenLoopPhaseDeg,chosenClosedLoopDb\n";
    for (const BodePoint &p : points) {
        std::string line = Number(p.frequencyHz);
        for (const BodeValues *v : {&p.ideal, &p.chosen}) {
            Append(line, v->openLoopDb);
            Append(line, v->openLoopPhaseDeg);
            Append(line, v->closedLoopDb);
        }
        csv += line + "\n";
    }
    return csv;
}

}  // namespace velorin::core
