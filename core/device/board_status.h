// The board's identity and ports as one reading, and the JSON object that describes them
// (velorinctl status --json prints it; the instrument answers it on one line).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>

#include "core/device/board.h"

namespace velorin::core {

struct BoardStatus {
    uint8_t id = 0;
    uint8_t port0 = 0;
    uint8_t port1 = 0;
    uint8_t port3 = 0;
};

// Identity, then ports 0, 1 and 3; nothing when a read fails.
std::optional<BoardStatus> ReadBoardStatus(Board &board);

// id, boardKind, ports, powerOn and one entry per block of the board's kind.
nlohmann::json BoardStatusJson(const BoardStatus &status);

}  // namespace velorin::core
