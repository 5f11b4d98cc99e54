// velorinctl write-ram: the device-settings dialog's "write settings to RAM".
#include <memory>
#include <string>

#include "cli/board_arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "core/device/programming_sequences.h"

namespace velorin::cli {

namespace {

struct WriteRamOptions {
    std::string block;
    std::string image;
    std::string outputEnable = "on";
};

void RunWriteRam(Context &context, const WriteRamOptions &options) {
    TerminalPrompts prompts(context);
    core::RegisterImage image = *ParseImage(options.image);
    RunSequence(context, prompts, "write-ram", [&](core::BoardServices &services) {
        return core::WriteSettingsToRam(
            services, *ParseBlock(options.block),
            [&image]() -> core::RegisterImage & { return image; }, options.outputEnable == "on");
    });
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
    command->callback([&context, options] { RunWriteRam(context, *options); });
}

}  // namespace velorin::cli
