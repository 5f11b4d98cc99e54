// Which recorded calls the traffic window shows.
#pragma once

#include "core/trace/board_call.h"

namespace velorin::core {

struct TrafficFilter {
    // The poll's five requests every half second would bury everything else.
    bool hidePoll = true;
    // 0 to 3: hides the calls addressed to the other blocks; calls that address no block
    // (staging, ports, the board EEPROM's shared records) stay. -1: every block.
    int block = -1;
    bool failuresOnly = false;

    bool Shows(const BoardCall &call) const;
    bool operator==(const TrafficFilter &) const = default;
};

}  // namespace velorin::core
