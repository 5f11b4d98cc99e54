// The instrument keeps its board open. A board call that failed marks the connection lost;
// the next command then closes and reopens it, as the main view's poll does after a failed
// port read, and reads the identity of whatever board answered.
#pragma once

#include <cstdint>

#include "core/device/board.h"

namespace velorin::core::scpi {

struct BoardConnection {
    bool open = false;
    uint8_t id = 0;  // the identity of the board last opened; 0 before any
};

// Opens the board; true when it is open afterwards.
bool OpenBoard(Board &board, BoardConnection &connection);

// Nothing while the connection is open; else close, open and read the identity.
bool ReopenIfLost(Board &board, BoardConnection &connection);

}  // namespace velorin::core::scpi
