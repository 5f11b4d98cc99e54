#include "core/loopfilter/component_selection.h"

#include "core/base/number_text.h"
#include "core/device/component_tables.h"
#include "core/loopfilter/nearest_value.h"

namespace velorin::core {

namespace {

constexpr double kPicoPerFarad = 1e12;
constexpr double kOhmsPerKilo = 1000.0;

// "%0.1f" followed by the unit; the point stays a point under any locale the GUI switches to.
std::string Label(double value, const char *unit) {
    return FormatFixed(value, 1) + unit;
}

template <size_t N>
TableChoice Ascending(const std::array<double, N> &table, double target) {
    return NearestAscending(table.data(), static_cast<int>(N), target);
}

}  // namespace

LoopFilterSelection SelectLoopFilterComponents(const LoopFilterComponents &ideal) {
    LoopFilterSelection s;
    const TableChoice c1 = Ascending(C1Values(), ideal.c1 * kPicoPerFarad);
    const TableChoice c2 = Ascending(C2Values(), ideal.c2 * kPicoPerFarad);
    const TableChoice c3 = Ascending(C3Values(), ideal.c3 * kPicoPerFarad);
    const TableChoice r2 = NearestDescending(R2Values().data(), static_cast<int>(R2Values().size()),
                                             ideal.r2 / kOhmsPerKilo);

    s.codes = {c1.code, c2.code, c3.code, r2.code};
    s.chosen.c1 = c1.value / kPicoPerFarad;
    s.chosen.c2 = c2.value / kPicoPerFarad;
    s.chosen.c3 = c3.value / kPicoPerFarad;
    s.chosen.r2 = r2.value * kOhmsPerKilo;
    s.chosen.r3 = ideal.r3;
    s.labels.c1 = Label(c1.value, "pf");
    s.labels.c2 = Label(c2.value, "pf");
    s.labels.c3 = Label(c3.value, "pf");
    s.labels.r2 = Label(r2.value, "k");
    s.labels.r3 = Label(ideal.r3 / kOhmsPerKilo, "k");
    return s;
}

}  // namespace velorin::core
