// velorinctl write-ram: the device-settings dialog's "write settings to RAM".
#include <memory>
#include <string>

#include "cli/board_arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "core/base/hex_text.h"
#include "core/device/programming_sequences.h"

namespace velorin::cli {

namespace {

struct WriteRamOptions {
    std::string block;
    std::string image;
    std::string outputEnable = "on";
    bool quiet = false;
};

void RunWriteRam(Context &context, const WriteRamOptions &options) {
    TerminalPrompts prompts(context);
    core::RegisterImage image = *ParseImage(options.image);
    const int block = *ParseBlock(options.block);
    RunSequence(context, prompts, "write-ram", [&](core::BoardServices &services) {
        return core::WriteSettingsToRam(
            services, block, [&image]() -> core::RegisterImage & { return image; },
            options.outputEnable == "on");
    });
    // A script sees what went in; a failure has already said why on standard error.
    if (context.exitCode == 0 && !options.quiet) {
        context.out << core::BlockName(block)
                    << " RAM: " << core::FormatHexBytes(image.bytes.data(), image.bytes.size(), " ")
                    << "\n";
    }
}

}  // namespace

void AddWriteRamCommand(CLI::App &app, Context &context) {
    auto options = std::make_shared<WriteRamOptions>();
    auto *command = AddBlockImageCommand(
        app, "write-ram",
        "Write a register image into the block's chip RAM (with the calibration restart when "
        "VCO calibration is enabled), then set the block's output enable",
        options->block, options->image);
    AddOutputEnableOption(command, options->outputEnable);
    command->add_flag("--quiet,-q", options->quiet, "Print nothing on success");
    command->callback([&context, options] { RunWriteRam(context, *options); });
}

}  // namespace velorin::cli
