// The IEEE 488.2 common commands, SYSTem and BLOCk.
#include <cmath>
#include <string>

#include "core/device/board_ports.h"
#include "core/device/register_image.h"
#include "core/scpi/command_handlers.h"
#include "core/scpi/instrument.h"
#include "core/scpi/parameter_values.h"
#include "core/scpi/status_bits.h"

namespace velorin::core::scpi::handlers {

namespace {

constexpr const char *kManufacturer = "Norvale Devices";
constexpr const char *kModel = "MXRG817A EVAL";
constexpr const char *kScpiVersion = "1999.0";

constexpr NumericRange kMaskRange{0, 255, 0, false, Quantity::Plain};
constexpr NumericRange kStatusEnableRange{0, 65535, 0, false, Quantity::Plain};

// Registers take whole numbers; a fraction is rounded, as IEEE 488.2 asks of NRf.
template <typename T>
std::optional<T> ReadMask(CommandContext &c, const NumericRange &range) {
    const auto value = c.Number(range);
    if (!value) return std::nullopt;
    return static_cast<T>(std::lround(*value));
}

// A fresh look at the board: its identity now, or nothing when it does not answer.
std::optional<uint8_t> AskIdentity(CommandContext &c) {
    if (c.instrument.Link().Lost() || !c.instrument.Link().ReadIdentity()) return std::nullopt;
    return c.instrument.Link().Identity();
}

}  // namespace

void Identify(CommandContext &c) {
    const auto identity = AskIdentity(c);
    const char *kind = !identity                     ? "NONE"
                       : IsFourBlockBoard(*identity) ? "FOUR-BLOCK"
                                                     : "THREE-BLOCK";
    c.Answer(std::string(kManufacturer) + "," + kModel + "," + kind + "," + c.instrument.Version());
}

void Reset(CommandContext &c) {
    const bool written = c.instrument.Reset();
    c.client.block = 0;
    if (!written) c.Refuse(kHardwareError, c.instrument.Hardware().Failure() + " failed");
}

void ClearStatus(CommandContext &c) {
    c.client.status.Clear();
    c.client.registers.ClearEvents();
}

void SetEventEnable(CommandContext &c) {
    if (const auto mask = ReadMask<uint8_t>(c, kMaskRange))
        c.client.status.SetEventStatusEnable(*mask);
}

void QueryEventEnable(CommandContext &c) {
    if (c.AnswerLimit(kMaskRange, FormatWhole)) return;
    c.Answer(std::to_string(c.client.status.EventStatusEnable()));
}

void QueryEventStatus(CommandContext &c) {
    c.Answer(std::to_string(c.client.status.TakeEventStatus()));
}

// Every command has completed by the time the next one runs.
void OperationComplete(CommandContext &c) {
    c.client.status.SetEvent(kEsrOperationComplete);
}

void QueryOperationComplete(CommandContext &c) {
    c.Answer("1");
}

void SetServiceEnable(CommandContext &c) {
    if (const auto mask = ReadMask<uint8_t>(c, kMaskRange))
        c.client.status.SetServiceRequestEnable(*mask);
}

void QueryServiceEnable(CommandContext &c) {
    if (c.AnswerLimit(kMaskRange, FormatWhole)) return;
    c.Answer(std::to_string(c.client.status.ServiceRequestEnable()));
}

void QueryStatusByte(CommandContext &c) {
    ReadCondition(c, &StatusRegisters::questionable);
    const StatusRegisters &registers = c.client.registers;
    c.Answer(std::to_string(c.client.status.StatusByte(false, registers.questionable.Summary(),
                                                       registers.operation.Summary())));
}

void Wait(CommandContext &) {}

void SelfTest(CommandContext &c) {
    c.Answer(AskIdentity(c) ? "0" : "1");
}

void NextError(CommandContext &c) {
    c.Answer(FormatError(c.client.status.Errors().Pop()));
}

void ErrorCount(CommandContext &c) {
    c.Answer(std::to_string(c.client.status.Errors().Count()));
}

void Version(CommandContext &c) {
    c.Answer(kScpiVersion);
}

void SelectBlock(CommandContext &c) {
    static constexpr std::string_view kBlocks[] = {"A", "B", "C", "D"};
    const auto block = ParseChoice(c.parameters[0], kBlocks);
    if (!block) {
        c.Refuse(kIllegalParameterValue, "the block is A, B, C or D");
        return;
    }
    if (*block == 3 && !c.instrument.IsFourBlockBoard()) {
        c.Refuse(kIllegalParameterValue, "block D needs a four-block board");
        return;
    }
    c.client.block = *block;
}

void QueryBlock(CommandContext &c) {
    c.Answer(std::string(1, BlockLetter(c.Block())));
}

// The register's condition as it is now. Nothing the instrument does runs on after its command
// has answered, so no operation is ever under way.
StatusRegister &ReadCondition(CommandContext &c, StatusRegister StatusRegisters::*which) {
    StatusRegister &reg = c.client.registers.*which;
    const bool questionable = which == &StatusRegisters::questionable;
    reg.Update(questionable ? c.instrument.QuestionableCondition(c.client) : 0);
    return reg;
}

template <StatusRegister StatusRegisters::*kWhich>
void QueryStatusEvent(CommandContext &c) {
    c.Answer(std::to_string(ReadCondition(c, kWhich).TakeEvent()));
}

template <StatusRegister StatusRegisters::*kWhich>
void QueryStatusCondition(CommandContext &c) {
    c.Answer(std::to_string(ReadCondition(c, kWhich).Condition()));
}

template <StatusRegister StatusRegisters::*kWhich>
void SetStatusEnable(CommandContext &c) {
    if (const auto mask = ReadMask<uint16_t>(c, kStatusEnableRange))
        (c.client.registers.*kWhich).SetEnable(*mask);
}

template <StatusRegister StatusRegisters::*kWhich>
void QueryStatusEnable(CommandContext &c) {
    if (c.AnswerLimit(kStatusEnableRange, FormatWhole)) return;
    c.Answer(std::to_string((c.client.registers.*kWhich).Enable()));
}

template void QueryStatusEvent<&StatusRegisters::operation>(CommandContext &);
template void QueryStatusEvent<&StatusRegisters::questionable>(CommandContext &);
template void QueryStatusCondition<&StatusRegisters::operation>(CommandContext &);
template void QueryStatusCondition<&StatusRegisters::questionable>(CommandContext &);
template void SetStatusEnable<&StatusRegisters::operation>(CommandContext &);
template void SetStatusEnable<&StatusRegisters::questionable>(CommandContext &);
template void QueryStatusEnable<&StatusRegisters::operation>(CommandContext &);
template void QueryStatusEnable<&StatusRegisters::questionable>(CommandContext &);

void PresetStatus(CommandContext &c) {
    c.client.registers.Preset();
}

}  // namespace velorin::core::scpi::handlers
