// The device-settings dialog's port switches and its read-back-mode command. Each switch reads
// its port, changes its bit and writes the whole byte back; a failed read writes nothing. None
// shows a message.
#pragma once

#include "core/device/board.h"
#include "core/device/sequence_result.h"

namespace velorin::core {

// Power is active low: on clears port-0 bit 1, whatever the block.
SequenceResult SwitchPower(Board &board, bool on);
// Port-0 bit 4 + block.
SequenceResult SwitchTermination(Board &board, int block, bool on);
// Port-1 bit 1 + 2 * block.
SequenceResult SwitchOutputEnable(Board &board, int block, bool on);

// Puts the block's chip into read-back mode; reading the data is ReadBackChip.
SequenceResult StartReadBackMode(Board &board, int block);

}  // namespace velorin::core
