// Helpers shared by the offline commands: hexadecimal byte arguments and command groups.
#pragma once

#include <CLI/CLI.hpp>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/context.h"

namespace velorin::cli {

// Joins the words, drops blanks and reads exactly count bytes of two hexadecimal digits each.
// False with a reason, and the bytes untouched, when the digits are missing, extra or not
// hexadecimal.
bool ParseHexBytes(const std::vector<std::string> &words, uint8_t *bytes, size_t count,
                   std::string &why);

// ParseHexBytes for a command's byte argument; a bad argument is reported on standard error as
// a usage error (exit code 2), with the hint saying what to give.
template <size_t N>
bool TakeHexArgument(Context &context, const char *command, const std::vector<std::string> &words,
                     std::array<uint8_t, N> &bytes, const char *hint) {
    std::string why;
    if (ParseHexBytes(words, bytes.data(), N, why)) return true;
    context.err << "velorinctl " << command << ": " << why << " (" << hint << ")\n";
    context.exitCode = 2;
    return false;
}

// The subcommand of that name, added when no other command file has added it yet, so that
// offline and board subcommands can share a group such as "readback".
CLI::App *CommandGroup(CLI::App &app, const std::string &name, const std::string &description);

}  // namespace velorin::cli
