// The IEEE 488.2 common commands, SYSTem and BLOCk.
#include <cmath>
#include <string>

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

std::optional<uint8_t> ReadMask(CommandContext &c) {
    Error error;
    const auto value = ParseNumber(c.parameters[0], NumericRange{0, 255, 0, false}, error);
    if (!value) {
        c.error = error;
        return std::nullopt;
    }
    // Registers take whole numbers; a fraction is rounded, as IEEE 488.2 asks of NRf.
    return static_cast<uint8_t>(std::lround(*value));
}

}  // namespace

void Identify(CommandContext &c) {
    const Instrument &instrument = c.instrument;
    const char *kind = instrument.Link().Lost()        ? "NONE"
                       : instrument.IsFourBlockBoard() ? "FOUR-BLOCK"
                                                       : "THREE-BLOCK";
    c.Answer(std::string(kManufacturer) + "," + kModel + "," + kind + "," + instrument.Version());
}

void Reset(CommandContext &c) {
    c.instrument.Reset();
    c.client.block = 0;
}

void ClearStatus(CommandContext &c) {
    c.client.status.Clear();
}

void SetEventEnable(CommandContext &c) {
    if (const auto mask = ReadMask(c)) c.client.status.SetEventStatusEnable(*mask);
}

void QueryEventEnable(CommandContext &c) {
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
    if (const auto mask = ReadMask(c)) c.client.status.SetServiceRequestEnable(*mask);
}

void QueryServiceEnable(CommandContext &c) {
    c.Answer(std::to_string(c.client.status.ServiceRequestEnable()));
}

void QueryStatusByte(CommandContext &c) {
    c.Answer(std::to_string(c.client.status.StatusByte(false)));
}

void Wait(CommandContext &) {}

void SelfTest(CommandContext &c) {
    uint8_t id = 0;
    const bool answered = !c.instrument.Link().Lost() && c.instrument.Hardware().GetEvmId(id);
    c.Answer(answered ? "0" : "1");
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

}  // namespace velorin::core::scpi::handlers
