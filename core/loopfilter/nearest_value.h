// Snapping an ideal value to a selectable table entry. Both rules walk the table as built (the
// component tables are not monotonic) and stop at the first entry at or above the target, so they
// are not a search for the overall nearest entry.
#pragma once

namespace velorin::core {

struct TableChoice {
    int code = 0;
    double value = 0.0;  // table[code]
};

// For tables that rise with the code (C1, C2, C3): the first entry from code 1 on that is at or
// above the target, or its predecessor when that is closer (a tie picks the predecessor); code
// count - 1 when the target is above every entry from code 1 on; code 0 when count <= 1.
TableChoice NearestAscending(const double *table, int count, double target);

// For tables that fall with the code (R2): walking down from code count - 2, the first entry at
// or above the target, or its successor when that is closer (a tie picks the successor, the
// smaller value); code 0 when the target is above every entry. Reads entries 0 to count - 1 only.
TableChoice NearestDescending(const double *table, int count, double target);

}  // namespace velorin::core
