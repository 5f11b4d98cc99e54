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

constexpr NumericRange kPrescalerRange{2, 5, 5, true, Quantity::Plain};
constexpr NumericRange kOutputDividerRange{1, 32, 1, true, Quantity::Plain};
constexpr NumericRange kVcoRange{1, 2, 1, true, Quantity::Plain};
constexpr double kChargePumpMaxA = 224e-6;
constexpr NumericRange kChargePumpRange{0, kChargePumpMaxA, kChargePumpMaxA, false,
                                        Quantity::Current};
constexpr NumericRange kBandwidthRange{50000.0, 400000.0, 400000.0, false, Quantity::Frequency};
constexpr NumericRange kPhaseMarginRange{30.0, 80.0, 80.0, false, Quantity::Plain};
constexpr double kR3KOhm = 10.0;

// The position of `value` in `table`, or -1.
template <size_t N>
int IndexOf(const std::array<int, N> &table, double value) {
    for (size_t i = 0; i < N; ++i) {
        if (table[i] == value) return static_cast<int>(i);
    }
    return -1;
}

// The table position of the number in the first parameter; nothing, with the error set, when
// it is no number of the range or none of the table's.
template <size_t N>
std::optional<int> ReadMember(CommandContext &c, const NumericRange &range,
                              const std::array<int, N> &table, const char *members) {
    const auto value = c.Number(range);
    if (!value) return std::nullopt;
    const int index = IndexOf(table, *value);
    if (index < 0) {
        c.Refuse(kIllegalParameterValue, members);
        return std::nullopt;
    }
    return index;
}

double ChargePumpAmps(const RegisterImage &image) {
    return ChargePumpMicroAmps(ChargePumpCode(image)) * 1e-6;
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

std::string FormatLoopFilterLimits(double bandwidth) {
    const double margin = bandwidth == kBandwidthRange.min   ? kPhaseMarginRange.min
                          : bandwidth == kBandwidthRange.max ? kPhaseMarginRange.max
                                                             : *kPhaseMarginRange.defaultValue;
    return FormatNr3(bandwidth) + "," + FormatWhole(margin);
}

}  // namespace

void SetPrescaler(CommandContext &c) {
    const auto code = ReadMember(c, kPrescalerRange, PrescalerForCode, "2, 3, 4 or 5");
    if (code) c.instrument.Model(c.Block()).RunSettingCommand(PrescalerCommand(*code).value_or(0));
}

void QueryPrescaler(CommandContext &c) {
    if (c.AnswerLimit(kPrescalerRange, FormatWhole)) return;
    c.Answer(std::to_string(PrescalerValue(PrescalerCode(c.instrument.Image(c.Block())))));
}

void SetOutputDivider(CommandContext &c) {
    const auto code =
        ReadMember(c, kOutputDividerRange, OutputDividerForCode, "1, 2, 4, 8, 16 or 32");
    if (code)
        c.instrument.Model(c.Block()).RunSettingCommand(OutputDividerCommand(*code).value_or(0));
}

void QueryOutputDivider(CommandContext &c) {
    if (c.AnswerLimit(kOutputDividerRange, FormatWhole)) return;
    c.Answer(std::to_string(OutputDividerValue(OutputDividerCode(c.instrument.Image(c.Block())))));
}

void SetVco(CommandContext &c) {
    if (const auto vco = c.Number(kVcoRange)) {
        c.instrument.Model(c.Block()).SelectVco(*vco == 1 ? 0 : 1);
    }
}

void QueryVco(CommandContext &c) {
    if (c.AnswerLimit(kVcoRange, FormatWhole)) return;
    c.Answer(VcoSelect(c.instrument.Image(c.Block())) == 0 ? "1" : "2");
}

void SetChargePump(CommandContext &c) {
    const auto amps = c.Number(kChargePumpRange);
    if (!amps) return;
    // Whole multiples of one source's current, within what a typed decimal can miss by.
    const double sources = *amps / (kChargePumpStepMicroAmps * 1e-6);
    const long index = std::lround(sources);
    if (std::fabs(sources - static_cast<double>(index)) > 1e-6) {
        c.Refuse(kIllegalParameterValue, "0, 56, 112, 168 or 224 uA");
        return;
    }
    MainViewModel &model = c.instrument.Model(c.Block());
    // No menu item offers 0 uA; the setter itself does.
    if (index == 0) {
        model.SetChargePump(0, true);
    } else {
        model.RunSettingCommand(ChargePumpCommand(static_cast<int>(index)).value_or(0));
    }
}

void QueryChargePump(CommandContext &c) {
    if (c.AnswerLimit(kChargePumpRange, FormatNr3)) return;
    c.Answer(FormatNr3(ChargePumpAmps(c.instrument.Image(c.Block()))));
}

void SetOutputType(CommandContext &c) {
    static constexpr std::string_view kTypes[] = {"LVDS", "LVPECL"};
    const auto type = ParseChoice(c.parameters[0], kTypes);
    if (!type) {
        c.Refuse(kIllegalParameterValue, "LVDS or LVPECL");
        return;
    }
    c.instrument.Model(c.Block()).SelectOutputType(*type);
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
    const auto bandwidth = c.Number(kBandwidthRange);
    if (!bandwidth) return;
    Error error;
    const auto margin = ParseNumber(c.parameters[1], kPhaseMarginRange, error);
    if (!margin) {
        c.error = std::move(error);
        return;
    }
    const int block = c.Block();
    const RegisterImage &image = c.instrument.Image(block);
    // Without charge-pump current the loop has no gain: any design would be a made-up one.
    if (ChargePumpAmps(image) <= 0) {
        c.Refuse(kSettingsConflict, "the charge pump gives no current");
        return;
    }
    const int prescalerCode = PrescalerCode(image);
    LoopFilterRequest request;
    request.bandwidthHz = *bandwidth;
    request.phaseMarginDeg = *margin;
    request.chargePumpA = ChargePumpAmps(image);
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
    if (c.AnswerLimit(kBandwidthRange, FormatLoopFilterLimits)) return;
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
