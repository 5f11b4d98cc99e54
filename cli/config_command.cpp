// velorinctl config read/write: the register image in a configuration file.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "core/base/hex_text.h"
#include "core/device/configuration_file.h"

namespace velorin::cli {

namespace {

struct ConfigOptions {
    std::string file;
    std::vector<std::string> hex;
    bool json = false;
};

void RunRead(Context &context, const ConfigOptions &options) {
    core::RegisterImage image;
    std::string why;
    if (!core::LoadConfiguration(options.file, image, &why)) {
        context.err << "velorinctl config read: " << why << "\n";
        context.exitCode = 1;
        return;
    }
    const std::string hex = core::FormatHexBytes(image.bytes.data(), image.bytes.size());
    if (options.json) {
        context.out << nlohmann::json{{"image", hex}}.dump(2) << "\n";
    } else {
        context.out << hex << "\n";
    }
}

void RunWrite(Context &context, const ConfigOptions &options) {
    core::RegisterImage image;
    if (!TakeHexArgument(context, "config write", options.hex, image.bytes,
                         "give the six image bytes")) {
        return;
    }
    std::string why;
    if (!core::SaveConfiguration(options.file, image, &why)) {
        context.err << "velorinctl config write: " << why << "\n";
        context.exitCode = 1;
    }
}

}  // namespace

void AddConfigCommand(CLI::App &app, Context &context) {
    CLI::App *group = CommandGroup(app, "config", "Configuration files");
    auto read = std::make_shared<ConfigOptions>();
    auto *readCommand = group->add_subcommand("read", "Show the image stored in a file");
    readCommand->add_option("file", read->file, "Configuration file")->required();
    readCommand->add_flag("--json", read->json, "Machine-readable output");
    readCommand->callback([&context, read] { RunRead(context, *read); });

    auto write = std::make_shared<ConfigOptions>();
    auto *writeCommand =
        group->add_subcommand("write", "Store an image in a file, keeping its other contents");
    writeCommand->add_option("file", write->file, "Configuration file")->required();
    writeCommand->add_option("hex", write->hex, "12 hexadecimal digits, Byte0 first")->required();
    writeCommand->callback([&context, write] { RunWrite(context, *write); });
}

}  // namespace velorin::cli
