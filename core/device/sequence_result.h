// How a board sequence ended. The program shows what each sequence shows and otherwise ignores
// this; scripts need it, because many failures are deliberately silent on screen.
#pragma once

namespace velorin::core {

enum class SequenceResult {
    Done,      // every call that was made succeeded
    Declined,  // the user said no or cancelled; what the sequence still did succeeded
    Failed,    // at least one board call failed, whether or not a message was shown
};

constexpr SequenceResult ResultOf(bool ok) {
    return ok ? SequenceResult::Done : SequenceResult::Failed;
}

}  // namespace velorin::core
