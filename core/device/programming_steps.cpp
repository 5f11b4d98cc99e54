#include "core/device/programming_steps.h"

#include <array>

#include "core/device/board_eeprom_map.h"
#include "core/device/board_ports.h"

namespace velorin::core {

bool WriteImageToRam(Board &board, int block, const RegisterImage &image) {
    for (int index = 0; index < 6; ++index) {
        if (!board.WriteOneWire(static_cast<uint16_t>(index), image.Byte(index))) return false;
    }
    return board.WriteToRam(block);
}

bool RefreshOutputEnable(Board &board, int block, bool enabled) {
    uint8_t port = 0;
    if (!board.ReadPort(kEnablePort, port)) return false;
    return board.WritePort(kEnablePort, WithBits(port, OutputEnableBit(block), enabled));
}

WriteCounterReading ReadWriteCounter(Board &board, int block) {
    board.SetI2CDeviceAddress(kBoardEepromDevice, kDataRecordOption);
    // A blank byte and a failed read both count as "never written".
    std::array<uint8_t, 1> byte{0xFF};
    const bool ok = board.ReadI2C(static_cast<uint16_t>(kWriteCounterAddress + block), byte);
    return WriteCounterReading{static_cast<uint8_t>(byte[0] == 0xFF ? 0 : byte[0]), ok};
}

bool StoreWriteCounter(Board &board, int block, uint8_t count) {
    const std::array<uint8_t, 1> byte{count};
    return board.WriteI2C(static_cast<uint16_t>(kWriteCounterAddress + block), byte);
}

}  // namespace velorin::core
