// What the program's windows work with: the board, the user, the clock and the one register
// image. The application owns them; the view and the dialogs borrow them for their lifetime.
#pragma once

#include "core/base/prompts.h"
#include "core/base/sleeper.h"
#include "core/device/board.h"
#include "core/device/register_image.h"

namespace velorin::gui {

struct ProgramServices {
    core::Board &board;
    core::Prompts &prompts;
    core::Sleeper &sleeper;
    core::RegisterImage &image;
};

}  // namespace velorin::gui
