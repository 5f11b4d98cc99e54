#include "core/device/readback.h"

#include <algorithm>

namespace velorin::core {

ReadBackFetch FetchReadBack(Board &board, int block) {
    ReadBackFetch fetch;
    uint8_t id = 0;
    const bool identified = board.GetEvmId(id);
    const bool commanded = board.ReadBack(static_cast<uint16_t>(block));
    const bool fetched = board.ReadDataBack(0, fetch.buffer);
    fetch.ok = identified && commanded && fetched;
    return fetch;
}

ReadBackBytes StreamBytes(const ReadBackFetch &fetch) {
    ReadBackBytes bytes{};
    std::copy_n(fetch.buffer.begin(), bytes.size(), bytes.begin());
    return bytes;
}

}  // namespace velorin::core
