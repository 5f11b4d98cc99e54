#include "core/device/sequence_messages.h"

#include <cstdio>

namespace velorin::core {

std::string WriteCountQuestion(int count) {
    char text[128];
    std::snprintf(text, sizeof(text),
                  "Are you sure you want to write\nVELORIN RAM content to EEPROM?\n\nEEPROM has "
                  "been written (%d) times.",
                  count);
    return text;
}

void ShowBoardWriteError(Prompts &prompts) {
    prompts.ShowMessage(Message{kBoardWriteError, {}, MessageButtons::Ok, MessageIcon::Default});
}

bool AskToProgramEeprom(Prompts &prompts, int count) {
    return prompts.ShowMessage(
               Message{WriteCountQuestion(count), {}, MessageButtons::YesNo, MessageIcon::Error}) ==
           MessageAnswer::Yes;
}

}  // namespace velorin::core
