#include "core/device/component_tables.h"

#include <cmath>

namespace velorin::core {

namespace {

template <size_t N>
double Weighted(int code, const std::array<double, N> &weights) {
    double sum = 0.0;
    for (size_t bit = 0; bit < N; ++bit) {
        if ((code >> bit) & 1) sum += weights[bit];
    }
    return sum;
}

const LoopFilterTables &Tables() {
    static const LoopFilterTables tables = BuildLoopFilterTables();
    return tables;
}

}  // namespace

LoopFilterTables BuildLoopFilterTables() {
    LoopFilterTables tables;
    for (int code = 0; code < kC1Codes; ++code) {
        tables.c1[code] = Weighted(code, std::array<double, 5>{1.5, 6.5, 10, 21.5, 37.5});
        tables.c2[code] = Weighted(code, std::array<double, 5>{12.5, 25, 87, 123, 226});
        // Subtracted in this order and the absolute value taken last, so that code 31 lands
        // within rounding of zero, as the tables have always shown it (0.0).
        double r2 = 127.6;
        const double r2Steps[5] = {4, 9, 20, 38.2, 56.4};
        for (int bit = 0; bit < 5; ++bit) {
            if ((code >> bit) & 1) r2 -= r2Steps[bit];
        }
        tables.r2[code] = std::fabs(r2);
    }
    for (int code = 0; code < kC3Codes; ++code) {
        tables.c3[code] = Weighted(code, std::array<double, 4>{2.5, 5.5, 19.5, 61.5});
    }
    return tables;
}

const std::array<double, kC1Codes> &C1Values() {
    return Tables().c1;
}
const std::array<double, kC2Codes> &C2Values() {
    return Tables().c2;
}
const std::array<double, kC3Codes> &C3Values() {
    return Tables().c3;
}
const std::array<double, kR2Codes> &R2Values() {
    return Tables().r2;
}

}  // namespace velorin::core
