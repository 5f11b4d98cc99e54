// The crystal frequency of block B, kept by the board as a short text in its EEPROM: "%0.3f"
// MHz and a zero byte at 0xB000.
#pragma once

#include <string>
#include <string_view>

#include "core/base/prompts.h"
#include "core/device/board.h"

namespace velorin::core {

constexpr double kCrystalLowMhz = 27.351;
constexpr double kCrystalHighMhz = 38.333;
constexpr const char *kCrystalRangeMessage = "XTAL frequency is beyond vco input range!";

enum class CrystalSaveOutcome {
    Stored,       // written; the dialog closes with OK
    OutOfRange,   // the message was shown, nothing written; the dialog stays open
    BoardFailed,  // a board call failed; not shown, the dialog closes with OK all the same
};

// Whether the entry's leading number as typed (before rounding) lies in 27.351-38.333 MHz.
bool CrystalFrequencyInRange(std::string_view typed);

// The record for a typed entry: its leading number (0 without one) as "%0.3f".
std::string CrystalRecordText(std::string_view typed);

// Tests the number as typed (before rounding) against 27.351-38.333 MHz, then selects the data
// records, reads one byte at 0xB000 (unused) and writes the text with its zero byte there.
CrystalSaveOutcome SaveCrystalFrequency(Board &board, Prompts &prompts, std::string_view typed);

struct CrystalLoad {
    std::string text;  // the bytes up to the first zero byte, at most 10
    bool ok = false;   // the read succeeded; after a failure text holds what arrived before it
};

CrystalLoad LoadCrystalFrequency(Board &board);

}  // namespace velorin::core
