// velorinctl image decode: every field of a six-byte register image.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "core/base/hex_text.h"
#include "core/device/register_image.h"

namespace velorin::cli {

namespace {

using namespace core;

struct ImageOptions {
    std::vector<std::string> hex;
    bool json = false;
};

nlohmann::json DecodeImage(const RegisterImage &image) {
    nlohmann::json fields;
    // Every field's code by its key; the two halves of the calibration delay count as one.
    for (const RegisterField &f : kRegisterFields) {
        if (f.field == Field::CalDelayLow || f.field == Field::CalDelayHigh) continue;
        fields[f.key] = ReadField(image, f.field);
    }
    fields["calDelayCount"] = CalDelayCount(image);
    fields["loopFilterWord"] = FormatLoopFilterWord(LoopFilterWord(image));
    // Readable extras.
    const auto text = [&image](Field f) { return FieldValueText(f, ReadField(image, f)); };
    const int prescalerCode = PrescalerCode(image);
    fields["bytes"] = FormatHexBytes(image.bytes.data(), image.bytes.size());
    fields["controlWord"] = FormatHex(image.ControlWord(), 8);
    fields["vco"] = text(Field::VcoSelect);
    fields["prescaler"] = PrescalerValue(prescalerCode);
    fields["feedbackDivider"] = FeedbackDividerForPrescaler[static_cast<size_t>(prescalerCode)];
    fields["outputTypeText"] = text(Field::OutputType);
    fields["calDelayText"] = CalDelayText(CalDelayCount(image));
    fields["chargePumpText"] = text(Field::ChargePump);
    fields["c1"] = text(Field::C1);
    fields["c2"] = text(Field::C2);
    fields["c3"] = text(Field::C3);
    fields["r2"] = text(Field::R2);
    fields["testSelectText"] = text(Field::TestSelect);
    const int divider = OutputDividerValue(OutputDividerCode(image));
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
