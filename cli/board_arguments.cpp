#include "cli/board_arguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "cli/arguments.h"

namespace velorin::cli {

std::optional<int> ParseBlock(const std::string &text) {
    if (text.size() != 1) return std::nullopt;
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (c >= 'A' && c <= 'D') return c - 'A';
    if (c >= '0' && c <= '3') return c - '0';
    return std::nullopt;
}

std::optional<core::RegisterImage> ParseImage(const std::string &text) {
    core::RegisterImage image;
    std::string why;
    if (!ParseHexBytes({text}, image.bytes.data(), image.bytes.size(), why)) return std::nullopt;
    return image;
}

std::optional<unsigned long> ParseNumber(const std::string &text, unsigned long max) {
    if (text.empty() || text[0] == '-' || text[0] == '+' ||
        std::isspace(static_cast<unsigned char>(text[0]))) {
        return std::nullopt;
    }
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char *end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value > max) return std::nullopt;
    return value;
}

CLI::Option *AddBlockOption(CLI::App *command, std::string &text, bool required) {
    return command->add_option("--block,-b", text, "Block: A to D, or 0 to 3")
        ->required(required)
        ->check(CLI::Validator(
            [](const std::string &value) {
                return ParseBlock(value) ? std::string() : "not a block: " + value;
            },
            "A-D|0-3"));
}

CLI::Option *AddImageArgument(CLI::App *command, std::string &text) {
    return AddImageOption(command, "image", text,
                          "Register image: 12 hexadecimal digits, Byte0 first (blanks allowed)")
        ->required();
}

CLI::Option *AddImageOption(CLI::App *command, const std::string &name, std::string &text,
                            const std::string &description) {
    return command->add_option(name, text, description)
        ->check(CLI::Validator(
            [](const std::string &value) {
                return ParseImage(value) ? std::string() : "not 12 hexadecimal digits: " + value;
            },
            "HEX12"));
}

CLI::Option *AddSwitchArgument(CLI::App *command, const std::string &name, std::string &text,
                               const std::string &description) {
    return command->add_option(name, text, description)
        ->required()
        ->check(CLI::IsMember({"on", "off"}));
}

CLI::Option *AddOutputEnableOption(CLI::App *command, std::string &text) {
    return command
        ->add_option("--output-enable", text, "The block's output enable afterwards: on or off")
        ->capture_default_str()
        ->check(CLI::IsMember({"on", "off"}));
}

CLI::App *AddBlockImageCommand(CLI::App &app, const std::string &name,
                               const std::string &description, std::string &block,
                               std::string &image) {
    auto *command = app.add_subcommand(name, description);
    AddBlockOption(command, block);
    AddImageArgument(command, image);
    return command;
}

CLI::Option *AddCheckBoxOption(CLI::App *command, const std::string &name, std::string &text) {
    return command->add_option(name, text, "0 or 1")->required()->check(CLI::IsMember({"0", "1"}));
}

}  // namespace velorin::cli
