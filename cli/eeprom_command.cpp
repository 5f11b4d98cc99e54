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
#include "core/base/hex_text.h"
#include "core/device/programming_sequences.h"
#include "core/device/programming_steps.h"
#include "core/device/readback.h"

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
    const int block = *ParseBlock(options.block);
    const core::RegisterImage given = *ParseImage(options.image);
    core::RegisterImage image = given;
    RunSequence(context, prompts, "eeprom program", [&](core::BoardServices &services) {
        const auto result = core::ProgramEeprom(
            services, block, [&image]() -> core::RegisterImage & { return image; },
            options.outputEnable == "on");
        if (result == core::SequenceResult::Done && options.verify &&
            !VerifyEeprom(context, services.board, block, given)) {
            context.exitCode = 1;
        }
        return result;
    });
}

void RunLock(Context &context, const EepromOptions &options) {
    TerminalPrompts prompts(context);
    prompts.confirmation = options.confirmation;
    RunSequence(context, prompts, "eeprom lock", [&](core::BoardServices &services) {
        return core::ProgramAndLockEeprom(services, *ParseBlock(options.block),
                                          options.outputEnable == "on");
    });
}

void RunUnlock(Context &context, const EepromOptions &options) {
    TerminalPrompts prompts(context);
    prompts.password = options.password;
    RunSequence(context, prompts, "eeprom unlock", [&](core::BoardServices &services) {
        return core::UnlockChipEeprom(services, *ParseBlock(options.block));
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

}  // namespace

void AddEepromCommand(CLI::App &app, Context &context) {
    auto options = std::make_shared<EepromOptions>();
    auto *group = CommandGroup(app, "eeprom", "Chip EEPROM programming, locking and counter");

    auto *program = AddBlockImageCommand(
        *group, "program",
        "Write the image to RAM, ask the write-count question, program the EEPROM, count the "
        "write, then write the RAM again",
        options->block, options->image);
    program->add_flag("--yes,-y", options->yes,
                      "Answer the question yes (needed without a terminal)");
    program->add_flag("--verify", options->verify,
                      "Read the chip back afterwards and compare its EEPROM with the image");
    AddOutputEnableOption(program, options->outputEnable);
    program->callback([&context, options] { RunProgram(context, *options); });

    auto *lock = AddEepromSubcommand(
        group, "lock", "Program the EEPROM from what the chip's RAM holds and lock it", *options);
    lock->add_option("--confirm", options->confirmation, "The word yes, in any case")->required();
    AddOutputEnableOption(lock, options->outputEnable);
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
