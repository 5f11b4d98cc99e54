// Arguments of the board commands: blocks, register images and switch states.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "core/device/register_image.h"

namespace velorin::cli {

// "A" to "D" (either case) or "0" to "3".
std::optional<int> ParseBlock(const std::string &text);
// 12 hexadecimal digits, Byte0 first.
std::optional<core::RegisterImage> ParseImage(const std::string &text);
// A byte or port number: decimal, or hexadecimal with 0x.
std::optional<unsigned long> ParseNumber(const std::string &text, unsigned long max);

// Options whose text is checked while parsing, so that a bad value is a usage error (exit 2).
// --block, required unless `required` is false.
CLI::Option *AddBlockOption(CLI::App *command, std::string &text, bool required = true);
CLI::Option *AddImageArgument(CLI::App *command, std::string &text);
// A register image option or argument by that name, optional unless made required.
CLI::Option *AddImageOption(CLI::App *command, const std::string &name, std::string &text,
                            const std::string &description);
// "on" or "off".
CLI::Option *AddSwitchArgument(CLI::App *command, const std::string &name, std::string &text,
                               const std::string &description);
// --output-enable on|off: the output-enable box that a sequence applies at its end; `text`
// keeps its default when the option is not given.
CLI::Option *AddOutputEnableOption(CLI::App *command, std::string &text);
// A board command on one block with a register image: --block B IMAGE.
CLI::App *AddBlockImageCommand(CLI::App &app, const std::string &name,
                               const std::string &description, std::string &block,
                               std::string &image);
// A required check-box state: "0" or "1".
CLI::Option *AddCheckBoxOption(CLI::App *command, const std::string &name, std::string &text);

}  // namespace velorin::cli
