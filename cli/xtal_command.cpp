// velorinctl xtal get|set: block B's crystal frequency record in the board EEPROM.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "cli/terminal_prompts.h"
#include "cli/unit_arguments.h"
#include "core/planning/crystal_record.h"

namespace velorin::cli {

namespace {

// A blank or damaged record holds bytes that are not text: shown as \xNN.
std::string Printable(const std::string &text) {
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown;
}

bool PrintRecord(Context &context, core::Board &board) {
    const core::CrystalLoad load = core::LoadCrystalFrequency(board);
    if (!load.ok) {
        context.err << "velorinctl xtal: the record could not be read\n";
        context.exitCode = 1;
        return false;
    }
    context.out << Printable(load.text) << "\n";
    return true;
}

}  // namespace

void AddXtalCommand(CLI::App &app, Context &context) {
    auto *group = CommandGroup(app, "xtal", "Block B's crystal frequency stored on the board");

    auto *get = group->add_subcommand("get", "Print the stored crystal frequency record");
    get->callback([&context] {
        WithOpenBoard(context, [&](core::Board &board) { PrintRecord(context, board); });
    });

    auto mhz = std::make_shared<std::string>();
    auto *set = group->add_subcommand(
        "set",
        "Store a crystal frequency (27.351 to 38.333 MHz) as \"%0.3f\" text, then print "
        "the stored record");
    set->add_option("mhz", *mhz, "Frequency (MHz unless a unit is given)")
        ->required()
        ->transform(FrequencyIn(1e6, "MHz"));
    set->callback([&context, mhz] {
        // An entry the dialog would refuse needs no board.
        if (!core::CrystalFrequencyInRange(*mhz)) {
            context.err << core::kCrystalRangeMessage << "\n";
            context.exitCode = 1;
            return;
        }
        WithOpenBoard(context, [&](core::Board &board) {
            TerminalPrompts prompts(context);
            switch (core::SaveCrystalFrequency(board, prompts, *mhz)) {
                case core::CrystalSaveOutcome::OutOfRange:
                    context.exitCode = 1;
                    return;
                case core::CrystalSaveOutcome::BoardFailed:
                    FinishSequence(context, core::SequenceResult::Failed, "xtal set");
                    return;
                case core::CrystalSaveOutcome::Stored:
                    PrintRecord(context, board);
                    return;
            }
        });
    });
}

}  // namespace velorin::cli
