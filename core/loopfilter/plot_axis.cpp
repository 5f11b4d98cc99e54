#include "core/loopfilter/plot_axis.h"

#include <algorithm>
#include <cmath>

#include "core/base/printf_text.h"

namespace velorin::core {

namespace {

constexpr int kMostTicks = 40;

// A range that every axis can draw: finite, ordered and not empty.
void Sanitize(double &low, double &high, double fallbackLow, double fallbackHigh) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = fallbackLow;
        high = fallbackHigh;
    }
    if (low > high) std::swap(low, high);
    if (high - low <= std::abs(high) * 1e-12) high = low + std::max(1.0, std::abs(low) * 1e-6);
}

// 1, 2, 5 or 10 times a power of ten, the first at or above span.
double NiceStep(double span) {
    const double decade = std::pow(10.0, std::floor(std::log10(span)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * decade >= span * (1.0 - 1e-9)) return factor * decade;
    }
    return 10.0 * decade;
}

std::string Label(const char *format, double value) {
    // No "-0" where a tick sits on zero.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return Printf(format, value == 0.0 ? 0.0 : value);
#pragma GCC diagnostic pop
}

// Ticks at anchor + k·step within [low, high], each computed from k so that none drifts.
void AddSteps(PlotAxis &axis, double anchor, double step, const char *format) {
    const double first = std::ceil((axis.low - anchor) / step - 1e-9);
    const double last = std::floor((axis.high - anchor) / step + 1e-9);
    for (double k = first; k <= last; ++k) {
        double value = anchor + k * step;
        if (std::abs(value) < step * 1e-9) value = 0.0;
        axis.ticks.push_back({value, Label(format, value)});
    }
}

}  // namespace

bool PlotAxis::operator==(const PlotAxis &other) const {
    if (low != other.low || high != other.high || log != other.log) return false;
    if (ticks.size() != other.ticks.size()) return false;
    for (size_t i = 0; i < ticks.size(); ++i) {
        if (ticks[i].value != other.ticks[i].value || ticks[i].label != other.ticks[i].label) {
            return false;
        }
    }
    return true;
}

PlotAxis NiceLinearAxis(double low, double high, const char *format, int maxTicks) {
    Sanitize(low, high, 0.0, 1.0);
    maxTicks = std::max(maxTicks, 2);
    double step = NiceStep((high - low) / (maxTicks - 1));
    PlotAxis axis;
    // Rounding outwards can add a step at either end; take the next step up when it does.
    for (;;) {
        axis.low = std::floor(low / step + 1e-9) * step;
        axis.high = std::ceil(high / step - 1e-9) * step;
        if (std::lround((axis.high - axis.low) / step) + 1 <= maxTicks) break;
        step = NiceStep(step * 1.5);
    }
    AddSteps(axis, 0.0, step, format);
    return axis;
}

PlotAxis SteppedLinearAxis(double low, double high, double anchor, double interval,
                           const char *format) {
    Sanitize(low, high, 0.0, 1.0);
    PlotAxis axis;
    axis.low = low;
    axis.high = high;
    if (!(interval > 0.0) || !std::isfinite(interval)) interval = NiceStep((high - low) / 5.0);
    while ((high - low) / interval > kMostTicks) interval *= 2.0;
    AddSteps(axis, std::isfinite(anchor) ? anchor : 0.0, interval, format);
    return axis;
}

std::pair<double, double> CurvesRange(std::initializer_list<const PlotCurve *> curves, double step,
                                      double low, double high) {
    double lowest = INFINITY, highest = -INFINITY;
    for (const PlotCurve *curve : curves) {
        for (double y : curve->y) {
            if (!std::isfinite(y)) continue;
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
        }
    }
    if (!(lowest <= highest)) return {low, high};
    lowest = std::floor(lowest / step) * step;
    highest = std::ceil(highest / step) * step;
    if (highest <= lowest) highest = lowest + step;
    return {lowest, highest};
}

double AxisFraction(const PlotAxis &axis, double value) {
    if (axis.log) {
        return (std::log10(value) - std::log10(axis.low)) /
               (std::log10(axis.high) - std::log10(axis.low));
    }
    return (value - axis.low) / (axis.high - axis.low);
}

double AxisValueAt(const PlotAxis &axis, double fraction) {
    if (axis.log) {
        const double low = std::log10(axis.low), high = std::log10(axis.high);
        return std::pow(10.0, low + fraction * (high - low));
    }
    return axis.low + fraction * (axis.high - axis.low);
}

std::optional<double> CurveValueAt(const PlotCurve &curve, double x, bool logX) {
    const size_t count = std::min(curve.x.size(), curve.y.size());
    const auto scale = [logX](double v) { return logX ? std::log10(v) : v; };
    for (size_t i = 1; i < count; ++i) {
        const double x0 = curve.x[i - 1], x1 = curve.x[i];
        if (!(std::min(x0, x1) <= x && x <= std::max(x0, x1))) continue;
        const double y0 = curve.y[i - 1], y1 = curve.y[i];
        if (!std::isfinite(y0) || !std::isfinite(y1)) return std::nullopt;
        if (x0 == x1) return y1;
        const double t = (scale(x) - scale(x0)) / (scale(x1) - scale(x0));
        if (!std::isfinite(t)) return std::nullopt;
        return y0 + t * (y1 - y0);
    }
    if (count == 1 && curve.x[0] == x && std::isfinite(curve.y[0])) return curve.y[0];
    return std::nullopt;
}

PlotAxis LogAxis(double low, double high) {
    if (!(low > 0.0) || !(high > 0.0)) {
        low = 1.0;
        high = 10.0;
    }
    Sanitize(low, high, 1.0, 10.0);
    PlotAxis axis;
    axis.low = low;
    axis.high = high;
    axis.log = true;
    const int first = static_cast<int>(std::floor(std::log10(low)));
    const int last = static_cast<int>(std::ceil(std::log10(high)));
    for (int decade = first; decade <= last && decade - first <= 300; ++decade) {
        const double unit = std::pow(10.0, decade);
        for (int factor = 1; factor <= 9; ++factor) {
            const double value = factor * unit;
            if (value < low * (1.0 - 1e-9) || value > high * (1.0 + 1e-9)) continue;
            axis.ticks.push_back({value, factor == 1 ? Label("%.0e", value) : std::string()});
        }
    }
    return axis;
}

}  // namespace velorin::core
