// One sequence run: an emulated board, a scripted user and a recording sleeper.
#pragma once

#include <memory>

#include "board_run.h"
#include "core/device/sequence_messages.h"
#include "core/device/sequence_result.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::testing {

struct SequenceRun {
    explicit SequenceRun(sim::BoardKind kind = sim::BoardKind::FourBlock)
        : run(kind), sleeper([this] { return static_cast<size_t>(run.Received()); }) {}

    BoardRun run;
    ScriptedPrompts prompts;
    RecordingSleeper sleeper;
    core::BoardServices services{run.Board(), prompts, sleeper};

    std::vector<Request> Sent() { return Requests(run.Log()); }
    // Every request since the log was cleared, also those the emulator's log has let go.
    size_t Logged() { return static_cast<size_t>(run.Received()); }
    template <typename F>
    auto WithBoard(F &&f) {
        return run.WithBoard(std::forward<F>(f));
    }
};

// How a run under a fault ended.
struct FaultOutcome {
    core::SequenceResult result = core::SequenceResult::Done;
    size_t logged = 0;    // requests that reached the board, the faulty one included
    size_t messages = 0;  // message boxes other than questions
    bool operator==(const FaultOutcome &) const = default;
};

inline void PrintTo(const FaultOutcome &o, std::ostream *os) {
    *os << "{result " << static_cast<int>(o.result) << ", logged " << o.logged << ", messages "
        << o.messages << "}";
}

inline size_t ErrorMessages(const ScriptedPrompts &prompts) {
    size_t count = 0;
    for (const auto &m : prompts.shown) {
        if (m.buttons != core::MessageButtons::YesNo) ++count;
    }
    return count;
}

}  // namespace velorin::testing
