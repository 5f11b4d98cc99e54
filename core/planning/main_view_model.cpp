#include "core/planning/main_view_model.h"

#include <algorithm>
#include <array>

#include "core/base/latin1_text.h"
#include "core/base/number_text.h"
#include "core/device/board_ports.h"
#include "core/device/loop_filter_word.h"
#include "core/device/port_switches.h"
#include "core/device/programming_steps.h"
#include "core/device/sequence_messages.h"
#include "core/planning/crystal_record.h"
#include "core/planning/plan_calculator.h"
#include "core/planning/view_commands.h"
#include "core/planning/view_eeprom_commands.h"

namespace velorin::core {

namespace {

constexpr uint32_t kConstructionControlWord = 0x8002279E;
constexpr int kFullChargePumpCode = 15;
constexpr int kCalibrationRestartMs = 50;

// The feedback-divider block's choices in menu order (12, 16, 20, 32), and the one that goes
// with each prescaler code.
constexpr std::array<int, 4> kFeedbackDividers = [] {
    std::array<int, 4> sorted = FeedbackDividerForPrescaler;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}();
constexpr int FeedbackIndexForPrescaler(int code) {
    for (size_t i = 0; i < kFeedbackDividers.size(); ++i) {
        if (kFeedbackDividers[i] == FeedbackDividerForPrescaler[static_cast<size_t>(code & 3)])
            return static_cast<int>(i);
    }
    return 0;
}

template <size_t N>
bool InTable(int index, const std::array<int, N> &) {
    return index >= 0 && index < static_cast<int>(N);
}

std::string ChargePumpText(int index) {
    return FieldValueText(Field::ChargePump, ChargePumpCodes[static_cast<size_t>(index)]);
}

}  // namespace

MainViewModel::MainViewModel(Board &board, Prompts &prompts, Sleeper &sleeper, RegisterImage &image)
    : board_(board), prompts_(prompts), sleeper_(sleeper), image_(image) {
    image_.bytes.fill(0);
    image_.SetControlWord(kConstructionControlWord);
}

bool MainViewModel::IsFourBlockBoard() const {
    return core::IsFourBlockBoard(state_.boardId);
}

bool MainViewModel::Recorded(BoardWrite kind, bool ok) {
    status_.Record(kind, state_.blockIndex, ok);
    return ok;
}

void MainViewModel::InitialUpdate() {
    // The form shows the state when this starts; the power switch at the end reads it back, so
    // the calibration box keeps what the user left there however often this runs.
    const bool calibrationOnForm = state_.vcoCalibrationOn;
    state_.vcoCalibrationOn = true;
    display_.prescalerText = FieldValueText(Field::Prescaler, 0);
    display_.feedbackDividerText = "/ " + std::to_string(kFeedbackDividers[0]);
    display_.outputDividerText = FieldValueText(Field::OutputDivider, 0);
    display_.chargePumpText = ChargePumpText(4);
    display_.outputTypeText = kLvdsStartText;
    display_.vcoCaption = kVcoStartCaption;
    display_.vcoText = kVco1DefaultText;
    state_.vcoSelect = 0;

    const MainViewState defaults;
    state_.loopBandwidth = defaults.loopBandwidth;
    state_.phaseMargin = defaults.phaseMargin;
    state_.chargePumpCurrent = defaults.chargePumpCurrent;
    state_.prescalerValue = defaults.prescalerValue;
    state_.feedbackDividerValue = defaults.feedbackDividerValue;
    state_.outputDividerValue = defaults.outputDividerValue;
    // Byte0 bits 1-6: prescaler, output divider and output type; bits 0 and 7 are kept.
    image_.SetByte(0, static_cast<uint8_t>(image_.Byte(0) & 0x81));
    SetChargePumpCode(image_, kFullChargePumpCode);

    state_.outputEnableOn = true;
    display_.rangeWarningVisible = false;
    display_.terminationPictureVisible = false;

    // Without the identity the first setting change would place the termination bit as on a
    // three-block board; a failed read leaves the last one known.
    if (link_.ReadIdentity()) state_.boardId = link_.Identity();
    display_.blockDVisible = IsFourBlockBoard();

    state_.vcoCalibrationOn = calibrationOnForm;
    ApplyPowerEnable();
}

void MainViewModel::SetPrescaler(int code, bool write) {
    if (!InTable(code, PrescalerForCode)) return;
    display_.prescalerText = FieldValueText(Field::Prescaler, code);
    state_.prescalerValue = PrescalerForCode[static_cast<size_t>(code)];
    SetPrescalerCode(image_, code);
    if (write) WriteImageToChip();
}

void MainViewModel::SetFeedbackDivider(int index) {
    if (!InTable(index, kFeedbackDividers)) return;
    const int divider = kFeedbackDividers[static_cast<size_t>(index)];
    display_.feedbackDividerText = "/ " + std::to_string(divider);
    state_.feedbackDividerValue = divider;
}

void MainViewModel::SetOutputDivider(int code, bool write) {
    if (!InTable(code, OutputDividerForCode)) return;
    display_.outputDividerText = FieldValueText(Field::OutputDivider, code);
    state_.outputDividerValue = OutputDividerForCode[static_cast<size_t>(code)];
    SetOutputDividerCode(image_, code);
    if (write) WriteImageToChip();
}

void MainViewModel::SetChargePump(int index, bool write) {
    if (!InTable(index, ChargePumpCodes)) return;
    display_.chargePumpText = ChargePumpText(index);
    // 56 µA per source, in amperes.
    state_.chargePumpCurrent = index * kChargePumpStepMicroAmps / 1e6;
    SetChargePumpCode(image_, ChargePumpCodes[static_cast<size_t>(index)]);
    if (write) WriteImageToChip();
}

void MainViewModel::ToggleOutputType() {
    SelectOutputType(state_.outputType == 0 ? 1 : 0);
}

void MainViewModel::SelectOutputType(int outputType) {
    state_.outputType = outputType == 1 ? 1 : 0;
    const bool lvpecl = state_.outputType == 1;
    display_.outputTypeText = lvpecl ? kLvpecText : kLvdsText;
    state_.terminationOn = lvpecl;
    SetOutputType(image_, state_.outputType);
    ApplyTermination();
    WriteImageToChip();
}

void MainViewModel::ToggleVco() {
    SelectVco(state_.vcoSelect == 0 ? 1 : 0);
}

void MainViewModel::SelectVco(int vcoSelect) {
    state_.vcoSelect = vcoSelect == 1 ? 1 : 0;
    display_.vcoCaption = state_.vcoSelect == 0 ? kVco1Caption : kVco2Caption;
    if (!state_.outputText.empty()) {
        const double vco =
            LeadingNumber(state_.outputText) * state_.outputDividerValue * state_.prescalerValue;
        display_.vcoText = FormatFixed(vco, 0) + " Mhz";
    } else {
        display_.vcoText = state_.vcoSelect == 0 ? kVco1DefaultText : kVco2DefaultText;
    }
    SetVcoSelect(image_, state_.vcoSelect);
    WriteImageToChip();
}

bool MainViewModel::WriteImageToChip() {
    const int block = state_.blockIndex;
    SetVcoCalEnable(image_, state_.vcoCalibrationOn ? 1 : 0);
    if (state_.vcoCalibrationOn) {
        // The chip calibrates its VCO when it sees the enable bit go from 0 to 1.
        SetVcoCalEnable(image_, 0);
        if (!WriteImageToRam(board_, block, image_)) return Recorded(BoardWrite::Chip, false);
        sleeper_.Sleep(kCalibrationRestartMs);
        SetVcoCalEnable(image_, 1);
    }
    if (!WriteImageToRam(board_, block, image_)) return Recorded(BoardWrite::Chip, false);
    Recorded(BoardWrite::Chip, true);
    return Recorded(BoardWrite::OutputEnable,
                    RefreshOutputEnable(board_, block, state_.outputEnableOn));
}

uint8_t MainViewModel::TerminationBit() const {
    return TerminationBitForBoard(state_.blockIndex, IsFourBlockBoard());
}

bool MainViewModel::ApplyTermination() {
    uint8_t port0 = 0;
    if (!board_.ReadPort(kControlPort, port0)) return Recorded(BoardWrite::Termination, false);
    port0 = WithBits(port0, TerminationBit(), state_.terminationOn);
    display_.terminationPictureVisible = state_.terminationOn;
    return Recorded(BoardWrite::Termination, board_.WritePort(kControlPort, port0));
}

bool MainViewModel::ApplyOutputEnable() {
    return Recorded(BoardWrite::OutputEnable,
                    RefreshOutputEnable(board_, state_.blockIndex, state_.outputEnableOn));
}

bool MainViewModel::ApplyPowerEnable() {
    return Recorded(BoardWrite::Power, SwitchPower(board_, state_.powerOn) == SequenceResult::Done);
}

bool MainViewModel::RunSettingCommand(int commandId) {
    const ViewCommand *c = FindViewCommand(commandId);
    if (c == nullptr || c->menu == CommandMenu::Main) return false;
    if (c->prescalerCode >= 0) {
        if (c->feedbackFirst) SetFeedbackDivider(c->feedbackIndex);
        SetPrescaler(c->prescalerCode, true);
        if (!c->feedbackFirst) SetFeedbackDivider(c->feedbackIndex);
    }
    if (c->outputDividerCode >= 0) SetOutputDivider(c->outputDividerCode, true);
    if (c->chargePumpIndex >= 0) SetChargePump(c->chargePumpIndex, true);
    return true;
}

std::optional<std::string> MainViewModel::SelectBlock() {
    if (state_.blockIndex == 1 && IsFourBlockBoard()) {
        display_.inputEditEnabled = false;
        LoadCrystalFrequency();
        return state_.inputText;
    }
    display_.inputEditEnabled = true;
    return std::nullopt;
}

void MainViewModel::PollBoard() {
    if (polling_) return;
    polling_ = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{polling_};

    // After a reopen the failed read left nothing to go on: the power flag and the port-0 write
    // below use the port as it is now, and are skipped when that read fails too.
    const BoardLink::Watch watch = link_.WatchControlPort(true);
    if (!watch.reachable) {
        display_.usbLedLit = true;
        return;
    }
    display_.usbLedLit = false;
    const bool port0Known = watch.controlPort.has_value();
    uint8_t port0 = watch.controlPort.value_or(0);
    bool answered = port0Known;

    if (link_.ReadIdentity()) {
        state_.boardId = link_.Identity();
    } else {
        answered = false;
    }
    display_.blockDVisible = IsFourBlockBoard();

    if (port0Known) state_.powerOn = (port0 & kPowerOffBit) == 0;

    uint8_t supply = 0;
    if (board_.ReadPort(kSupplyPort, supply)) {
        const int block = state_.blockIndex;
        const uint8_t bit = block == 3 ? uint8_t{0x80} : TerminationBit();
        if (supply & SupplyStatusBit(block)) {
            port0 = WithBits(port0, bit, false);
        } else if (state_.terminationOn) {
            port0 = WithBits(port0, bit, true);
        }
        if (port0Known) {
            const bool written = board_.WritePort(kControlPort, port0);
            answered = answered && written;
            // Port 0 holds the power bit: once the board takes it again, an old failed power
            // switch no longer describes the board.
            if (written) status_.Record(BoardWrite::Power, 0, true);
        }
    } else {
        answered = false;
    }

    if (board_.ReadPort(kSupplyPort, supply)) {
        for (int b = 0; b < 4; ++b) display_.vddLedLit[static_cast<size_t>(b)] = (supply >> b) & 1;
    } else {
        answered = false;
    }
    status_.Record(BoardWrite::Poll, 0, answered);

    if (state_.inputText.empty()) return;
    const double input = LeadingNumber(state_.inputText);
    display_.rangeWarningVisible = !IsInputInVcoRange(input, state_.vcoSelect);
    state_.outputText = FormatFixed(
        OutputFrequency(input, state_.feedbackDividerValue, state_.outputDividerValue), 2);
    const double vco = VcoFrequency(input, state_.feedbackDividerValue, state_.prescalerValue);
    display_.vcoText = FormatFixed(ClampVcoForDisplay(vco, state_.vcoSelect), 0) + " Mhz";
}

OutputCalculation MainViewModel::CalculateOutputs(std::string_view inputText) {
    OutputCalculation result;
    for (const PlanForInput &plan : ListPlansForInput(LeadingNumber(inputText))) {
        result.lines.push_back(
            FormatPlanLine(PlanTable[static_cast<size_t>(plan.row)], plan.output));
    }
    result.fieldText = result.lines.empty() ? kInputNotSupported : result.lines.front();
    return result;
}

std::optional<std::string> MainViewModel::CalculateInput(std::string_view desiredText) {
    const auto plan = FindPlanForOutput(LeadingNumber(desiredText));
    if (!plan) return std::nullopt;
    state_.rememberedPlan = plan->row;
    state_.rememberedInput = plan->requiredInput;
    return FormatFixed(plan->requiredInput, 2) + "Mhz";
}

void MainViewModel::ApplyOutputCalculation(std::string_view inputText, std::string_view comboText) {
    const auto fields = ParsePlanLine(comboText);
    if (!fields) return;
    state_.inputText = FormatFixed(LeadingNumber(inputText), 3);
    state_.outputText = FormatFixed(LeadingNumber(comboText), 2);
    ApplyPlan(fields->prescaler, fields->outputDivider, fields->vco);
}

void MainViewModel::ApplyInputCalculation() {
    if (!state_.rememberedPlan) return;
    const PlanRow &row = PlanTable[static_cast<size_t>(*state_.rememberedPlan)];
    state_.inputText = FormatFixed(state_.rememberedInput, 3);
    state_.outputText = FormatFixed(InterpolateOutput(row, state_.rememberedInput), 2);
    ApplyPlan(static_cast<int>(row.prescaler), static_cast<int>(row.outputDivider),
              row.vcoIndex == 0 ? 1 : 2);
}

void MainViewModel::ApplyPlan(int prescaler, int outputDivider, int vcoNumber) {
    // Prescaler value to its code; the feedback divider follows the prescaler.
    for (int code = 0; code < 4; ++code) {
        if (PrescalerForCode[static_cast<size_t>(code)] != prescaler) continue;
        SetPrescaler(code, true);
        SetFeedbackDivider(FeedbackIndexForPrescaler(code));
        break;
    }
    for (int code = 0; code < 6; ++code) {
        if (OutputDividerForCode[static_cast<size_t>(code)] != outputDivider) continue;
        SetOutputDivider(code, true);
        break;
    }
    // The toggle lands on the wanted VCO.
    state_.vcoSelect = vcoNumber == 1 ? 1 : 0;
    ToggleVco();
}

void MainViewModel::LoadCrystalFrequency() {
    const CrystalLoad load = core::LoadCrystalFrequency(board_);
    status_.Record(BoardWrite::CrystalRead, 1, load.ok);
    // The record is single-byte text; a blank one is ten 0xFF bytes.
    state_.inputText = Latin1ToUtf8(load.text);
}

bool MainViewModel::SaveCrystalFrequency(std::string_view typed) {
    const CrystalSaveOutcome outcome = core::SaveCrystalFrequency(board_, prompts_, typed);
    if (outcome == CrystalSaveOutcome::OutOfRange) return false;
    status_.Record(BoardWrite::CrystalWrite, 1, outcome == CrystalSaveOutcome::Stored);
    return true;
}

LoopFilterRequest MainViewModel::LoopFilterRequestNow() const {
    return LoopFilterRequest{state_.loopBandwidth, state_.phaseMargin, state_.chargePumpCurrent,
                             state_.prescalerValue, state_.feedbackDividerValue};
}

void MainViewModel::ApplyLoopFilter(const LoopFilterChoice &choice) {
    state_.loopBandwidth = choice.bandwidthHz;
    state_.phaseMargin = choice.phaseMarginDeg;
    image_.SetControlWord(StoreLoopFilterCodes(image_.ControlWord(), ChoiceCodes(choice)));
    WriteImageToChip();
}

void MainViewModel::TakeBackAdvancedControl(int blockIndex, int outputType, int vcoSelect) {
    state_.blockIndex = blockIndex & 3;
    SelectOutputType(outputType == 0 ? 0 : 1);
    ApplyTermination();
    ApplyOutputEnable();
    SelectVco(vcoSelect == 0 ? 0 : 1);

    const int prescalerCode = PrescalerCode(image_);
    SetPrescaler(prescalerCode, false);
    // Codes 6 and 7 have no divider of the table: the block keeps what it showed.
    SetOutputDivider(OutputDividerCode(image_), false);
    SetChargePump(DecodeChargePumpCode(ChargePumpCode(image_)), false);
    SetFeedbackDivider(FeedbackIndexForPrescaler(prescalerCode));
}

SequenceResult MainViewModel::WriteEepromNoLock() {
    BoardServices services{board_, prompts_, sleeper_};
    return core::WriteEepromNoLock(services, state_.blockIndex);
}

SequenceResult MainViewModel::WriteEepromLock() {
    BoardServices services{board_, prompts_, sleeper_};
    return core::WriteEepromLock(services, state_.blockIndex);
}

}  // namespace velorin::core
