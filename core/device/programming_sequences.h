// The device-settings dialog's board operations, each on the block its radio selects. The
// dialog supplies what they read of it: the block, its check boxes, and the image rebuilt from
// its controls.
#pragma once

#include <functional>

#include "core/device/register_image.h"
#include "core/device/sequence_messages.h"
#include "core/device/sequence_result.h"

namespace velorin::core {

// Rebuilds the image from the controls and returns it; the sequences change it in place (the
// calibration restart clears and sets the enable bit) and write what it holds.
using ImageBuilder = std::function<RegisterImage &()>;

// With VCO calibration enabled the chip first gets the image with the enable bit clear, then,
// 50 ms later, with it set, so that calibration restarts. A failed RAM write is reported and
// ends it (the bit then stays clear). Then the block's output-enable bit follows the box.
SequenceResult WriteSettingsToRam(BoardServices &services, int block, const ImageBuilder &build,
                                  bool outputEnable);

// Writes the image to RAM (silently stopping on failure), asks the write-count question and on
// Yes programs the EEPROM (a failed command is reported and ends it) and counts the write.
// Whatever the answer, 100 ms later the RAM is written again and the output-enable bit set.
SequenceResult ProgramEeprom(BoardServices &services, int block, const ImageBuilder &build,
                             bool outputEnable);

// The chip's EEPROM receives what its RAM holds. After the lock confirmation: the lock pair
// (each failure reported, the sequence goes on) and the counter set to 170. In every case the
// output-enable bit follows the box.
SequenceResult ProgramAndLockEeprom(BoardServices &services, int block, bool outputEnable);

// After the password: unlock command word (reported failure ends it), unlock request (result
// not examined), 20 ms, end command word (failure reported).
SequenceResult UnlockChipEeprom(BoardServices &services, int block);

SequenceResult SendIdleCommand(BoardServices &services, int block);

}  // namespace velorin::core
