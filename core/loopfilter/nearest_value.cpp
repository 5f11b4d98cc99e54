#include "core/loopfilter/nearest_value.h"

namespace velorin::core {

namespace {

TableChoice Choose(const double *table, int count, int code) {
    // An empty table has nothing to read; report code 0 with no value.
    if (count <= 0) return {0, 0.0};
    return {code, table[code]};
}

}  // namespace

TableChoice NearestAscending(const double *table, int count, double target) {
    if (count <= 1) return Choose(table, count, 0);
    for (int i = 1; i < count; ++i) {
        if (target <= table[i]) {
            const bool upperCloser = (target - table[i - 1]) > (table[i] - target);
            return Choose(table, count, upperCloser ? i : i - 1);
        }
    }
    return Choose(table, count, count - 1);
}

TableChoice NearestDescending(const double *table, int count, double target) {
    for (int i = count - 2; i >= 0; --i) {
        if (target <= table[i]) {
            const bool thisCloser = (target - table[i + 1]) > (table[i] - target);
            return Choose(table, count, thisCloser ? i : i + 1);
        }
    }
    return Choose(table, count, 0);
}

}  // namespace velorin::core
