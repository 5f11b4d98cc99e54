#include "core/scpi/instrument.h"

#include <optional>

#include "core/device/board_ports.h"
#include "core/scpi/instrument_commands.h"

namespace velorin::core::scpi {

Instrument::Instrument(core::Board &board, Sleeper &sleeper, std::string version)
    : checked_(board), sleeper_(sleeper), version_(std::move(version)) {
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
    SyncIn(0);
    Model(0).InitialUpdate();
    SyncOut(0);
    for (int b = 1; b < kBlockCount; ++b) {
        Image(b) = Image(0);
        Model(b).State() = Model(0).State();
        Model(b).State().blockIndex = b;
    }
    powerPending_ = link_.Lost();
    checked_.ForgetFailure();
    startUp_ = Take();
}

void Instrument::Reset() {
    Restore(startUp_);
}

Instrument::Snapshot Instrument::Take() {
    Snapshot snapshot;
    snapshot.images = images_;
    for (int b = 0; b < kBlockCount; ++b)
        snapshot.states[static_cast<size_t>(b)] = Model(b).State();
    snapshot.shared = shared_;
    return snapshot;
}

void Instrument::Restore(const Snapshot &snapshot) {
    images_ = snapshot.images;
    for (int b = 0; b < kBlockCount; ++b)
        Model(b).State() = snapshot.states[static_cast<size_t>(b)];
    shared_ = snapshot.shared;
}

void Instrument::SyncIn(int block) {
    MainViewState &state = Model(block).State();
    state.blockIndex = block;
    state.boardId = link_.Identity();
    state.inputText = shared_.inputText;
    state.vcoCalibrationOn = shared_.vcoCalibrationOn;
    state.powerOn = shared_.powerOn;
}

void Instrument::SyncOut(int block) {
    const MainViewState &state = Model(block).State();
    shared_.inputText = state.inputText;
    shared_.vcoCalibrationOn = state.vcoCalibrationOn;
    shared_.powerOn = state.powerOn;
}

void Instrument::ReconnectIfLost() {
    if (!link_.Lost()) return;
    if (link_.ReconnectIfLost() && powerPending_) {
        powerPending_ = false;
        SyncIn(0);
        Model(0).ApplyPowerEnable();
        SyncOut(0);
    }
    checked_.ForgetFailure();
}

std::string Instrument::Execute(ClientSession &client, std::string_view line) {
    std::string answers;
    client.path.clear();  // every program message starts at the root
    for (std::string_view unit : SplitUnits(line)) RunUnit(client, unit, answers);
    return answers;
}

void Instrument::RunUnit(ClientSession &client, std::string_view text, std::string &answers) {
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
    const int count = static_cast<int>(unit.parameters.size());
    if (count > command.maxParameters) {
        client.status.Report(Error{kParameterNotAllowed, {}});
        return;
    }
    if (count < command.minParameters) {
        client.status.Report(Error{kMissingParameter, {}});
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
    if (command.changesState) before = Take();
    checked_.ForgetFailure();
    const int block = client.block;
    SyncIn(block);
    CommandContext context{*this, client, unit.parameters, std::nullopt, std::nullopt};
    command.handler(context);
    SyncOut(block);

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
        if (!answers.empty()) answers += ';';
        answers += *context.answer;
    }
}

}  // namespace velorin::core::scpi
