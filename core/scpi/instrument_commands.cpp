#include "core/scpi/instrument_commands.h"

#include <string>

#include "core/scpi/command_handlers.h"

namespace velorin::core::scpi {

namespace {

using B = BoardUse;
namespace h = handlers;
constexpr auto kOper = &StatusRegisters::operation;
constexpr auto kQues = &StatusRegisters::questionable;

// header, query, parameters (min, max), board, traits, handler. A query of a numeric setting
// takes MIN, MAX or DEF.
constexpr CommandDef kCommands[] = {
    {"*IDN", true, 0, 0, B::IfPresent, kPlain, h::Identify},
    {"*RST", false, 0, 0, B::IfPresent, kPlain, h::Reset},
    {"*CLS", false, 0, 0, B::None, kPlain, h::ClearStatus},
    {"*ESE", false, 1, 1, B::None, kPlain, h::SetEventEnable},
    {"*ESE", true, 0, 1, B::None, kPlain, h::QueryEventEnable},
    {"*ESR", true, 0, 0, B::None, kPlain, h::QueryEventStatus},
    {"*OPC", false, 0, 0, B::None, kPlain, h::OperationComplete},
    {"*OPC", true, 0, 0, B::None, kPlain, h::QueryOperationComplete},
    {"*SRE", false, 1, 1, B::None, kPlain, h::SetServiceEnable},
    {"*SRE", true, 0, 1, B::None, kPlain, h::QueryServiceEnable},
    {"*STB", true, 0, 0, B::IfPresent, kPlain, h::QueryStatusByte},
    {"*WAI", false, 0, 0, B::None, kPlain, h::Wait},
    {"*TST", true, 0, 0, B::IfPresent, kPlain, h::SelfTest},
    {"SYSTem:ERRor[:NEXT]", true, 0, 0, B::None, kPlain, h::NextError},
    {"SYSTem:ERRor:COUNt", true, 0, 0, B::None, kPlain, h::ErrorCount},
    {"SYSTem:VERSion", true, 0, 0, B::None, kPlain, h::Version},
    {"STATus:OPERation[:EVENt]", true, 0, 0, B::None, kPlain, h::QueryStatusEvent<kOper>},
    {"STATus:OPERation:CONDition", true, 0, 0, B::None, kPlain, h::QueryStatusCondition<kOper>},
    {"STATus:OPERation:ENABle", false, 1, 1, B::None, kPlain, h::SetStatusEnable<kOper>},
    {"STATus:OPERation:ENABle", true, 0, 1, B::None, kPlain, h::QueryStatusEnable<kOper>},
    {"STATus:QUEStionable[:EVENt]", true, 0, 0, B::IfPresent, kPlain, h::QueryStatusEvent<kQues>},
    {"STATus:QUEStionable:CONDition", true, 0, 0, B::IfPresent, kPlain,
     h::QueryStatusCondition<kQues>},
    {"STATus:QUEStionable:ENABle", false, 1, 1, B::None, kPlain, h::SetStatusEnable<kQues>},
    {"STATus:QUEStionable:ENABle", true, 0, 1, B::None, kPlain, h::QueryStatusEnable<kQues>},
    {"STATus:PRESet", false, 0, 0, B::None, kPlain, h::PresetStatus},
    {"BLOCk", false, 1, 1, B::None, kPlain, h::SelectBlock},
    {"BLOCk", true, 0, 0, B::None, kPlain, h::QueryBlock},

    {"PRESCaler", false, 1, 1, B::Needs, kChangesState, h::SetPrescaler},
    {"PRESCaler", true, 0, 1, B::None, kPlain, h::QueryPrescaler},
    {"ODIVider", false, 1, 1, B::Needs, kChangesState, h::SetOutputDivider},
    {"ODIVider", true, 0, 1, B::None, kPlain, h::QueryOutputDivider},
    {"VCO", false, 1, 1, B::Needs, kChangesState, h::SetVco},
    {"VCO", true, 0, 1, B::None, kPlain, h::QueryVco},
    {"CPUMp", false, 1, 1, B::Needs, kChangesState, h::SetChargePump},
    {"CPUMp", true, 0, 1, B::None, kPlain, h::QueryChargePump},
    {"OUTPut:TYPE", false, 1, 1, B::Needs, kChangesState, h::SetOutputType},
    {"OUTPut:TYPE", true, 0, 0, B::None, kPlain, h::QueryOutputType},
    {"IMAGe", false, 1, 1, B::Needs, kChangesState, h::SetImage},
    {"IMAGe", true, 0, 0, B::None, kPlain, h::QueryImage},
    {"LFILter", false, 2, 2, B::Needs, kChangesState, h::SetLoopFilter},
    {"LFILter", true, 0, 1, B::None, kPlain, h::QueryLoopFilter},
    {"LFILter:WORD", true, 0, 0, B::None, kPlain, h::QueryLoopFilterWord},

    {"FREQuency:INPut", false, 1, 1, B::None, kPlain, h::SetInput},
    {"FREQuency:INPut", true, 0, 1, B::None, kPlain, h::QueryInput},
    {"FREQuency:OUTPut", true, 0, 0, B::None, kPlain, h::QueryOutput},
    {"FREQuency:VCO", true, 0, 0, B::None, kPlain, h::QueryVcoFrequency},
    {"PLAN:INPut", true, 1, 1, B::None, kPlain, h::QueryPlansForInput},
    {"PLAN:OUTPut", true, 1, 1, B::None, kPlain, h::QueryPlanForOutput},
    {"PLAN:APPLy", false, 1, 1, B::Needs, kChangesState, h::ApplyPlan},

    {"OUTPut[:STATe]", false, 1, 1, B::Needs, kChangesState, h::SetOutputEnable},
    {"OUTPut[:STATe]", true, 0, 0, B::Needs, kPlain, h::QueryOutputEnable},
    {"OUTPut:TERMination", false, 1, 1, B::Needs, kChangesState, h::SetTermination},
    {"OUTPut:TERMination", true, 0, 0, B::Needs, kPlain, h::QueryTermination},
    {"POWer", false, 1, 1, B::Needs, kChangesState, h::SetPower},
    {"POWer", true, 0, 0, B::Needs, kPlain, h::QueryPower},
    {"CALibration", false, 1, 1, B::None, kPlain, h::SetCalibration},
    {"CALibration", true, 0, 0, B::None, kPlain, h::QueryCalibration},
    {"EEPRom:COUNt", true, 0, 0, B::Needs, kPlain, h::QueryWriteCounter},
    {"EEPRom:PROGram", false, 0, 0, B::Needs, kProtected, h::ProgramEeprom},
    {"EEPRom:PROGram:LOCK", false, 0, 1, B::Needs, kProtected, h::LockEeprom},
    {"XTAL", false, 1, 1, B::Needs, kProtected, h::SetCrystal},
    {"XTAL", true, 0, 1, B::Needs, kPlain, h::QueryCrystal},
    {"READback", true, 0, 0, B::Needs, kIndefinite, h::QueryReadBack},
    {"STATus:BOARd", true, 0, 0, B::Needs, kIndefinite, h::QueryBoardStatus},
};

}  // namespace

bool CommandContext::AnswerLimit(const NumericRange &range, std::string (*format)(double)) {
    if (parameters.empty()) return false;
    Error limitError;
    if (const auto limit = ParseLimitQuery(parameters[0], range, limitError)) {
        Answer(format(*limit));
    } else {
        error = std::move(limitError);
    }
    return true;
}

std::optional<double> CommandContext::Number(const NumericRange &range) {
    Error numberError;
    auto value = ParseNumber(parameters[0], range, numberError);
    if (!value) error = std::move(numberError);
    return value;
}

std::string FormatWhole(double value) {
    return std::to_string(static_cast<long long>(value));
}

std::span<const CommandDef> InstrumentCommands() {
    return kCommands;
}

const CommandTree &InstrumentCommandTree() {
    static const CommandTree tree = [] {
        CommandTree built;
        for (const CommandDef &command : kCommands) built.Add(command.header, command.query);
        return built;
    }();
    return tree;
}

}  // namespace velorin::core::scpi
