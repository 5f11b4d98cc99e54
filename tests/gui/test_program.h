// What a window under test is given: an emulated board behind the library, scripted prompts, a
// sleeper that records its waits and the program's register image.
#pragma once

#include "core/board_run.h"
#include "core/device/register_image.h"
#include "gui/app/program_services.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::gui::testing {

struct Program {
    velorin::testing::BoardRun run;
    velorin::testing::ScriptedPrompts prompts;
    velorin::testing::RecordingSleeper sleeper;
    core::RegisterImage image;
    ProgramServices services{run.Board(), prompts, sleeper, image};
};

}  // namespace velorin::gui::testing
