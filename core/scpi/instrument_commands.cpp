#include "core/scpi/instrument_commands.h"

#include <array>

#include "core/scpi/command_handlers.h"

namespace velorin::core::scpi {

namespace {

using B = BoardUse;
namespace h = handlers;

// header, query, parameters (min, max), board, changes state, handler
constexpr std::array<CommandDef, 55> kCommands = {{
    {"*IDN", true, 0, 0, B::Probe, false, h::Identify},
    {"*RST", false, 0, 0, B::None, false, h::Reset},
    {"*CLS", false, 0, 0, B::None, false, h::ClearStatus},
    {"*ESE", false, 1, 1, B::None, false, h::SetEventEnable},
    {"*ESE", true, 0, 0, B::None, false, h::QueryEventEnable},
    {"*ESR", true, 0, 0, B::None, false, h::QueryEventStatus},
    {"*OPC", false, 0, 0, B::None, false, h::OperationComplete},
    {"*OPC", true, 0, 0, B::None, false, h::QueryOperationComplete},
    {"*SRE", false, 1, 1, B::None, false, h::SetServiceEnable},
    {"*SRE", true, 0, 0, B::None, false, h::QueryServiceEnable},
    {"*STB", true, 0, 0, B::None, false, h::QueryStatusByte},
    {"*WAI", false, 0, 0, B::None, false, h::Wait},
    {"*TST", true, 0, 0, B::Probe, false, h::SelfTest},
    {"SYSTem:ERRor[:NEXT]", true, 0, 0, B::None, false, h::NextError},
    {"SYSTem:ERRor:COUNt", true, 0, 0, B::None, false, h::ErrorCount},
    {"SYSTem:VERSion", true, 0, 0, B::None, false, h::Version},
    {"BLOCk", false, 1, 1, B::None, false, h::SelectBlock},
    {"BLOCk", true, 0, 0, B::None, false, h::QueryBlock},

    {"PRESCaler", false, 1, 1, B::Needs, true, h::SetPrescaler},
    {"PRESCaler", true, 0, 0, B::None, false, h::QueryPrescaler},
    {"ODIVider", false, 1, 1, B::Needs, true, h::SetOutputDivider},
    {"ODIVider", true, 0, 0, B::None, false, h::QueryOutputDivider},
    {"VCO", false, 1, 1, B::Needs, true, h::SetVco},
    {"VCO", true, 0, 0, B::None, false, h::QueryVco},
    {"CPUMp", false, 1, 1, B::Needs, true, h::SetChargePump},
    {"CPUMp", true, 0, 0, B::None, false, h::QueryChargePump},
    {"OUTPut:TYPE", false, 1, 1, B::Needs, true, h::SetOutputType},
    {"OUTPut:TYPE", true, 0, 0, B::None, false, h::QueryOutputType},
    {"IMAGe", false, 1, 1, B::Needs, true, h::SetImage},
    {"IMAGe", true, 0, 0, B::None, false, h::QueryImage},
    {"LFILter", false, 2, 2, B::Needs, true, h::SetLoopFilter},
    {"LFILter", true, 0, 0, B::None, false, h::QueryLoopFilter},
    {"LFILter:WORD", true, 0, 0, B::None, false, h::QueryLoopFilterWord},

    {"FREQuency:INPut", false, 1, 1, B::None, false, h::SetInput},
    {"FREQuency:INPut", true, 0, 0, B::None, false, h::QueryInput},
    {"FREQuency:OUTPut", true, 0, 0, B::None, false, h::QueryOutput},
    {"FREQuency:VCO", true, 0, 0, B::None, false, h::QueryVcoFrequency},
    {"PLAN:INPut", true, 1, 1, B::None, false, h::QueryPlansForInput},
    {"PLAN:OUTPut", true, 1, 1, B::None, false, h::QueryPlanForOutput},
    {"PLAN:APPLy", false, 1, 1, B::Needs, true, h::ApplyPlan},

    {"OUTPut[:STATe]", false, 1, 1, B::Needs, true, h::SetOutputEnable},
    {"OUTPut[:STATe]", true, 0, 0, B::Needs, false, h::QueryOutputEnable},
    {"OUTPut:TERMination", false, 1, 1, B::Needs, true, h::SetTermination},
    {"OUTPut:TERMination", true, 0, 0, B::Needs, false, h::QueryTermination},
    {"POWer", false, 1, 1, B::Needs, true, h::SetPower},
    {"POWer", true, 0, 0, B::Needs, false, h::QueryPower},
    {"CALibration", false, 1, 1, B::None, false, h::SetCalibration},
    {"CALibration", true, 0, 0, B::None, false, h::QueryCalibration},
    {"EEPRom:COUNt", true, 0, 0, B::Needs, false, h::QueryWriteCounter},
    {"EEPRom:PROGram", false, 0, 0, B::Needs, false, h::ProgramEeprom},
    {"EEPRom:PROGram:LOCK", false, 0, 1, B::Needs, false, h::LockEeprom},
    {"XTAL", false, 1, 1, B::Needs, false, h::SetCrystal},
    {"XTAL", true, 0, 0, B::Needs, false, h::QueryCrystal},
    {"READback", true, 0, 0, B::Needs, false, h::QueryReadBack},
    {"STATus:BOARd", true, 0, 0, B::Needs, false, h::QueryBoardStatus},
}};

}  // namespace

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
