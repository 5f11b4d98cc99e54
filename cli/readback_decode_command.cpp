// velorinctl readback decode: the read-back dialog's texts for eight fetched bytes.
#include <memory>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/readback_output.h"
#include "core/device/readback_decode.h"

namespace velorin::cli {

namespace {

struct ReadBackOptions {
    std::vector<std::string> hex;
    bool invert = false;
    bool json = false;
};

void RunDecode(Context &context, const ReadBackOptions &options) {
    core::ReadBackBytes fetched{};
    if (!TakeHexArgument(context, "readback decode", options.hex, fetched,
                         "give bytes 0 to 7 as fetched")) {
        return;
    }
    PrintReadBackTexts(context, core::DecodeReadBack(fetched, options.invert), options.json);
}

}  // namespace

void AddReadBackDecodeCommand(CLI::App &app, Context &context) {
    CLI::App *group = CommandGroup(app, "readback", "Chip read-back");
    auto options = std::make_shared<ReadBackOptions>();
    auto *decode = group->add_subcommand(
        "decode", "Decode the first eight read-back bytes as the dialog does");
    decode->add_option("hex", options->hex, "16 hexadecimal digits, byte 0 first; blanks allowed")
        ->required();
    decode->add_flag("--invert", options->invert,
                     "The \"Invert Data Bits\" box is set: decode the bytes as fetched");
    decode->add_flag("--json", options->json, "Machine-readable output");
    decode->callback([&context, options] { RunDecode(context, *options); });
}

}  // namespace velorin::cli
