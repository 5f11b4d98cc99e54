// velorinctl image decode|set|export: every field of a six-byte register image, edits of its
// fields, and the image in the forms a firmware build takes.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/board_arguments.h"
#include "cli/commands.h"
#include "core/base/file_io.h"
#include "core/base/hex_text.h"
#include "core/device/image_edit.h"
#include "core/device/image_export.h"
#include "core/device/register_image.h"
#include "velorin_version.h"

namespace velorin::cli {

namespace {

using namespace core;

struct ImageOptions {
    std::vector<std::string> hex;
    bool json = false;
};

struct SetOptions {
    std::string base;
    std::vector<std::string> edits;
    bool json = false;
};

struct ExportOptions {
    std::string image;
    std::string format;
    std::string name;
    std::string block = "A";
    std::string file;
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

void RunSet(Context &context, const SetOptions &options) {
    RegisterImage image = *ParseImage(options.base);
    for (const std::string &edit : options.edits) {
        const FieldEdit result = ApplyFieldEdit(image, edit);
        if (result.status != FieldEdit::Status::Ok) {
            context.err << "velorinctl image set: " << result.message << "\n";
            context.exitCode = 2;
            return;
        }
    }
    if (options.json) {
        context.out << DecodeImage(image).dump(2) << "\n";
    } else {
        context.out << FormatHexBytes(image.bytes.data(), image.bytes.size()) << "\n";
    }
}

void RunExport(Context &context, const ExportOptions &options) {
    const int block = *ParseBlock(options.block);
    const ImageExport how{*ExportFormatNamed(options.format),
                          block,
                          options.name.empty() ? DefaultExportName(block) : options.name,
                          {TodayIsoDate(), std::string("velorinctl ") + VELORIN_PACKAGE_VERSION}};
    const std::string text = ExportImage(*ParseImage(options.image), how);
    if (options.file.empty()) {
        context.out << text;
        return;
    }
    std::string why;
    if (!WriteFileAtomically(options.file, text, &why)) {
        context.err << "velorinctl image export: " << options.file << " not written: " << why
                    << "\n";
        context.exitCode = 1;
    }
}

void AddSet(CLI::App *group, Context &context) {
    auto options = std::make_shared<SetOptions>();
    auto *set = group->add_subcommand(
        "set", "Print the image with the given fields changed; every other bit stays");
    AddImageOption(set, "base", options->base, "12 hexadecimal digits, Byte0 first; blanks allowed")
        ->required();
    set->add_option("edits", options->edits,
                    "FIELD=VALUE: a code key of image decode --json (prescalerCode=2, "
                    "loopFilterWord=02279E) or prescaler=4, outputDivider=4, vco=2, "
                    "output=lvpecl, chargePump=224uA");
    set->add_flag("--json", options->json, "Print the decoded image, as image decode --json");
    set->callback([&context, options] { RunSet(context, *options); });
}

void AddExport(CLI::App *group, Context &context) {
    auto options = std::make_shared<ExportOptions>();
    auto *command = group->add_subcommand(
        "export", "The image as a C header, JSON or CSV, every field in words, for firmware");
    AddImageOption(command, "image", options->image,
                   "12 hexadecimal digits, Byte0 first; blanks allowed")
        ->required();
    command->add_option("--format", options->format, "c, json or csv")
        ->required()
        ->check(CLI::IsMember({"c", "json", "csv"}));
    command
        ->add_option("--name", options->name,
                     "The C header's array (default mxrg817a_block_a for block A)")
        ->check(CLI::Validator(
            [](const std::string &name) {
                return IsCIdentifier(name) ? std::string()
                                           : "\"" + name + "\" is not " + kCIdentifierRule;
            },
            "IDENT"));
    AddBlockOption(command, options->block, false)->capture_default_str();
    command->add_option("-o,--output", options->file,
                        "Write this file (replaced whole) instead of standard output");
    command->callback([&context, options] { RunExport(context, *options); });
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
    AddSet(group, context);
    AddExport(group, context);
}

}  // namespace velorin::cli
