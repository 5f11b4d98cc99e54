#include "core/device/port_switches.h"

#include "core/device/board_ports.h"

namespace velorin::core {

namespace {

SequenceResult SwitchBit(Board &board, uint16_t port, uint8_t bit, bool set) {
    uint8_t value = 0;
    if (!board.ReadPort(port, value)) return SequenceResult::Failed;
    return ResultOf(board.WritePort(port, WithBits(value, bit, set)));
}

}  // namespace

SequenceResult SwitchPower(Board &board, bool on) {
    return SwitchBit(board, kControlPort, kPowerOffBit, !on);
}

SequenceResult SwitchTermination(Board &board, int block, bool on) {
    return SwitchBit(board, kControlPort, TerminationBit(block), on);
}

SequenceResult SwitchOutputEnable(Board &board, int block, bool on) {
    return SwitchBit(board, kEnablePort, OutputEnableBit(block), on);
}

SequenceResult StartReadBackMode(Board &board, int block) {
    return ResultOf(board.ReadBack(static_cast<uint16_t>(block)));
}

}  // namespace velorin::core
