// velorinctl eeprom program|lock|unlock|counter: the device-settings dialog's EEPROM operations
// and the block's write counter.
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/arguments.h"
#include "cli/board_arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "cli/terminal_prompts.h"
#include "core/app/thread_sleeper.h"
#include "core/device/programming_sequences.h"
#include "core/device/programming_steps.h"
#include "core/device/readback.h"
#include "core/text/hex_text.h"

namespace velorin::cli {

namespace {

struct EepromOptions {
    std::string block;
    std::string image;
    std::string outputEnable = "on";
    std::string confirmation;
    std::string password;
    bool yes = false;
    bool verify = false;
    bool json = false;
};

// Reads the chip back and names every byte of its EEPROM section that differs from the image.
bool VerifyEeprom(Context &context, core::Board &board, int block,
                  const core::RegisterImage &image) {
    const core::ReadBackFetch fetch = core::FetchReadBack(board, block);
    if (!fetch.ok) {
        context.err << "velorinctl eeprom program: the chip could not be read back\n";
        return false;
    }
    const core::ReadBackFields fields = core::DecodeReadBackFields(core::StreamBytes(fetch), false);
    bool same = true;
    for (int i = 0; i < 6; ++i) {
        if (fields.image.Byte(i) == image.Byte(i)) continue;
        if (same) context.err << "EEPROM differs from the image:\n";
        same = false;
        char line[64];
        std::snprintf(line, sizeof(line), "  Byte%d: image %02X, EEPROM %02X\n", i, image.Byte(i),
                      fields.image.Byte(i));
        context.err << line;
    }
    if (same) {
        context.out << "EEPROM holds "
                    << core::FormatHexBytes(fields.image.bytes.data(), fields.image.bytes.size())
                    << "\n";
    }
    return same;
}

void RunProgram(Context &context, const EepromOptions &options) {
    TerminalPrompts prompts(context);
    prompts.assumeYes = options.yes;
    if (!prompts.CanAsk()) {
        context.err << "velorinctl eeprom program: the question needs a terminal; give --yes to "
                       "answer it yes\n";
        context.exitCode = 2;
        return;
    }
    WithOpenBoard(context, [&](core::Board &board) {
        core::ThreadSleeper sleeper;
        core::BoardServices services{board, prompts, sleeper};
        const int block = *ParseBlock(options.block);
        core::RegisterImage image = *ParseImage(options.image);
        const core::RegisterImage given = image;
        const auto result = core::ProgramEeprom(
            services, block, [&image]() -> core::RegisterImage & { return image; },
            options.outputEnable == "on");
        FinishSequence(context, result, "eeprom program", prompts.ErrorsShown() > 0);
        if (result == core::SequenceResult::Done && options.verify &&
            !VerifyEeprom(context, board, block, given)) {
            context.exitCode = 1;
        }
    });
}

void RunLock(Context &context, const EepromOptions &options) {
    WithOpenBoard(context, [&](core::Board &board) {
        TerminalPrompts prompts(context);
        prompts.confirmation = options.confirmation;
        core::ThreadSleeper sleeper;
        core::BoardServices services{board, prompts, sleeper};
        const auto result = core::ProgramAndLockEeprom(services, *ParseBlock(options.block),
                                                       options.outputEnable == "on");
        FinishSequence(context, result, "eeprom lock", prompts.ErrorsShown() > 0);
    });
}

void RunUnlock(Context &context, const EepromOptions &options) {
    WithOpenBoard(context, [&](core::Board &board) {
        TerminalPrompts prompts(context);
        prompts.password = options.password;
        core::ThreadSleeper sleeper;
        core::BoardServices services{board, prompts, sleeper};
        const auto result = core::UnlockChipEeprom(services, *ParseBlock(options.block));
        FinishSequence(context, result, "eeprom unlock", prompts.ErrorsShown() > 0);
    });
}

void RunCounter(Context &context, const EepromOptions &options) {
    WithOpenBoard(context, [&](core::Board &board) {
        const int block = *ParseBlock(options.block);
        const core::WriteCounterReading counter = core::ReadWriteCounter(board, block);
        if (!counter.ok) {
            FinishSequence(context, core::SequenceResult::Failed, "eeprom counter");
            return;
        }
        if (options.json) {
            nlohmann::ordered_json result;
            result["block"] = std::string(1, core::BlockLetter(block));
            result["count"] = counter.count;
            context.out << result.dump(2) << "\n";
        } else {
            context.out << core::BlockName(block) << ": EEPROM has been written ("
                        << static_cast<int>(counter.count) << ") times.\n";
        }
    });
}

CLI::App *AddEepromSubcommand(CLI::App *group, const char *name, const char *description,
                              EepromOptions &options) {
    auto *command = group->add_subcommand(name, description);
    AddBlockOption(command, options.block);
    return command;
}

void AddOutputEnableOption(CLI::App *command, EepromOptions &options) {
    command
        ->add_option("--output-enable", options.outputEnable,
                     "The output enable set afterwards: on (default) or off")
        ->check(CLI::IsMember({"on", "off"}));
}

}  // namespace

void AddEepromCommand(CLI::App &app, Context &context) {
    auto options = std::make_shared<EepromOptions>();
    auto *group = CommandGroup(app, "eeprom", "Chip EEPROM programming, locking and counter");

    auto *program = AddEepromSubcommand(
        group, "program",
        "Write the image to RAM, ask the write-count question, program the EEPROM, count the "
        "write, then write the RAM again",
        *options);
    AddImageArgument(program, options->image);
    program->add_flag("--yes,-y", options->yes,
                      "Answer the question yes (needed without a terminal)");
    program->add_flag("--verify", options->verify,
                      "Read the chip back afterwards and compare its EEPROM with the image");
    AddOutputEnableOption(program, *options);
    program->callback([&context, options] { RunProgram(context, *options); });

    auto *lock = AddEepromSubcommand(
        group, "lock", "Program the EEPROM from what the chip's RAM holds and lock it", *options);
    lock->add_option("--confirm", options->confirmation, "The word yes, in any case")->required();
    AddOutputEnableOption(lock, *options);
    lock->callback([&context, options] { RunLock(context, *options); });

    auto *unlock = AddEepromSubcommand(group, "unlock", "Unlock the chip's EEPROM", *options);
    unlock->add_option("--password", options->password, "An access code")->required();
    unlock->callback([&context, options] { RunUnlock(context, *options); });

    auto *counter =
        AddEepromSubcommand(group, "counter", "Show how often the EEPROM was written", *options);
    counter->add_flag("--json", options->json, "Machine-readable output");
    counter->callback([&context, options] { RunCounter(context, *options); });
}

}  // namespace velorin::cli
