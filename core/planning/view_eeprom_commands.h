// The main view's EEPROM commands. Unlike the device-settings dialog's they neither write the
// image to RAM nor touch the output-enable bit (the EEPROM receives what the chip's RAM holds
// from the view's last write), and both stop at the first failing chip command, which is
// reported, before the counter is updated.
#pragma once

#include "core/device/sequence_messages.h"
#include "core/device/sequence_result.h"

namespace velorin::core {

// Reads the counter, asks the write-count question; on Yes programs the EEPROM and stores the
// counter plus one. On No nothing is sent.
SequenceResult WriteEepromNoLock(BoardServices &services, int block);

// After the lock confirmation: program and lock, then the counter reads 170.
SequenceResult WriteEepromLock(BoardServices &services, int block);

}  // namespace velorin::core
