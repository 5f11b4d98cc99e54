// Shows the board library's own messages (driver installation) as the program's message boxes,
// with the caption and icon that the library gives.
#pragma once

#include "core/base/prompts.h"

namespace velorin::gui {

// Routes the library's messages to prompts; nullptr sends them back to standard error.
void RouteLibraryMessagesTo(core::Prompts *prompts);

}  // namespace velorin::gui
