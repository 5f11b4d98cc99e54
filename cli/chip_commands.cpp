// velorinctl idle and readback: the idle command word and reading a chip back.
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/board_arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "cli/readback_output.h"
#include "core/device/programming_sequences.h"
#include "core/device/readback.h"

namespace velorin::cli {

namespace {

struct ReadBackOptions {
    std::string block;
    bool invert = false;
    bool json = false;
};

void AddIdleCommand(CLI::App &app, Context &context) {
    auto block = std::make_shared<std::string>();
    auto *command = app.add_subcommand("idle", "Send the idle command word to the block's chip");
    AddBlockOption(command, *block);
    command->callback([&context, block] {
        TerminalPrompts prompts(context);
        RunSequence(context, prompts, "idle", [&](core::BoardServices &services) {
            return core::SendIdleCommand(services, *ParseBlock(*block));
        });
    });
}

// "readback --block B" reads the chip; "readback decode" (another command) decodes given bytes.
void AddReadBackCommand(CLI::App &app, Context &context) {
    CLI::App *group = CommandGroup(app, "readback", "Chip read-back");
    group->require_subcommand(0, 1);
    auto options = std::make_shared<ReadBackOptions>();
    AddBlockOption(group, options->block, false);
    group->add_flag("--invert", options->invert,
                    "The \"Invert Data Bits\" box is set: decode the bytes as fetched");
    group->add_flag("--json", options->json, "Machine-readable output");
    group->callback([&context, options, group] {
        if (!group->get_subcommands().empty()) return;
        if (options->block.empty()) throw CLI::RequiredError("--block");
        WithOpenBoard(context, [&](core::Board &board) {
            const core::ReadBackFetch fetch =
                core::FetchReadBack(board, *ParseBlock(options->block));
            if (!fetch.ok) {
                context.err << "velorinctl readback: the chip could not be read back\n";
                context.exitCode = 1;
                return;
            }
            PrintReadBackTexts(context,
                               core::DecodeReadBack(core::StreamBytes(fetch), options->invert),
                               options->json);
        });
    });
}

}  // namespace

void AddChipCommands(CLI::App &app, Context &context) {
    AddIdleCommand(app, context);
    AddReadBackCommand(app, context);
}

}  // namespace velorin::cli
