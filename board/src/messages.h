// The library's user-facing messages, routed through the handler the program sets.
#pragma once

#include <string>

namespace velorin::board {

enum class MessageKind { Information = 0, Error = 1 };

void ShowMessage(const std::string &text, const std::string &caption, MessageKind kind);

}  // namespace velorin::board
