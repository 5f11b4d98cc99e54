// How a request reaches a board. The library holds at most one open transport.
#pragma once

#include <cstdint>

#include "board_request.h"

namespace velorin::board {

class Transport {
  public:
    virtual ~Transport() = default;
    // Delivers one request and, when the board completes it, stores its answer bytes.
    // Returns false when the request failed; `answer` is then left untouched.
    virtual bool Exchange(const BoardRequest &request, uint8_t *answer) = 0;
};

}  // namespace velorin::board
