#include "board_request.h"

namespace velorin::board {

std::array<uint8_t, kRequestSize> EncodeRequest(const BoardRequest &request) {
    return {request.command,
            request.reserved,
            static_cast<uint8_t>(request.value & 0xFF),
            static_cast<uint8_t>(request.value >> 8),
            static_cast<uint8_t>(request.index & 0xFF),
            static_cast<uint8_t>(request.index >> 8)};
}

uint16_t I2CValue(int32_t deviceAddress, uint8_t low) {
    return static_cast<uint16_t>(((static_cast<uint32_t>(deviceAddress) & 0xFF) << 8) | low);
}

namespace {
constexpr std::array<uint8_t, 4> kWriteToRam = {0xA2, 0xB2, 0xC2, 0xD2};
constexpr std::array<uint8_t, 4> kWriteOneWord = {0xA3, 0xB3, 0xC3, 0xD3};

std::optional<uint8_t> Pick(const std::array<uint8_t, 4> &table, int32_t block) {
    if (block < 0 || block > 3) return std::nullopt;
    return table[static_cast<size_t>(block)];
}
}  // namespace

std::optional<uint8_t> WriteToRamCommand(int32_t block) {
    return Pick(kWriteToRam, block);
}
std::optional<uint8_t> WriteOneWordCommand(int32_t block) {
    return Pick(kWriteOneWord, block);
}

}  // namespace velorin::board
