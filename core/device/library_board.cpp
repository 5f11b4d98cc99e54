#include "core/device/library_board.h"

#include <limits>

#include "velorin.h"

namespace velorin::core {

namespace {

bool Ok(int result) {
    return result == 0;
}

// The library counts in int32; no transfer the program makes comes near that.
int32_t Count(size_t size) {
    return size > static_cast<size_t>(std::numeric_limits<int32_t>::max())
               ? std::numeric_limits<int32_t>::max()
               : static_cast<int32_t>(size);
}

}  // namespace

bool LibraryBoard::Open() {
    return Ok(Velorin_OpenUsbDevice());
}

bool LibraryBoard::Close() {
    return Ok(Velorin_CloseUsbDevice());
}

bool LibraryBoard::SetI2CDeviceAddress(int32_t address, uint8_t option) {
    return Ok(Velorin_SetI2CDeviceAddress(address, option));
}

bool LibraryBoard::WritePort(uint16_t port, uint8_t value) {
    return Ok(Velorin_WritePort(port, value));
}

bool LibraryBoard::ReadPort(uint16_t port, uint8_t &value) {
    return Ok(Velorin_ReadPort(port, &value));
}

bool LibraryBoard::GetEvmId(uint8_t &id) {
    return Ok(Velorin_GetEvmId(&id));
}

bool LibraryBoard::WriteOneWire(uint16_t index, uint8_t value) {
    return Ok(Velorin_WriteOneWire(index, value));
}

bool LibraryBoard::WriteToRam(int32_t block) {
    return Ok(Velorin_WriteToRam(block));
}

bool LibraryBoard::WriteOneWord(int32_t block, uint16_t address, uint8_t value) {
    return Ok(Velorin_WriteOneWord(block, address, value));
}

bool LibraryBoard::ReadBack(uint16_t block) {
    return Ok(Velorin_ReadBack(block));
}

bool LibraryBoard::UnlockEeprom(uint16_t block) {
    return Ok(Velorin_UnlockEeprom(block));
}

bool LibraryBoard::WriteI2C(uint16_t start, std::span<const uint8_t> data) {
    return Ok(Velorin_WriteI2C(start, Count(data.size()), data.data()));
}

bool LibraryBoard::ReadI2C(uint16_t start, std::span<uint8_t> buffer) {
    return Ok(Velorin_ReadI2C(start, Count(buffer.size()), buffer.data()));
}

bool LibraryBoard::ReadDataBack(uint16_t start, std::span<uint8_t> buffer) {
    return Ok(Velorin_ReadDataBack(start, Count(buffer.size()), buffer.data()));
}

}  // namespace velorin::core
