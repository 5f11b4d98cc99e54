#include "cli/board_command.h"

namespace velorin::cli {

void FinishSequence(Context &context, core::SequenceResult result, const std::string &command,
                    bool reasonShown) {
    switch (result) {
        case core::SequenceResult::Done:
            return;
        case core::SequenceResult::Declined:
            if (!reasonShown) context.err << "velorinctl " << command << ": not confirmed\n";
            context.exitCode = 1;
            return;
        case core::SequenceResult::Failed:
            if (!reasonShown) {
                context.err << "velorinctl " << command << ": a board request failed\n";
            }
            context.exitCode = 1;
            return;
    }
}

}  // namespace velorin::cli
