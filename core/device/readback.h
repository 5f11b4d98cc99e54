// The data path of the read-back dialog: identity, read-back command, a 32-byte fetch into a
// cleared buffer, then the decoding. No board failure changes what is shown: the buffer keeps
// zeros from the first failed byte on and is decoded like any other.
#pragma once

#include <array>
#include <cstdint>

#include "core/device/board.h"
#include "core/device/readback_decode.h"

namespace velorin::core {

struct ReadBackFetch {
    std::array<uint8_t, 32> buffer{};
    bool ok = false;  // every call succeeded
};

ReadBackFetch FetchReadBack(Board &board, int block);

// The first eight bytes of a fetch, which are all the decoding uses.
ReadBackBytes StreamBytes(const ReadBackFetch &fetch);

}  // namespace velorin::core
