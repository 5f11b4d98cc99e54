// What every board command does around its sequence: open the board, run, turn the sequence's
// result into the exit code.
#pragma once

#include <string>

#include "cli/board_session.h"
#include "cli/context.h"
#include "cli/terminal_prompts.h"
#include "core/base/thread_sleeper.h"
#include "core/device/sequence_messages.h"
#include "core/device/sequence_result.h"

namespace velorin::cli {

// Runs `body(board)` with the board open; without a board it reports that and exits 1.
template <typename Body>
void WithOpenBoard(Context &context, Body &&body) {
    BoardSession session(context);
    if (!OpenOrReport(session, context)) return;
    body(session.Board());
}

// Done: exit 0. Failed or Declined: exit 1, and unless a message already said why, the reason
// (a failure the program keeps silent, or a No) is named on standard error.
void FinishSequence(Context &context, core::SequenceResult result, const std::string &command,
                    bool reasonShown = false);

// Runs `sequence(services)` with the board open, `prompts` as its user and real waits, and
// finishes it as FinishSequence does.
template <typename Sequence>
void RunSequence(Context &context, TerminalPrompts &prompts, const std::string &command,
                 Sequence &&sequence) {
    WithOpenBoard(context, [&](core::Board &board) {
        core::ThreadSleeper sleeper;
        core::BoardServices services{board, prompts, sleeper};
        const core::SequenceResult result = sequence(services);
        FinishSequence(context, result, command, prompts.ErrorsShown() > 0);
    });
}

}  // namespace velorin::cli
