#include "core/device/tracing_board.h"

#include <cstdio>
#include <string>

#include "core/base/hex_text.h"

namespace velorin::core {

namespace {

// "start=0xB000, count=2"
std::string Range(uint16_t start, size_t count) {
    char text[40];
    std::snprintf(text, sizeof(text), "start=0x%04X, count=%zu", static_cast<unsigned>(start),
                  count);
    return text;
}

std::string Args(std::initializer_list<std::pair<const char *, long long>> values) {
    std::string text;
    for (const auto &[name, value] : values) {
        if (!text.empty()) text += ", ";
        text += name;
        text += '=';
        text += std::to_string(value);
    }
    return text;
}

}  // namespace

bool TracingBoard::Record(const char *operation, std::string arguments, bool ok,
                          std::string output) {
    trace_.Add(TraceEntry{std::chrono::steady_clock::now(), operation, std::move(arguments), ok,
                          std::move(output)});
    return ok;
}

bool TracingBoard::Open() {
    return Record("OpenUsbDevice", "", inner_.Open());
}

bool TracingBoard::Close() {
    return Record("CloseUsbDevice", "", inner_.Close());
}

bool TracingBoard::SetI2CDeviceAddress(int32_t address, uint8_t option) {
    const bool ok = inner_.SetI2CDeviceAddress(address, option);
    char text[48];
    std::snprintf(text, sizeof(text), "address=0x%X, option=%u", static_cast<unsigned>(address),
                  static_cast<unsigned>(option));
    return Record("SetI2CDeviceAddress", text, ok);
}

bool TracingBoard::WritePort(uint16_t port, uint8_t value) {
    const bool ok = inner_.WritePort(port, value);
    return Record("WritePort", "port=" + std::to_string(port) + ", value=" + HexByte(value), ok);
}

bool TracingBoard::ReadPort(uint16_t port, uint8_t &value) {
    const bool ok = inner_.ReadPort(port, value);
    return Record("ReadPort", Args({{"port", port}}), ok, ok ? HexByte(value) : "");
}

bool TracingBoard::GetEvmId(uint8_t &id) {
    const bool ok = inner_.GetEvmId(id);
    return Record("GetEvmId", "", ok, ok ? HexByte(id) : "");
}

bool TracingBoard::WriteOneWire(uint16_t index, uint8_t value) {
    const bool ok = inner_.WriteOneWire(index, value);
    return Record("WriteOneWire", "index=" + std::to_string(index) + ", value=" + HexByte(value),
                  ok);
}

bool TracingBoard::WriteToRam(int32_t block) {
    return Record("WriteToRam", Args({{"block", block}}), inner_.WriteToRam(block));
}

bool TracingBoard::WriteOneWord(int32_t block, uint16_t address, uint8_t value) {
    const bool ok = inner_.WriteOneWord(block, address, value);
    return Record("WriteOneWord", Args({{"block", block}, {"address", address}, {"value", value}}),
                  ok);
}

bool TracingBoard::ReadBack(uint16_t block) {
    return Record("ReadBack", Args({{"block", block}}), inner_.ReadBack(block));
}

bool TracingBoard::UnlockEeprom(uint16_t block) {
    return Record("UnlockEeprom", Args({{"block", block}}), inner_.UnlockEeprom(block));
}

bool TracingBoard::WriteI2C(uint16_t start, std::span<const uint8_t> data) {
    const bool ok = inner_.WriteI2C(start, data);
    return Record("WriteI2C", Range(start, data.size()) + ", data=" + HexBytes(data, " "), ok);
}

bool TracingBoard::ReadI2C(uint16_t start, std::span<uint8_t> buffer) {
    const bool ok = inner_.ReadI2C(start, buffer);
    return Record("ReadI2C", Range(start, buffer.size()), ok, ok ? HexBytes(buffer, " ") : "");
}

bool TracingBoard::ReadDataBack(uint16_t start, std::span<uint8_t> buffer) {
    const bool ok = inner_.ReadDataBack(start, buffer);
    return Record("ReadDataBack",
                  "start=" + std::to_string(start) + ", count=" + std::to_string(buffer.size()), ok,
                  ok ? HexBytes(buffer, " ") : "");
}

}  // namespace velorin::core
