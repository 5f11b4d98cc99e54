// What the programming sequences say to the user, and the services they work with.
#pragma once

#include <string>

#include "core/base/prompts.h"
#include "core/base/sleeper.h"
#include "core/device/board.h"

namespace velorin::core {

struct BoardServices {
    Board &board;
    Prompts &prompts;
    Sleeper &sleeper;
};

constexpr const char *kBoardWriteError = "Error writing to Velorin Eval board";

// "Are you sure you want to write\nVELORIN RAM content to EEPROM?\n\nEEPROM has been written
// (n) times."
std::string WriteCountQuestion(int count);

void ShowBoardWriteError(Prompts &prompts);
// Asks the write-count question with Yes and No and the stop icon; true on Yes.
bool AskToProgramEeprom(Prompts &prompts, int count);

}  // namespace velorin::core
