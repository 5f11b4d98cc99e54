#include "cli/arguments.h"

#include "core/device/hex_text.h"

namespace velorin::cli {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

bool ParseHexBytes(const std::vector<std::string> &words, size_t count, std::vector<uint8_t> &bytes,
                   std::string &why) {
    std::string digits;
    for (const std::string &word : words) {
        for (char c : word) {
            if (c == ' ' || c == '\t') continue;
            if (HexDigit(c) < 0) {
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
    bytes.clear();
    for (size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(HexDigit(digits[i]) << 4 | HexDigit(digits[i + 1])));
    }
    return true;
}

std::string FormatHexBytes(const uint8_t *bytes, size_t count, const char *separator) {
    return core::HexBytes({bytes, count}, separator);
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
