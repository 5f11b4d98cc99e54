// The chip's settings: each setter is the main view's, so it writes the block's chip at once
// (with the calibration restart and the output enable) exactly as a click on the view would.
#include <array>
#include <cmath>
#include <string>

#include "core/base/hex_text.h"
#include "core/base/number_text.h"
#include "core/device/component_tables.h"
#include "core/device/programming_sequences.h"
#include "core/device/register_image.h"
#include "core/loopfilter/loop_filter.h"
#include "core/planning/view_commands.h"
#include "core/scpi/command_handlers.h"
#include "core/scpi/instrument.h"
#include "core/scpi/parameter_values.h"

namespace velorin::core::scpi::handlers {

namespace {

constexpr double kBandwidthMinHz = 50000.0;
constexpr double kBandwidthMaxHz = 400000.0;
constexpr double kPhaseMarginMinDeg = 30.0;
constexpr double kPhaseMarginMaxDeg = 80.0;
constexpr double kR3KOhm = 10.0;

// The position of `value` in `table`, or -1.
template <size_t N>
int IndexOf(const std::array<int, N> &table, double value) {
    for (size_t i = 0; i < N; ++i) {
        if (table[i] == value) return static_cast<int>(i);
    }
    return -1;
}

std::optional<int> ReadMember(CommandContext &c, double min, double max, double def,
                              int (*position)(double), const char *members) {
    Error error;
    const auto value = ParseNumber(c.parameters[0], NumericRange{min, max, def, true}, error);
    if (!value) {
        c.error = error;
        return std::nullopt;
    }
    const int index = position(*value);
    if (index < 0) {
        c.Refuse(kIllegalParameterValue, members);
        return std::nullopt;
    }
    return index;
}

// The view's numbers follow an image that was set as a whole; nothing is written.
void ShowImage(MainViewModel &model, const RegisterImage &image) {
    const int prescalerCode = PrescalerCode(image);
    model.SetPrescaler(prescalerCode, false);
    // The feedback divider that the prescaler's menu item sets beside it.
    if (const ViewCommand *item = FindViewCommand(PrescalerCommand(prescalerCode).value_or(0))) {
        model.SetFeedbackDivider(item->feedbackIndex);
    }
    model.SetOutputDivider(OutputDividerCode(image), false);
    // A charge-pump code that is no thermometer code has no position to show; the setter
    // would overwrite it.
    const int chargePump = DecodeChargePumpCode(ChargePumpCode(image));
    if (ChargePumpCodes[static_cast<size_t>(chargePump)] == ChargePumpCode(image)) {
        model.SetChargePump(chargePump, false);
    }
    model.State().vcoSelect = VcoSelect(image);
    model.State().outputType = OutputType(image);
}

}  // namespace

void SetPrescaler(CommandContext &c) {
    const auto code = ReadMember(
        c, 2, 5, 5, [](double v) { return IndexOf(PrescalerForCode, v); }, "2, 3, 4 or 5");
    if (code) c.instrument.Model(c.Block()).RunSettingCommand(PrescalerCommand(*code).value_or(0));
}

void QueryPrescaler(CommandContext &c) {
    c.Answer(std::to_string(PrescalerValue(PrescalerCode(c.instrument.Image(c.Block())))));
}

void SetOutputDivider(CommandContext &c) {
    const auto code = ReadMember(
        c, 1, 32, 1, [](double v) { return IndexOf(OutputDividerForCode, v); },
        "1, 2, 4, 8, 16 or 32");
    if (code)
        c.instrument.Model(c.Block()).RunSettingCommand(OutputDividerCommand(*code).value_or(0));
}

void QueryOutputDivider(CommandContext &c) {
    c.Answer(std::to_string(OutputDividerValue(OutputDividerCode(c.instrument.Image(c.Block())))));
}

void SetVco(CommandContext &c) {
    Error error;
    const auto vco = ParseNumber(c.parameters[0], NumericRange{1, 2, 1, true}, error);
    if (!vco) {
        c.error = error;
        return;
    }
    // The toggle lands on the wanted VCO, as the calculator's Apply does it.
    MainViewModel &model = c.instrument.Model(c.Block());
    model.State().vcoSelect = *vco == 1 ? 1 : 0;
    model.ToggleVco();
}

void QueryVco(CommandContext &c) {
    c.Answer(VcoSelect(c.instrument.Image(c.Block())) == 0 ? "1" : "2");
}

void SetChargePump(CommandContext &c) {
    static constexpr std::array<int, 5> kMicroAmps = {0, 56, 112, 168, 224};
    const auto index = ReadMember(
        c, 0, 224, 224, [](double v) { return IndexOf(kMicroAmps, v); },
        "0, 56, 112, 168 or 224 uA");
    if (!index) return;
    MainViewModel &model = c.instrument.Model(c.Block());
    // No menu item offers 0 uA; the setter itself does.
    if (*index == 0) {
        model.SetChargePump(0, true);
    } else {
        model.RunSettingCommand(ChargePumpCommand(*index).value_or(0));
    }
}

void QueryChargePump(CommandContext &c) {
    const int position = DecodeChargePumpCode(ChargePumpCode(c.instrument.Image(c.Block())));
    c.Answer(std::to_string(position * kChargePumpStepMicroAmps));
}

void SetOutputType(CommandContext &c) {
    static constexpr std::string_view kTypes[] = {"LVDS", "LVPECL"};
    const auto type = ParseChoice(c.parameters[0], kTypes);
    if (!type) {
        c.Refuse(kIllegalParameterValue, "LVDS or LVPECL");
        return;
    }
    MainViewModel &model = c.instrument.Model(c.Block());
    model.State().outputType = *type == 1 ? 0 : 1;
    model.ToggleOutputType();
}

void QueryOutputType(CommandContext &c) {
    c.Answer(OutputType(c.instrument.Image(c.Block())) == 1 ? "LVPECL" : "LVDS");
}

void SetImage(CommandContext &c) {
    RegisterImage given;
    if (!ParseHexBytes(c.parameters[0].text, given.bytes.data(), given.bytes.size())) {
        c.Refuse(kIllegalParameterValue, "12 hexadecimal digits, Byte0 first");
        return;
    }
    const int block = c.Block();
    RegisterImage &image = c.instrument.Image(block);
    image = given;
    MainViewModel &model = c.instrument.Model(block);
    BoardServices services = c.instrument.Services();
    WriteSettingsToRam(
        services, block, [&image]() -> RegisterImage & { return image; },
        model.State().outputEnableOn);
    ShowImage(model, image);
}

void QueryImage(CommandContext &c) {
    const RegisterImage &image = c.instrument.Image(c.Block());
    c.Answer(FormatHexBytes(image.bytes.data(), image.bytes.size()));
}

void SetLoopFilter(CommandContext &c) {
    Error error;
    const auto bandwidth =
        ParseNumber(c.parameters[0],
                    NumericRange{kBandwidthMinHz, kBandwidthMaxHz, kBandwidthMaxHz, false}, error);
    const auto margin = bandwidth ? ParseNumber(c.parameters[1],
                                                NumericRange{kPhaseMarginMinDeg, kPhaseMarginMaxDeg,
                                                             kPhaseMarginMaxDeg, false},
                                                error)
                                  : std::nullopt;
    if (!bandwidth || !margin) {
        c.error = error;
        return;
    }
    const int block = c.Block();
    const RegisterImage &image = c.instrument.Image(block);
    const int prescalerCode = PrescalerCode(image);
    LoopFilterRequest request;
    request.bandwidthHz = *bandwidth;
    request.phaseMarginDeg = *margin;
    request.chargePumpA =
        DecodeChargePumpCode(ChargePumpCode(image)) * kChargePumpStepMicroAmps * 1e-6;
    request.prescaler = PrescalerValue(prescalerCode);
    request.feedbackDivider = FeedbackDividerForPrescaler[static_cast<size_t>(prescalerCode)];
    const LoopFilterDesign design = DesignLoopFilter(request);
    if (design.status != 0) {
        c.Refuse(kExecutionError, "no loop-filter design for these values");
        return;
    }
    const LoopFilterCodes &codes = design.selection.codes;
    c.instrument.Model(block).ApplyLoopFilter(
        LoopFilterChoice{*bandwidth, *margin, codes.c1, codes.c2, codes.c3, codes.r2});
}

void QueryLoopFilter(CommandContext &c) {
    const RegisterImage &image = c.instrument.Image(c.Block());
    const auto value = [](double v) { return FormatFixed(v, 1); };
    c.Answer(value(C1Values()[static_cast<size_t>(C1Code(image))]) + "," +
             value(C2Values()[static_cast<size_t>(C2Code(image))]) + "," +
             value(C3Values()[static_cast<size_t>(C3Code(image))]) + "," +
             value(R2Values()[static_cast<size_t>(R2Code(image))]) + "," + value(kR3KOhm));
}

void QueryLoopFilterWord(CommandContext &c) {
    c.Answer(FormatLoopFilterWord(LoopFilterWord(c.instrument.Image(c.Block()))));
}

}  // namespace velorin::core::scpi::handlers
