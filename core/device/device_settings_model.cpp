#include "core/device/device_settings_model.h"

#include "core/app/configuration_file.h"
#include "core/device/block_record.h"
#include "core/device/board_ports.h"
#include "core/device/port_switches.h"
#include "core/device/programming_sequences.h"
#include "core/loopfilter/component_tables.h"
#include "core/planning/number_text.h"
#include "core/text/hex_text.h"

namespace velorin::core {

namespace {

constexpr int kOutputDividerCodes = 8;  // three bits; 6 and 7 have no divider
// The UTF-8 micro sign; split so that the A is no hexadecimal digit of the escape.
constexpr const char *kMicroAmps =
    " \xC2\xB5"
    "A";

struct VcoRange {
    double low;
    double high;
};
constexpr VcoRange kVcoRanges[] = {{1750.4, 2040.0}, {2040.0, 2350.0}};

template <size_t N>
std::vector<std::string> ValueEntries(const std::array<double, N> &values, const char *unit) {
    std::vector<std::string> entries;
    entries.reserve(N);
    for (double value : values) entries.push_back(FormatFixed(value, 1) + unit);
    return entries;
}

int ListSize(SettingsList list) {
    switch (list) {
        case SettingsList::Prescaler:
            return static_cast<int>(PrescalerForCode.size());
        case SettingsList::OutputDivider:
            return kOutputDividerCodes;
        case SettingsList::ChargePump:
            return static_cast<int>(ChargePumpCodes.size());
        case SettingsList::VcoCalWord:
            return 64;
        case SettingsList::TestSelect:
            return static_cast<int>(TestSelectEntries.size());
        case SettingsList::C1:
            return kC1Codes;
        case SettingsList::C2:
            return kC2Codes;
        case SettingsList::C3:
            return kC3Codes;
        case SettingsList::R2:
            return kR2Codes;
    }
    return 0;
}

// Keeps `current` unless `taken` lies in [0, count).
int Within(int taken, int count, int current) {
    return taken >= 0 && taken < count ? taken : current;
}

int Flag(int taken, int current) {
    return Within(taken, 2, current);
}

}  // namespace

std::vector<std::string> ListEntries(SettingsList list, int outputDividerCode) {
    std::vector<std::string> entries;
    switch (list) {
        case SettingsList::Prescaler:
            for (int p : PrescalerForCode) entries.push_back(std::to_string(p));
            break;
        case SettingsList::OutputDivider:
            for (int d : OutputDividerForCode) entries.push_back(std::to_string(d));
            if (OutputDividerValue(outputDividerCode) == 0 && outputDividerCode >= 0 &&
                outputDividerCode < kOutputDividerCodes) {
                entries.push_back("none (code " + std::to_string(outputDividerCode) + ")");
            }
            break;
        case SettingsList::ChargePump:
            for (const char *current : {"000", "056", "112", "168", "224"})
                entries.push_back(std::string(current) + kMicroAmps);
            break;
        case SettingsList::VcoCalWord:
            for (int i = 0; i < ListSize(list); ++i) entries.push_back(std::to_string(i));
            break;
        case SettingsList::TestSelect:
            entries.assign(TestSelectEntries.begin(), TestSelectEntries.end());
            break;
        case SettingsList::C1:
            return ValueEntries(C1Values(), " pF");
        case SettingsList::C2:
            return ValueEntries(C2Values(), " pF");
        case SettingsList::C3:
            return ValueEntries(C3Values(), " pF");
        case SettingsList::R2:
            return ValueEntries(R2Values(), " kOhm");
    }
    return entries;
}

int OutputDividerRow(int code) {
    const int dividers = static_cast<int>(OutputDividerForCode.size());
    return code >= 0 && code < dividers ? code : dividers;
}

DeviceSettingsModel::DeviceSettingsModel(Board &board, Prompts &prompts, Sleeper &sleeper,
                                         RegisterImage &image, int blockIndex)
    : board_(board), prompts_(prompts), sleeper_(sleeper), image_(image) {
    state_.blockIndex = Within(blockIndex, kBlockCount, state_.blockIndex);
}

void DeviceSettingsModel::TakeControls(const DeviceSettingsState &c) {
    DeviceSettingsState &s = state_;
    s.powerEnable = Flag(c.powerEnable, s.powerEnable);
    s.outputType = Flag(c.outputType, s.outputType);
    s.vcoCalEnable = Flag(c.vcoCalEnable, s.vcoCalEnable);
    s.vcoCalOverride = Flag(c.vcoCalOverride, s.vcoCalOverride);
    s.vcoSelect = Flag(c.vcoSelect, s.vcoSelect);
    s.terminatePecl = Flag(c.terminatePecl, s.terminatePecl);
    s.outputEnable = Flag(c.outputEnable, s.outputEnable);
    s.blockIndex = Within(c.blockIndex, kBlockCount, s.blockIndex);

    s.prescaler = Within(c.prescaler, ListSize(SettingsList::Prescaler), s.prescaler);
    // Only the divider entries, or the code the list already shows without one.
    if (OutputDividerValue(c.outputDividerCode) != 0 || c.outputDividerCode == s.outputDividerCode)
        s.outputDividerCode = c.outputDividerCode;
    s.chargePump = Within(c.chargePump, ListSize(SettingsList::ChargePump), s.chargePump);
    s.vcoCalWord = Within(c.vcoCalWord, ListSize(SettingsList::VcoCalWord), s.vcoCalWord);
    s.testSelect = Within(c.testSelect, ListSize(SettingsList::TestSelect), s.testSelect);
    s.c1 = Within(c.c1, kC1Codes, s.c1);
    s.c2 = Within(c.c2, kC2Codes, s.c2);
    s.c3 = Within(c.c3, kC3Codes, s.c3);
    s.r2 = Within(c.r2, kR2Codes, s.r2);
}

void DeviceSettingsModel::Initialise() {
    state_.vcoCalWord = VcoCalWord(image_);
    state_.outputDividerCode = OutputDividerCode(image_);
    state_.chargePump = DecodeChargePumpCode(ChargePumpCode(image_));
    state_.prescaler = PrescalerCode(image_);
    state_.testSelect = 0;
    state_.outputType = OutputType(image_);
    state_.vcoSelect = VcoSelect(image_);
    state_.c1 = C1Code(image_);
    state_.c2 = C2Code(image_);
    state_.c3 = C3Code(image_);
    state_.r2 = R2Code(image_);
    // The text starts at the construction value "12"; it must match the prescaler shown.
    UpdateFeedbackDividerText();
    BuildRegisterImage();
}

void DeviceSettingsModel::BuildRegisterImage() {
    const DeviceSettingsState &s = state_;
    SetChargePumpCode(image_, ChargePumpCodes[static_cast<size_t>(s.chargePump)]);
    SetCalDelayCount(image_, 1);
    SetOutputType(image_, s.outputType);
    SetVcoCalEnable(image_, s.vcoCalEnable);
    SetC1Code(image_, s.c1);
    SetC2Code(image_, s.c2);
    SetC3Code(image_, s.c3);
    SetR2Code(image_, s.r2);
    state_.loopFilterText = FormatLoopFilterWord(image_.ControlWord());
    SetOutputDividerCode(image_, s.outputDividerCode);
    SetPrescalerCode(image_, s.prescaler);
    SetTestSelect(image_, s.testSelect);
    SetVcoCalWord(image_, s.vcoCalWord);
    SetVcoCalOverride(image_, s.vcoCalOverride);
    SetVcoSelect(image_, s.vcoSelect);
    for (int i = 0; i < 6; ++i) {
        state_.byteTexts[static_cast<size_t>(i)] =
            "Byte" + std::to_string(i) + " = " + FormatHex(image_.Byte(i), 2);
    }
}

void DeviceSettingsModel::ShowRegisterImage() {
    state_.chargePump = DecodeChargePumpCode(ChargePumpCode(image_));
    state_.outputType = OutputType(image_);
    state_.vcoCalEnable = VcoCalEnable(image_);
    state_.loopFilterText = FormatLoopFilterWord(image_.ControlWord());
    state_.outputDividerCode = OutputDividerCode(image_);
    state_.prescaler = PrescalerCode(image_);
    state_.testSelect = TestSelect(image_);
    state_.vcoCalWord = VcoCalWord(image_);
    state_.vcoCalOverride = VcoCalOverride(image_);
    state_.vcoSelect = VcoSelect(image_);
    state_.c1 = C1Code(image_);
    state_.c2 = C2Code(image_);
    state_.c3 = C3Code(image_);
    state_.r2 = R2Code(image_);
    UpdateFeedbackDividerText();
    BuildRegisterImage();
}

void DeviceSettingsModel::SetLoopFilterDefault() {
    SetLoopFilterWord(image_, kDefaultLoopFilterWord);
    state_.c1 = C1Code(image_);
    state_.c2 = C2Code(image_);
    state_.c3 = C3Code(image_);
    state_.r2 = R2Code(image_);
}

void DeviceSettingsModel::UpdateFeedbackDividerText() {
    state_.feedbackDividerText =
        std::to_string(FeedbackDividerForPrescaler[static_cast<size_t>(state_.prescaler)]);
}

RefreshOutcome DeviceSettingsModel::Refresh() {
    BuildRegisterImage();
    RefreshOutcome outcome;
    uint8_t port = 0;
    if (!board_.ReadPort(kControlPort, port)) {
        board_.Close();
        outcome.boardLost = !board_.Open();
    }
    // The windows depend on the dividers only, so they follow the lists with or without a board.
    UpdateFrequencyWindows();
    return outcome;
}

void DeviceSettingsModel::UpdateFrequencyWindows() {
    const VcoRange range = kVcoRanges[state_.vcoSelect];
    const double prescaler = PrescalerValue(state_.prescaler);
    const double feedback = FeedbackDividerForPrescaler[static_cast<size_t>(state_.prescaler)];
    const double divider = OutputDividerValue(state_.outputDividerCode);
    state_.inputLowText = FormatFixed(range.low / (prescaler * feedback), 1);
    state_.inputHighText = FormatFixed(range.high / (prescaler * feedback), 1);
    // A code without a divider has no output range.
    state_.outputLowText = divider > 0 ? FormatFixed(range.low / (prescaler * divider), 1) : "";
    state_.outputHighText = divider > 0 ? FormatFixed(range.high / (prescaler * divider), 1) : "";
}

ImageBuilder DeviceSettingsModel::Builder() {
    return [this]() -> RegisterImage & {
        BuildRegisterImage();
        return image_;
    };
}

SequenceResult DeviceSettingsModel::WriteSettingsToRam() {
    BoardServices services{board_, prompts_, sleeper_};
    return core::WriteSettingsToRam(services, state_.blockIndex, Builder(),
                                    state_.outputEnable != 0);
}

SequenceResult DeviceSettingsModel::ProgramEeprom() {
    BoardServices services{board_, prompts_, sleeper_};
    return core::ProgramEeprom(services, state_.blockIndex, Builder(), state_.outputEnable != 0);
}

SequenceResult DeviceSettingsModel::ProgramAndLockEeprom() {
    BoardServices services{board_, prompts_, sleeper_};
    return core::ProgramAndLockEeprom(services, state_.blockIndex, state_.outputEnable != 0);
}

SequenceResult DeviceSettingsModel::UnlockEeprom() {
    BoardServices services{board_, prompts_, sleeper_};
    return UnlockChipEeprom(services, state_.blockIndex);
}

SequenceResult DeviceSettingsModel::SendIdle() {
    BoardServices services{board_, prompts_, sleeper_};
    return SendIdleCommand(services, state_.blockIndex);
}

SequenceResult DeviceSettingsModel::SwitchPower() {
    return core::SwitchPower(board_, state_.powerEnable != 0);
}

SequenceResult DeviceSettingsModel::SwitchTermination() {
    return core::SwitchTermination(board_, state_.blockIndex, state_.terminatePecl != 0);
}

SequenceResult DeviceSettingsModel::SwitchOutputEnable() {
    return core::SwitchOutputEnable(board_, state_.blockIndex, state_.outputEnable != 0);
}

SequenceResult DeviceSettingsModel::StartReadBackMode() {
    return core::StartReadBackMode(board_, state_.blockIndex);
}

SequenceResult DeviceSettingsModel::SaveBlockRecord() {
    BuildRegisterImage();
    return core::SaveBlockRecord(
        board_, MakeBlockRecord(image_, state_.outputEnable != 0, state_.terminatePecl != 0,
                                state_.blockIndex));
}

namespace {

FileRequest ConfigFileRequest(bool save) {
    FileRequest request;
    request.filters = {{"MXR817 file", std::string("*.") + kConfigDialogExtension}};
    request.defaultExtension = kConfigDialogExtension;
    request.initialName = kConfigDialogFileName;
    request.overwritePrompt = save;
    return request;
}

}  // namespace

bool DeviceSettingsModel::SaveConfigToFile() {
    const std::optional<std::string> path = prompts_.ChooseFileToSave(ConfigFileRequest(true));
    if (!path) return false;
    BuildRegisterImage();
    std::string why;
    if (SaveConfiguration(*path, image_, &why)) return true;
    prompts_.ShowMessage(Message{"The configuration could not be saved.\n\n" + why, std::string(),
                                 MessageButtons::Ok, MessageIcon::Error});
    return false;
}

bool DeviceSettingsModel::LoadConfigFromFile() {
    const std::optional<std::string> path = prompts_.ChooseFileToOpen(ConfigFileRequest(false));
    if (!path) return false;
    const bool loaded = LoadConfiguration(*path, image_);
    ShowRegisterImage();
    return loaded;
}

DeviceSettingsChoice DeviceSettingsModel::Choice() const {
    return DeviceSettingsChoice{state_.blockIndex, state_.outputType, state_.vcoSelect};
}

std::string DeviceSettingsModel::ImageDigits() const {
    return FormatHexBytes(image_.bytes.data(), image_.bytes.size());
}

}  // namespace velorin::core
