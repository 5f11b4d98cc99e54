#include "core/device/chip_commands.h"

namespace velorin::core {

bool EepromCommandPair(Board &board, Sleeper &sleeper, int block, uint8_t value,
                       OnCommandFailure onFailure, const std::function<void()> &failed) {
    if (!board.WriteOneWord(block, kProgramAddress, value)) {
        failed();
        if (onFailure == OnCommandFailure::Stop) return false;
        sleeper.Sleep(kEepromCommandWaitMs);
        if (!board.WriteOneWord(block, kEndAddress, kEndValue)) failed();
        return false;
    }
    sleeper.Sleep(kEepromCommandWaitMs);
    if (!board.WriteOneWord(block, kEndAddress, kEndValue)) {
        failed();
        return false;
    }
    return true;
}

}  // namespace velorin::core
