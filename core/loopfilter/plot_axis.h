// The axes of the loop-response plots: the range each shows and where its ticks and labels go.
// Linear axes round to 1, 2 or 5 times a power of ten (or step by a fixed interval from an
// anchor); logarithmic axes mark every decade and, unlabelled, the 2…9 between.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/loopfilter/loop_filter_dialog_model.h"

namespace velorin::core {

struct AxisTick {
    double value = 0.0;
    std::string label;  // empty on a minor tick
};

struct PlotAxis {
    double low = 0.0, high = 1.0;
    bool log = false;
    std::vector<AxisTick> ticks;

    bool operator==(const PlotAxis &other) const;
};

// The smallest range of whole steps around [low, high], with at most maxTicks labelled ticks;
// labels in the printf format given (one double).
PlotAxis NiceLinearAxis(double low, double high, const char *format, int maxTicks = 6);

// [low, high] as given, labelled every interval from anchor (fewer when that would crowd the
// axis past 40 ticks).
PlotAxis SteppedLinearAxis(double low, double high, double anchor, double interval,
                           const char *format);

// Lowest and highest finite y of the curves, widened to whole steps; [low, high] when there is
// none.
std::pair<double, double> CurvesRange(std::initializer_list<const PlotCurve *> curves, double step,
                                      double low, double high);

// The x at a fraction (0 to 1) of the axis's length, and the fraction at which x lies.
double AxisValueAt(const PlotAxis &axis, double fraction);
double AxisFraction(const PlotAxis &axis, double value);

// The curve's value at x, read as the plot draws it: straight lines between the points (in
// log x on a logarithmic axis). Nothing beyond the curve's ends or where the points either
// side of x do not exist.
std::optional<double> CurveValueAt(const PlotCurve &curve, double x, bool logX);

// [low, high] (both above zero) on a logarithmic scale: decades labelled as "1e+03".
PlotAxis LogAxis(double low, double high);

}  // namespace velorin::core
