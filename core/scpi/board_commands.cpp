// The port switches, the calibration flag, the chip's EEPROM, block B's crystal record, the
// read-back and the board's status. A failing board call is turned into -240 by the
// instrument, which names the call.
#include <cctype>
#include <string>

#include "core/base/number_text.h"
#include "core/device/board_ports.h"
#include "core/device/board_status.h"
#include "core/device/programming_sequences.h"
#include "core/device/programming_steps.h"
#include "core/device/readback.h"
#include "core/device/readback_json.h"
#include "core/planning/crystal_record.h"
#include "core/scpi/command_handlers.h"
#include "core/scpi/instrument.h"
#include "core/scpi/parameter_values.h"

namespace velorin::core::scpi::handlers {

namespace {

constexpr double kHzPerMhz = 1e6;
constexpr NumericRange kCrystalRange{
    kCrystalLowMhz * kHzPerMhz, kCrystalHighMhz *kHzPerMhz, {}, false, Quantity::Frequency};

// Answers are 7-bit ASCII: "µA" goes out as "\u00b5A".
std::string AsciiJson(const nlohmann::json &json) {
    return json.dump(-1, ' ', true);
}

std::optional<bool> ReadSwitch(CommandContext &c) {
    const auto on = ParseBoolean(c.parameters[0]);
    if (!on) c.Refuse(kIllegalParameterValue, "ON, OFF, 1 or 0");
    return on;
}

// Answers whether the port's bits are set; a failed read answers nothing.
void AnswerPortBits(CommandContext &c, uint16_t port, uint8_t bits, bool activeLow = false) {
    uint8_t value = 0;
    if (!c.instrument.Hardware().ReadPort(port, value)) return;
    const bool set = (value & bits) != 0;
    c.Answer(set != activeLow ? "1" : "0");
}

std::string Answer(bool on) {
    return on ? "1" : "0";
}

bool IsYes(const std::string &text) {
    if (text.size() != 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != "YES"[i]) return false;
    }
    return true;
}

}  // namespace

void SetOutputEnable(CommandContext &c) {
    const auto on = ReadSwitch(c);
    if (!on) return;
    MainViewModel &model = c.instrument.Model(c.Block());
    model.State().outputEnableOn = *on;
    model.ApplyOutputEnable();
}

void QueryOutputEnable(CommandContext &c) {
    AnswerPortBits(c, kEnablePort, OutputEnableBit(c.Block()));
}

void SetTermination(CommandContext &c) {
    const auto on = ReadSwitch(c);
    if (!on) return;
    MainViewModel &model = c.instrument.Model(c.Block());
    model.State().terminationOn = *on;
    model.ApplyTermination();
}

void QueryTermination(CommandContext &c) {
    AnswerPortBits(c, kControlPort,
                   TerminationBitForBoard(c.Block(), c.instrument.IsFourBlockBoard()));
}

void SetPower(CommandContext &c) {
    const auto on = ReadSwitch(c);
    if (!on) return;
    c.instrument.SharePower(*on);
    c.instrument.Model(c.Block()).ApplyPowerEnable();
}

void QueryPower(CommandContext &c) {
    AnswerPortBits(c, kControlPort, kPowerOffBit, true);
}

// The flag the next chip write uses; nothing is written now.
void SetCalibration(CommandContext &c) {
    if (const auto on = ReadSwitch(c)) c.instrument.ShareCalibration(*on);
}

void QueryCalibration(CommandContext &c) {
    c.Answer(Answer(c.instrument.Model(c.Block()).State().vcoCalibrationOn));
}

void QueryWriteCounter(CommandContext &c) {
    const WriteCounterReading counter = ReadWriteCounter(c.instrument.Hardware(), c.Block());
    if (counter.ok) c.Answer(std::to_string(counter.count));
}

void ProgramEeprom(CommandContext &c) {
    const int block = c.Block();
    RegisterImage &image = c.instrument.Image(block);
    BoardServices services = c.instrument.Services();
    core::ProgramEeprom(
        services, block, [&image]() -> RegisterImage & { return image; },
        c.instrument.Model(block).State().outputEnableOn);
}

void LockEeprom(CommandContext &c) {
    if (c.parameters.empty() || !c.parameters[0].quoted || !IsYes(c.parameters[0].text)) {
        c.Refuse(kIllegalParameterValue, "locking needs the string \"YES\"");
        return;
    }
    const int block = c.Block();
    BoardServices services = c.instrument.Services();
    ProgramAndLockEeprom(services, block, c.instrument.Model(block).State().outputEnableOn);
}

void SetCrystal(CommandContext &c) {
    const auto hz = c.Number(kCrystalRange);
    if (!hz) return;
    BoardServices services = c.instrument.Services();
    SaveCrystalFrequency(services.board, services.prompts, FormatFixed(*hz / kHzPerMhz, 6));
}

void QueryCrystal(CommandContext &c) {
    if (c.AnswerLimit(kCrystalRange, FormatNr3)) return;
    const CrystalLoad load = LoadCrystalFrequency(c.instrument.Hardware());
    if (load.ok) c.Answer(FormatNr3(LeadingNumber(load.text) * kHzPerMhz));
}

void QueryReadBack(CommandContext &c) {
    const ReadBackFetch fetch = FetchReadBack(c.instrument.Hardware(), c.Block());
    if (fetch.ok) c.Answer(AsciiJson(ReadBackJson(DecodeReadBack(StreamBytes(fetch), false))));
}

void QueryBoardStatus(CommandContext &c) {
    if (const auto status = ReadBoardStatus(c.instrument.Hardware())) {
        c.Answer(AsciiJson(BoardStatusJson(*status)));
    }
}

}  // namespace velorin::core::scpi::handlers
