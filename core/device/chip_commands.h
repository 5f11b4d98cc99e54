// The chip's command words (WriteOneWord address and value) and the EEPROM command pairs.
#pragma once

#include <cstdint>
#include <functional>

#include "core/base/sleeper.h"
#include "core/device/board.h"

namespace velorin::core {

constexpr uint16_t kProgramAddress = 263;
constexpr uint8_t kProgramValue = 15;  // program the EEPROM from RAM
constexpr uint8_t kProgramAndLockValue = 170;
constexpr uint16_t kEndAddress = 7;
constexpr uint8_t kEndValue = 0;  // ends an EEPROM operation
constexpr uint8_t kIdleValue = 255;
constexpr uint16_t kUnlockAddress = 0;
constexpr uint8_t kUnlockValue = 0;

constexpr int kEepromCommandWaitMs = 20;
constexpr int kCalibrationRestartWaitMs = 50;
constexpr int kRamRewriteWaitMs = 100;

// A locked chip's write counter.
constexpr uint8_t kLockedCounter = 170;

enum class OnCommandFailure { Stop, GoOn };

// WriteOneWord(block, 263, value), a 20 ms wait, WriteOneWord(block, 7, 0). `failed` is called
// for every call that fails; with Stop the pair ends there. True when both calls succeeded.
bool EepromCommandPair(Board &board, Sleeper &sleeper, int block, uint8_t value,
                       OnCommandFailure onFailure, const std::function<void()> &failed);

inline bool EepromProgramCommand(Board &board, Sleeper &sleeper, int block,
                                 OnCommandFailure onFailure, const std::function<void()> &failed) {
    return EepromCommandPair(board, sleeper, block, kProgramValue, onFailure, failed);
}

inline bool EepromLockCommand(Board &board, Sleeper &sleeper, int block, OnCommandFailure onFailure,
                              const std::function<void()> &failed) {
    return EepromCommandPair(board, sleeper, block, kProgramAndLockValue, onFailure, failed);
}

}  // namespace velorin::core
