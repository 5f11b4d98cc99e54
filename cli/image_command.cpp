// velorinctl image decode: every field of a six-byte register image.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "core/device/readback_decode.h"
#include "core/device/register_image.h"
#include "core/loopfilter/component_tables.h"
#include "core/planning/number_text.h"
#include "core/text/hex_text.h"

namespace velorin::cli {

namespace {

using namespace core;

struct ImageOptions {
    std::vector<std::string> hex;
    bool json = false;
};

nlohmann::json DecodeImage(const RegisterImage &image) {
    const int prescalerCode = PrescalerCode(image);
    const int dividerCode = OutputDividerCode(image);
    nlohmann::json fields = {
        {"vcoSelect", VcoSelect(image)},
        {"prescalerCode", prescalerCode},
        {"outputDividerCode", dividerCode},
        {"outputType", OutputType(image)},
        {"calDelayCount", CalDelayCount(image)},
        {"c2Code", C2Code(image)},
        {"r2Code", R2Code(image)},
        {"c1Code", C1Code(image)},
        {"c3Code", C3Code(image)},
        {"chargePumpCode", ChargePumpCode(image)},
        {"vcoCalWord", VcoCalWord(image)},
        {"vcoCalOverride", VcoCalOverride(image)},
        {"vcoCalEnable", VcoCalEnable(image)},
        {"testSelect", TestSelect(image)},
        {"loopFilterWord", FormatLoopFilterWord(LoopFilterWord(image))},
        // Readable extras.
        {"bytes", FormatHexBytes(image.bytes.data(), image.bytes.size())},
        {"controlWord", FormatHex(image.ControlWord(), 8)},
        {"vco", VcoSelect(image) ? "VCO 2" : "VCO 1"},
        {"prescaler", PrescalerValue(prescalerCode)},
        {"feedbackDivider", FeedbackDividerForPrescaler[static_cast<size_t>(prescalerCode)]},
        {"outputTypeText", OutputType(image) ? "LVPECL" : "LVDS"},
        {"calDelayText", CalDelayText(CalDelayCount(image))},
        {"chargePumpText", ChargePumpText(ChargePumpCode(image))},
        {"c1", FormatFixed(C1Values()[static_cast<size_t>(C1Code(image))], 1) + " pF"},
        {"c2", FormatFixed(C2Values()[static_cast<size_t>(C2Code(image))], 1) + " pF"},
        {"c3", FormatFixed(C3Values()[static_cast<size_t>(C3Code(image))], 1) + " pF"},
        {"r2", FormatFixed(R2Values()[static_cast<size_t>(R2Code(image))], 1) + " kOhm"},
        {"testSelectText", TestSelectEntries[static_cast<size_t>(TestSelect(image))]},
        {"spareBits", image.bytes[5] >> 4},
    };
    const int divider = OutputDividerValue(dividerCode);
    fields["outputDivider"] = divider == 0 ? nlohmann::json(nullptr) : nlohmann::json(divider);
    return fields;
}

void PrintText(Context &context, const RegisterImage &image, const nlohmann::json &f) {
    auto &out = context.out;
    out << "Bytes:               " << FormatHexBytes(image.bytes.data(), 6, " ")
        << " (control word " << f["controlWord"].get<std::string>() << ")\n";
    out << "VCO select:          " << f["vcoSelect"] << " (" << f["vco"].get<std::string>()
        << ")\n";
    out << "Prescaler:           code " << f["prescalerCode"] << " (/ " << f["prescaler"]
        << ", feedback divider " << f["feedbackDivider"] << ")\n";
    out << "Output divider:      code " << f["outputDividerCode"] << " ("
        << (f["outputDivider"].is_null() ? "no divider" : "/ " + f["outputDivider"].dump())
        << ")\n";
    out << "Output type:         " << f["outputType"] << " ("
        << f["outputTypeText"].get<std::string>() << ")\n";
    out << "Cal delay count:     " << f["calDelayCount"] << " ("
        << f["calDelayText"].get<std::string>() << ")\n";
    out << "C2:                  code " << f["c2Code"] << " (" << f["c2"].get<std::string>()
        << ")\n";
    out << "R2:                  code " << f["r2Code"] << " (" << f["r2"].get<std::string>()
        << ")\n";
    out << "C1:                  code " << f["c1Code"] << " (" << f["c1"].get<std::string>()
        << ")\n";
    out << "C3:                  code " << f["c3Code"] << " (" << f["c3"].get<std::string>()
        << ")\n";
    out << "Charge pump:         code " << f["chargePumpCode"] << " ("
        << f["chargePumpText"].get<std::string>() << ")\n";
    out << "VCO cal word:        " << f["vcoCalWord"] << "\n";
    out << "VCO cal override:    " << f["vcoCalOverride"] << "\n";
    out << "VCO cal enable:      " << f["vcoCalEnable"] << "\n";
    out << "Test select:         " << f["testSelect"] << " ("
        << f["testSelectText"].get<std::string>() << ")\n";
    out << "Loop-filter word:    " << f["loopFilterWord"].get<std::string>() << "\n";
}

void RunDecode(Context &context, const ImageOptions &options) {
    RegisterImage image;
    if (!TakeHexArgument(context, "image decode", options.hex, image.bytes,
                         "give the six image bytes")) {
        return;
    }
    const nlohmann::json fields = DecodeImage(image);
    if (options.json) {
        context.out << fields.dump(2) << "\n";
    } else {
        PrintText(context, image, fields);
    }
}

}  // namespace

void AddImageCommand(CLI::App &app, Context &context) {
    CLI::App *group = CommandGroup(app, "image", "Register image tools");
    auto options = std::make_shared<ImageOptions>();
    auto *decode = group->add_subcommand("decode", "Decode the six register-image bytes");
    decode->add_option("hex", options->hex, "12 hexadecimal digits, Byte0 first; blanks allowed")
        ->required();
    decode->add_flag("--json", options->json, "Machine-readable output");
    decode->callback([&context, options] { RunDecode(context, *options); });
}

}  // namespace velorin::cli
