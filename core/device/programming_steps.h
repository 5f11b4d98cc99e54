// The steps that the programming sequences are made of. None shows a message: each reports
// whether its calls succeeded, and the sequence decides what the user hears of it.
#pragma once

#include <cstdint>

#include "core/device/board.h"
#include "core/device/register_image.h"

namespace velorin::core {

// Stages Byte0..Byte5 as register indexes 0-5, then commits them to the block's chip RAM.
// Stops at the first failed call.
bool WriteImageToRam(Board &board, int block, const RegisterImage &image);

// Reads port 1 and writes it back with the block's output-enable bit set or cleared. A failed
// read writes nothing. The sequences do not act on the result; it says whether both calls
// succeeded.
bool RefreshOutputEnable(Board &board, int block, bool enabled);

struct WriteCounterReading {
    uint8_t count = 0;  // 0xFF in the board EEPROM counts as 0
    bool ok = false;    // false: the read failed and count is 0
};

// Selects the board EEPROM's data records and reads the block's counter byte.
WriteCounterReading ReadWriteCounter(Board &board, int block);

// Writes the block's counter byte. Relies on the device address already being the board
// EEPROM's, which opening the board and every counter read leave in place.
bool StoreWriteCounter(Board &board, int block, uint8_t count);

}  // namespace velorin::core
