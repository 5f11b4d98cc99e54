#include "core/scpi/instrument.h"

#include <optional>

#include "core/base/number_text.h"
#include "core/device/board_ports.h"
#include "core/planning/plan_calculator.h"
#include "core/scpi/instrument_commands.h"

namespace velorin::core::scpi {

Instrument::Instrument(core::Board &board, Sleeper &sleeper, std::string version,
                       InstrumentOptions options)
    : checked_(board), sleeper_(sleeper), version_(std::move(version)), options_(options) {
    for (int b = 0; b < kBlockCount; ++b) {
        models_[static_cast<size_t>(b)] =
            std::make_unique<MainViewModel>(checked_, prompts_, sleeper_, Image(b));
        models_[static_cast<size_t>(b)]->State().blockIndex = b;
    }
    startUp_ = Take();
}

Instrument::~Instrument() = default;

MainViewModel &Instrument::Model(int block) {
    return *models_[static_cast<size_t>(block & 3)];
}

bool Instrument::IsFourBlockBoard() const {
    return link_.IsFourBlockBoard();
}

void Instrument::Start() {
    link_.Connect();
    ShareIdentity();
    Model(0).InitialUpdate();
    for (int b = 1; b < kBlockCount; ++b) {
        Image(b) = Image(0);
        Model(b).State() = Model(0).State();
        Model(b).State().blockIndex = b;
    }
    powerPending_ = link_.Lost();
    checked_.ForgetFailure();
    startUp_ = Take();
}

void Instrument::ShareInput(const std::string &inputText) {
    for (int b = 0; b < kBlockCount; ++b) Model(b).State().inputText = inputText;
}

void Instrument::ShareCalibration(bool on) {
    for (int b = 0; b < kBlockCount; ++b) Model(b).State().vcoCalibrationOn = on;
}

void Instrument::SharePower(bool on) {
    for (int b = 0; b < kBlockCount; ++b) Model(b).State().powerOn = on;
}

void Instrument::ShareFrom(int block) {
    const MainViewState &state = Model(block).State();
    ShareInput(state.inputText);
    ShareCalibration(state.vcoCalibrationOn);
    SharePower(state.powerOn);
}

void Instrument::ShareIdentity() {
    for (int b = 0; b < kBlockCount; ++b) Model(b).State().boardId = link_.Identity();
}

bool Instrument::Reset() {
    Restore(startUp_);
    ++resets_;
    if (link_.Lost()) return true;
    ShareIdentity();
    // Power first: the chips take their images only while powered.
    bool ok = Model(0).ApplyPowerEnable();
    for (int b = 0; b < BlockCount(); ++b) {
        MainViewModel &model = Model(b);
        ok = model.ApplyTermination() && ok;
        ok = model.WriteImageToChip() && ok;
    }
    return ok;
}

uint16_t Instrument::QuestionableCondition(const ClientSession &client) {
    uint8_t id = 0;
    if (link_.Lost() || !checked_.GetEvmId(id)) return kQuesNoBoard;
    uint16_t condition = 0;
    uint8_t control = 0;
    uint8_t supply = 0;
    if (checked_.ReadPort(kControlPort, control) && (control & kPowerOffBit) == 0 &&
        checked_.ReadPort(kSupplyPort, supply)) {
        for (int b = 0; b < BlockCount(); ++b) {
            if (supply & SupplyStatusBit(b)) condition |= kQuesVoltage;
        }
    }
    const MainViewState &state = Model(client.block).State();
    if (!state.inputText.empty() &&
        !IsInputInVcoRange(LeadingNumber(state.inputText), VcoSelect(Image(client.block)))) {
        condition |= kQuesFrequency;
    }
    return condition;
}

Instrument::Snapshot Instrument::Take() {
    Snapshot snapshot;
    snapshot.images = images_;
    for (int b = 0; b < kBlockCount; ++b)
        snapshot.states[static_cast<size_t>(b)] = Model(b).State();
    return snapshot;
}

void Instrument::Restore(const Snapshot &snapshot) {
    images_ = snapshot.images;
    for (int b = 0; b < kBlockCount; ++b)
        Model(b).State() = snapshot.states[static_cast<size_t>(b)];
}

void Instrument::ReconnectIfLost() {
    if (!link_.Lost()) return;
    if (link_.ReconnectIfLost()) {
        ShareIdentity();
        if (powerPending_) {
            powerPending_ = false;
            Model(0).ApplyPowerEnable();
        }
    }
    checked_.ForgetFailure();
}

void Instrument::Begin(ClientSession &client, std::string_view line) {
    client.message = RunningMessage{};
    for (std::string_view unit : SplitUnits(line)) client.message.units.emplace_back(unit);
    client.path.clear();  // every program message starts at the root
}

std::optional<std::string> Instrument::Step(ClientSession &client) {
    RunningMessage &message = client.message;
    if (message.next < message.units.size()) {
        RunUnit(client, message.units[message.next]);
        ++message.next;
        if (message.answers.size() > kMaxAnswerBytes) {
            Abandon(client);
            client.status.Report(Error{kTooMuchData, "the answers pass 1 MiB"});
            return std::string();
        }
    }
    if (message.next < message.units.size()) return std::nullopt;
    std::string answers = std::move(message.answers);
    message = RunningMessage{};
    return answers;
}

void Instrument::Abandon(ClientSession &client) {
    client.message = RunningMessage{};
}

std::string Instrument::Execute(ClientSession &client, std::string_view line) {
    Begin(client, line);
    for (;;) {
        if (auto answers = Step(client)) return std::move(*answers);
    }
}

void Instrument::RunUnit(ClientSession &client, std::string_view text) {
    if (client.resetsSeen != resets_) {
        client.resetsSeen = resets_;
        client.block = 0;
    }
    ProgramUnit unit;
    Error error;
    if (!ParseUnit(text, unit, error)) {
        client.status.Report(std::move(error));
        return;
    }
    const auto found = InstrumentCommandTree().Resolve(unit, client.path);
    if (!found) {
        client.status.Report(Error{kUndefinedHeader, {}});
        return;
    }
    const CommandDef &command = InstrumentCommands()[static_cast<size_t>(found->command)];
    if (command.query && client.message.indefinite) {
        client.status.Report(Error{kQueryUnterminatedAfterIndefinite, {}});
        return;
    }
    const int count = static_cast<int>(unit.parameters.size());
    if (count > command.maxParameters) {
        client.status.Report(Error{kParameterNotAllowed, {}});
        return;
    }
    if (count < command.minParameters) {
        client.status.Report(Error{kMissingParameter, {}});
        return;
    }
    if (command.protectedWrite() && !options_.eepromWritesAllowed) {
        client.status.Report(Error{kCommandProtected, "the server does not allow EEPROM writes"});
        return;
    }
    if (command.board != BoardUse::None) {
        ReconnectIfLost();
        if (command.board == BoardUse::Needs && link_.Lost()) {
            client.status.Report(Error{kHardwareMissing, {}});
            return;
        }
    }

    std::optional<Snapshot> before;
    if (command.changesState()) before = Take();
    checked_.ForgetFailure();
    CommandContext context{*this, client, unit.parameters, std::nullopt, std::nullopt};
    command.handler(context);

    if (checked_.Failed()) {
        // Whatever failed, the next command starts with a fresh connection.
        link_.MarkLost();
        if (command.board == BoardUse::Needs) {
            if (before) Restore(*before);
            client.status.Report(Error{kHardwareError, checked_.Failure() + " failed"});
            checked_.ForgetFailure();
            return;
        }
        checked_.ForgetFailure();
    }
    if (context.error) {
        if (before) Restore(*before);
        client.status.Report(std::move(*context.error));
        return;
    }
    if (context.answer) {
        RunningMessage &message = client.message;
        if (!message.answers.empty()) message.answers += ';';
        message.answers += *context.answer;
        if (command.indefinite()) message.indefinite = true;
    }
}

}  // namespace velorin::core::scpi
