#include "core/scpi/checked_board.h"

#include "core/base/printf_text.h"
#include "core/device/register_image.h"

namespace velorin::core::scpi {

namespace {

std::string OfBlock(const char *what, int block) {
    return std::string(what) + " of block " + BlockLetter(block);
}

}  // namespace

bool CheckedBoard::Open() {
    return Note(inner_.Open(), [] { return std::string("board open"); });
}

bool CheckedBoard::Close() {
    return inner_.Close();
}

bool CheckedBoard::SetI2CDeviceAddress(int32_t address, uint8_t option) {
    return Note(inner_.SetI2CDeviceAddress(address, option),
                [] { return std::string("board EEPROM selection"); });
}

bool CheckedBoard::WritePort(uint16_t port, uint8_t value) {
    return Note(inner_.WritePort(port, value), [port] { return Printf("port %d write", port); });
}

bool CheckedBoard::ReadPort(uint16_t port, uint8_t &value) {
    return Note(inner_.ReadPort(port, value), [port] { return Printf("port %d read", port); });
}

bool CheckedBoard::GetEvmId(uint8_t &id) {
    return Note(inner_.GetEvmId(id), [] { return std::string("identity read"); });
}

bool CheckedBoard::WriteOneWire(uint16_t index, uint8_t value) {
    return Note(inner_.WriteOneWire(index, value),
                [index] { return Printf("staging of Byte%d", index); });
}

bool CheckedBoard::WriteToRam(int32_t block) {
    return Note(inner_.WriteToRam(block), [block] { return OfBlock("RAM write", block); });
}

bool CheckedBoard::WriteOneWord(int32_t block, uint16_t address, uint8_t value) {
    return Note(inner_.WriteOneWord(block, address, value), [=] {
        return Printf("command word %d/%d", address, value) + " to block " + BlockLetter(block);
    });
}

bool CheckedBoard::ReadBack(uint16_t block) {
    return Note(inner_.ReadBack(block), [block] { return OfBlock("read-back command", block); });
}

bool CheckedBoard::UnlockEeprom(uint16_t block) {
    return Note(inner_.UnlockEeprom(block), [block] { return OfBlock("unlock", block); });
}

bool CheckedBoard::WriteI2C(uint16_t start, std::span<const uint8_t> data) {
    return Note(inner_.WriteI2C(start, data),
                [start] { return Printf("board EEPROM write at 0x%04X", start); });
}

bool CheckedBoard::ReadI2C(uint16_t start, std::span<uint8_t> buffer) {
    return Note(inner_.ReadI2C(start, buffer),
                [start] { return Printf("board EEPROM read at 0x%04X", start); });
}

bool CheckedBoard::ReadDataBack(uint16_t start, std::span<uint8_t> buffer) {
    return Note(inner_.ReadDataBack(start, buffer),
                [] { return std::string("read-back data fetch"); });
}

}  // namespace velorin::core::scpi
