// The handlers of the instrument's command table, by group.
#pragma once

#include "core/scpi/instrument_commands.h"
#include "core/scpi/status_registers.h"

namespace velorin::core::scpi::handlers {

// IEEE 488.2 common commands, SYSTem and BLOCk.
void Identify(CommandContext &c);
void Reset(CommandContext &c);
void ClearStatus(CommandContext &c);
void SetEventEnable(CommandContext &c);
void QueryEventEnable(CommandContext &c);
void QueryEventStatus(CommandContext &c);
void OperationComplete(CommandContext &c);
void QueryOperationComplete(CommandContext &c);
void SetServiceEnable(CommandContext &c);
void QueryServiceEnable(CommandContext &c);
void QueryStatusByte(CommandContext &c);
void Wait(CommandContext &c);
void SelfTest(CommandContext &c);
void NextError(CommandContext &c);
void ErrorCount(CommandContext &c);
void Version(CommandContext &c);
void SelectBlock(CommandContext &c);

// The STATus subsystem's OPERation and QUEStionable registers; a condition is read as it is
// when a status query is answered, and its rising edges latch into the event register.
StatusRegister &ReadCondition(CommandContext &c, StatusRegister StatusRegisters::*which);
template <StatusRegister StatusRegisters::*kWhich>
void QueryStatusEvent(CommandContext &c);
template <StatusRegister StatusRegisters::*kWhich>
void QueryStatusCondition(CommandContext &c);
template <StatusRegister StatusRegisters::*kWhich>
void SetStatusEnable(CommandContext &c);
template <StatusRegister StatusRegisters::*kWhich>
void QueryStatusEnable(CommandContext &c);
void PresetStatus(CommandContext &c);
void QueryBlock(CommandContext &c);

// The chip's settings through the main view's setters.
void SetPrescaler(CommandContext &c);
void QueryPrescaler(CommandContext &c);
void SetOutputDivider(CommandContext &c);
void QueryOutputDivider(CommandContext &c);
void SetVco(CommandContext &c);
void QueryVco(CommandContext &c);
void SetChargePump(CommandContext &c);
void QueryChargePump(CommandContext &c);
void SetOutputType(CommandContext &c);
void QueryOutputType(CommandContext &c);
void SetImage(CommandContext &c);
void QueryImage(CommandContext &c);
void SetLoopFilter(CommandContext &c);
void QueryLoopFilter(CommandContext &c);
void QueryLoopFilterWord(CommandContext &c);

// Frequencies and plans.
void SetInput(CommandContext &c);
void QueryInput(CommandContext &c);
void QueryOutput(CommandContext &c);
void QueryVcoFrequency(CommandContext &c);
void QueryPlansForInput(CommandContext &c);
void QueryPlanForOutput(CommandContext &c);
void ApplyPlan(CommandContext &c);

// Port switches, calibration flag, EEPROM, crystal record, read-back and board status.
void SetOutputEnable(CommandContext &c);
void QueryOutputEnable(CommandContext &c);
void SetTermination(CommandContext &c);
void QueryTermination(CommandContext &c);
void SetPower(CommandContext &c);
void QueryPower(CommandContext &c);
void SetCalibration(CommandContext &c);
void QueryCalibration(CommandContext &c);
void QueryWriteCounter(CommandContext &c);
void ProgramEeprom(CommandContext &c);
void LockEeprom(CommandContext &c);
void SetCrystal(CommandContext &c);
void QueryCrystal(CommandContext &c);
void QueryReadBack(CommandContext &c);
void QueryBoardStatus(CommandContext &c);

}  // namespace velorin::core::scpi::handlers
