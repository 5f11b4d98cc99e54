// Helpers shared by the offline commands: hexadecimal byte arguments and command groups.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <vector>

namespace velorin::cli {

// Joins the words, drops blanks and reads exactly count bytes of two hexadecimal digits each.
// False with a reason when the digits are missing, extra or not hexadecimal.
bool ParseHexBytes(const std::vector<std::string> &words, size_t count, std::vector<uint8_t> &bytes,
                   std::string &why);

// The subcommand of that name, added when no other command file has added it yet, so that
// offline and board subcommands can share a group such as "readback".
CLI::App *CommandGroup(CLI::App &app, const std::string &name, const std::string &description);

}  // namespace velorin::cli
