// "Save Config to EVM": the block's settings as a 10-byte record in the board EEPROM. Nothing
// in the program reads the record back.
#pragma once

#include <array>
#include <cstdint>

#include "core/device/board.h"
#include "core/device/register_image.h"
#include "core/device/sequence_result.h"

namespace velorin::core {

// Image bytes 0-5, output enable, terminate, block, and a check byte: (sum of bytes 0-8) - 1.
using BlockRecord = std::array<uint8_t, 10>;

BlockRecord MakeBlockRecord(const RegisterImage &image, bool outputEnable, bool terminate,
                            int block);

// Selects the board EEPROM's data records, reads one byte at the record's address (unused),
// then writes the record. No message either way.
SequenceResult SaveBlockRecord(Board &board, const BlockRecord &record);

}  // namespace velorin::core
