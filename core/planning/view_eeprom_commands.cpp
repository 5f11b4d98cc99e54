#include "core/planning/view_eeprom_commands.h"

#include "core/device/chip_commands.h"
#include "core/device/programming_steps.h"

namespace velorin::core {

SequenceResult WriteEepromNoLock(BoardServices &services, int block) {
    const WriteCounterReading counter = ReadWriteCounter(services.board, block);
    if (!AskToProgramEeprom(services.prompts, counter.count)) return SequenceResult::Declined;
    if (!EepromProgramCommand(services.board, services.sleeper, block, OnCommandFailure::Stop,
                              [&] { ShowBoardWriteError(services.prompts); })) {
        return SequenceResult::Failed;
    }
    const bool stored =
        StoreWriteCounter(services.board, block, static_cast<uint8_t>(counter.count + 1));
    return ResultOf(stored && counter.ok);
}

SequenceResult WriteEepromLock(BoardServices &services, int block) {
    if (!services.prompts.ConfirmLock()) return SequenceResult::Declined;
    if (!EepromLockCommand(services.board, services.sleeper, block, OnCommandFailure::Stop,
                           [&] { ShowBoardWriteError(services.prompts); })) {
        return SequenceResult::Failed;
    }
    return ResultOf(StoreWriteCounter(services.board, block, kLockedCounter));
}

}  // namespace velorin::core
