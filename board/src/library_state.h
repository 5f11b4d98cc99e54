// The library's one process-wide state: the open board and the I2C address and option.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "board_request.h"
#include "transport.h"

namespace velorin::board {

struct LibraryState {
    std::unique_ptr<Transport> connection;  // null while no board is open
    std::string devicePath;
    int32_t i2cDeviceAddress = 0;
    uint8_t i2cOption = 3;
};

LibraryState &State();

// Sends one request over the open connection; false without one or when the board fails it.
bool Deliver(const BoardRequest &request, uint8_t *answer = nullptr);

}  // namespace velorin::board
