#include "core/device/programming_sequences.h"

#include "core/device/chip_commands.h"
#include "core/device/programming_steps.h"

namespace velorin::core {

namespace {

SequenceResult Outcome(bool ok, bool declined) {
    if (!ok) return SequenceResult::Failed;
    return declined ? SequenceResult::Declined : SequenceResult::Done;
}

}  // namespace

SequenceResult WriteSettingsToRam(BoardServices &services, int block, const ImageBuilder &build,
                                  bool outputEnable) {
    RegisterImage &image = build();
    if (VcoCalEnable(image) != 0) {
        SetVcoCalEnable(image, 0);
        if (!WriteImageToRam(services.board, block, image)) {
            ShowBoardWriteError(services.prompts);
            return SequenceResult::Failed;
        }
        services.sleeper.Sleep(kCalibrationRestartWaitMs);
        SetVcoCalEnable(image, 1);
    }
    if (!WriteImageToRam(services.board, block, image)) {
        ShowBoardWriteError(services.prompts);
        return SequenceResult::Failed;
    }
    return ResultOf(RefreshOutputEnable(services.board, block, outputEnable));
}

SequenceResult ProgramEeprom(BoardServices &services, int block, const ImageBuilder &build,
                             bool outputEnable) {
    const RegisterImage &image = build();
    if (!WriteImageToRam(services.board, block, image)) return SequenceResult::Failed;
    const WriteCounterReading counter = ReadWriteCounter(services.board, block);
    bool ok = counter.ok;
    const bool confirmed = AskToProgramEeprom(services.prompts, counter.count);
    if (confirmed) {
        if (!EepromProgramCommand(services.board, services.sleeper, block, OnCommandFailure::Stop,
                                  [&] { ShowBoardWriteError(services.prompts); })) {
            return SequenceResult::Failed;
        }
        ok =
            StoreWriteCounter(services.board, block, static_cast<uint8_t>(counter.count + 1)) && ok;
    }
    services.sleeper.Sleep(kRamRewriteWaitMs);
    if (!WriteImageToRam(services.board, block, image)) return SequenceResult::Failed;
    ok = RefreshOutputEnable(services.board, block, outputEnable) && ok;
    return Outcome(ok, !confirmed);
}

SequenceResult ProgramAndLockEeprom(BoardServices &services, int block, bool outputEnable) {
    bool ok = true;
    const bool confirmed = services.prompts.ConfirmLock();
    if (confirmed) {
        ok = EepromLockCommand(services.board, services.sleeper, block, OnCommandFailure::GoOn,
                               [&] { ShowBoardWriteError(services.prompts); });
        ok = StoreWriteCounter(services.board, block, kLockedCounter) && ok;
    }
    ok = RefreshOutputEnable(services.board, block, outputEnable) && ok;
    return Outcome(ok, !confirmed);
}

SequenceResult UnlockChipEeprom(BoardServices &services, int block) {
    if (!services.prompts.AskPassword()) return SequenceResult::Declined;
    if (!services.board.WriteOneWord(block, kUnlockAddress, kUnlockValue)) {
        ShowBoardWriteError(services.prompts);
        return SequenceResult::Failed;
    }
    bool ok = services.board.UnlockEeprom(static_cast<uint16_t>(block));
    services.sleeper.Sleep(kEepromCommandWaitMs);
    if (!services.board.WriteOneWord(block, kEndAddress, kEndValue)) {
        ShowBoardWriteError(services.prompts);
        ok = false;
    }
    return ResultOf(ok);
}

SequenceResult SendIdleCommand(BoardServices &services, int block) {
    if (services.board.WriteOneWord(block, kEndAddress, kIdleValue)) return SequenceResult::Done;
    ShowBoardWriteError(services.prompts);
    return SequenceResult::Failed;
}

}  // namespace velorin::core
