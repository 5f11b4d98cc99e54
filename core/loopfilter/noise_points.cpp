#include "core/loopfilter/noise_points.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace velorin::core {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

double InterpolateNoise(const std::vector<NoisePoint> &points, double offsetHz) {
    if (points.empty() || !(offsetHz > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    if (offsetHz <= points.front().offsetHz) return points.front().dbc;
    if (offsetHz >= points.back().offsetHz) return points.back().dbc;
    const auto above =
        std::upper_bound(points.begin(), points.end(), offsetHz,
                         [](double f, const NoisePoint &p) { return f < p.offsetHz; });
    const NoisePoint &b = *above, &a = *(above - 1);
    const double t = std::log(offsetHz / a.offsetHz) / std::log(b.offsetHz / a.offsetHz);
    return a.dbc + t * (b.dbc - a.dbc);
}

std::string CheckNoisePoints(const std::vector<NoisePoint> &points) {
    if (points.empty()) return "there is no point";
    for (size_t i = 0; i < points.size(); ++i) {
        const NoisePoint &p = points[i];
        const std::string which = "point " + std::to_string(i + 1);
        if (!std::isfinite(p.offsetHz) || !(p.offsetHz > 0.0)) {
            return which + ": the offset must be a positive number of Hz";
        }
        if (!std::isfinite(p.dbc)) return which + ": the value must be a number of dBc/Hz";
        if (i > 0 && !(p.offsetHz > points[i - 1].offsetHz)) {
            return which + ": the offsets must ascend";
        }
    }
    return std::string();
}

std::optional<double> ReadDecimal(std::string_view text) {
    text = Trimmed(text);
    // from_chars takes a minus sign but no plus.
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

NoisePointsText ReadNoisePoints(std::string_view text) {
    NoisePointsText result;
    size_t index = 0;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view pair = text.substr(0, comma);
        ++index;
        const size_t colon = pair.find(':');
        const std::optional<double> offset =
            colon == std::string_view::npos ? std::nullopt : ReadDecimal(pair.substr(0, colon));
        const std::optional<double> dbc =
            colon == std::string_view::npos ? std::nullopt : ReadDecimal(pair.substr(colon + 1));
        if (!offset || !dbc) {
            result.points.clear();
            result.error = "point " + std::to_string(index) + " (\"" + std::string(Trimmed(pair)) +
                           "\") is not OFFSET:DBC";
            return result;
        }
        result.points.push_back({*offset, *dbc});
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    result.error = CheckNoisePoints(result.points);
    if (!result.error.empty()) result.points.clear();
    return result;
}

std::string FormatNoisePoints(const std::vector<NoisePoint> &points) {
    std::string text;
    for (const NoisePoint &p : points) {
        if (!text.empty()) text += ',';
        text += NoiseNumber(p.offsetHz) + ":" + NoiseNumber(p.dbc);
    }
    return text;
}

std::string NoiseNumber(double value) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::general, 9);
    return std::string(text, result.ptr);
}

}  // namespace velorin::core
