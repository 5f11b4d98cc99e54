#include "core/device/device_settings_model.h"

#include "core/base/hex_text.h"
#include "core/base/number_text.h"
#include "core/device/block_record.h"
#include "core/device/board_ports.h"
#include "core/device/configuration_file.h"
#include "core/device/port_switches.h"
#include "core/device/programming_sequences.h"

namespace velorin::core {

namespace {

using S = DeviceSettingsState;

struct VcoRange {
    double low;
    double high;
};
constexpr VcoRange kVcoRanges[] = {{1750.4, 2040.0}, {2040.0, 2350.0}};

// The controls that hold a field's code as it lies in the image (the charge-pump list holds a
// position instead). `onOpen`: the control starts from the image when the dialog opens; the
// others keep their construction values (test select starts at 0).
struct CodeControl {
    Field field;
    int S::*member;
    bool onOpen;
};
constexpr CodeControl kCodeControls[] = {
    {Field::VcoSelect, &S::vcoSelect, true},
    {Field::Prescaler, &S::prescaler, true},
    {Field::OutputDivider, &S::outputDividerCode, true},
    {Field::OutputType, &S::outputType, true},
    {Field::C2, &S::c2, true},
    {Field::R2, &S::r2, true},
    {Field::C1, &S::c1, true},
    {Field::C3, &S::c3, true},
    {Field::VcoCalWord, &S::vcoCalWord, true},
    {Field::VcoCalOverride, &S::vcoCalOverride, false},
    {Field::VcoCalEnable, &S::vcoCalEnable, false},
    {Field::TestSelect, &S::testSelect, false},
};

Field ListField(SettingsList list) {
    switch (list) {
        case SettingsList::Prescaler:
            return Field::Prescaler;
        case SettingsList::OutputDivider:
            return Field::OutputDivider;
        case SettingsList::ChargePump:
            return Field::ChargePump;
        case SettingsList::VcoCalWord:
            return Field::VcoCalWord;
        case SettingsList::TestSelect:
            return Field::TestSelect;
        case SettingsList::C1:
            return Field::C1;
        case SettingsList::C2:
            return Field::C2;
        case SettingsList::C3:
            return Field::C3;
        case SettingsList::R2:
            return Field::R2;
    }
    return Field::Prescaler;
}

// Keeps `current` unless `taken` lies in [0, count).
int Within(int taken, int count, int current) {
    return taken >= 0 && taken < count ? taken : current;
}

}  // namespace

std::vector<std::string> ListEntries(SettingsList list, int outputDividerCode) {
    std::vector<std::string> entries = FieldListEntries(ListField(list));
    if (list == SettingsList::OutputDivider && OutputDividerValue(outputDividerCode) == 0 &&
        outputDividerCode >= 0 && outputDividerCode < kOutputDividerCodes) {
        entries.push_back("none (code " + std::to_string(outputDividerCode) + ")");
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
    s.powerEnable = Within(c.powerEnable, 2, s.powerEnable);
    s.terminatePecl = Within(c.terminatePecl, 2, s.terminatePecl);
    s.outputEnable = Within(c.outputEnable, 2, s.outputEnable);
    s.blockIndex = Within(c.blockIndex, kBlockCount, s.blockIndex);
    for (const CodeControl &control : kCodeControls) {
        if (control.field == Field::OutputDivider) continue;
        s.*control.member =
            Within(c.*control.member, 1 << FieldOf(control.field).width, s.*control.member);
    }
    // Only the divider entries, or the code the list already shows without one.
    if (OutputDividerValue(c.outputDividerCode) != 0 || c.outputDividerCode == s.outputDividerCode)
        s.outputDividerCode = c.outputDividerCode;
    s.chargePump = Within(c.chargePump, static_cast<int>(ChargePumpCodes.size()), s.chargePump);
}

void DeviceSettingsModel::Initialise() {
    for (const CodeControl &control : kCodeControls) {
        if (control.onOpen) state_.*control.member = ReadField(image_, control.field);
    }
    state_.testSelect = 0;
    state_.chargePump = DecodeChargePumpCode(ChargePumpCode(image_));
    // The text starts at the construction value "12"; it must match the prescaler shown.
    UpdateFeedbackDividerText();
    BuildRegisterImage();
    // Shown from the start, not only from the first refresh: they need no board, and a screen
    // reader that meets the dialog as it opens must find them.
    UpdateFrequencyWindows();
}

void DeviceSettingsModel::BuildRegisterImage() {
    for (const CodeControl &control : kCodeControls) {
        WriteField(image_, control.field, state_.*control.member);
    }
    SetChargePumpCode(image_, ChargePumpCodes[static_cast<size_t>(state_.chargePump)]);
    SetCalDelayCount(image_, 1);
    state_.loopFilterText = FormatLoopFilterWord(image_.ControlWord());
    for (int i = 0; i < 6; ++i) {
        state_.byteTexts[static_cast<size_t>(i)] =
            "Byte" + std::to_string(i) + " = " + FormatHex(image_.Byte(i), 2);
    }
}

void DeviceSettingsModel::ShowRegisterImage() {
    for (const CodeControl &control : kCodeControls) {
        state_.*control.member = ReadField(image_, control.field);
    }
    state_.chargePump = DecodeChargePumpCode(ChargePumpCode(image_));
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
    outcome.boardLost = !link_.WatchControlPort(false).reachable;
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
