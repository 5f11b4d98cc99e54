// Each Add*Commands function adds its subcommands to the application. The callbacks set
// context.exitCode; they never throw out of the parser.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"

namespace velorin::cli {

void AddStatusCommand(CLI::App &app, Context &context);
void AddPlanCommand(CLI::App &app, Context &context);
void AddImageCommand(CLI::App &app, Context &context);
void AddReadBackDecodeCommand(CLI::App &app, Context &context);
void AddConfigCommand(CLI::App &app, Context &context);
void AddLoopFilterCommand(CLI::App &app, Context &context);
void AddPortCommands(CLI::App &app, Context &context);
void AddWriteRamCommand(CLI::App &app, Context &context);
void AddEepromCommand(CLI::App &app, Context &context);
void AddChipCommands(CLI::App &app, Context &context);
void AddSaveRecordCommand(CLI::App &app, Context &context);
void AddXtalCommand(CLI::App &app, Context &context);
void AddFirmwareCommand(CLI::App &app, Context &context);
void AddUsbCommand(CLI::App &app, Context &context);

}  // namespace velorin::cli
