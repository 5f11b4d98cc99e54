#include "cli/arguments.h"

#include "core/base/hex_text.h"

namespace velorin::cli {

bool ParseHexBytes(const std::vector<std::string> &words, uint8_t *bytes, size_t count,
                   std::string &why) {
    std::string digits;
    for (const std::string &word : words) {
        for (char c : word) {
            if (c == ' ' || c == '\t') continue;
            if (core::HexDigitValue(c) < 0) {
                why = "'" + std::string(1, c) + "' is not a hexadecimal digit";
                return false;
            }
            digits += c;
        }
    }
    if (digits.size() != 2 * count) {
        why = "expected " + std::to_string(2 * count) + " hexadecimal digits, got " +
              std::to_string(digits.size());
        return false;
    }
    return core::ParseHexBytes(digits, bytes, count);
}

CLI::App *CommandGroup(CLI::App &app, const std::string &name, const std::string &description) {
    for (CLI::App *existing : app.get_subcommands([](CLI::App *) { return true; })) {
        if (existing->get_name() == name) return existing;
    }
    CLI::App *group = app.add_subcommand(name, description);
    group->require_subcommand(1);
    return group;
}

}  // namespace velorin::cli
