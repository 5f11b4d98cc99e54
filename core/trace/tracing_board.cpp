#include "core/trace/tracing_board.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/device/board_ports.h"
#include "core/trace/poll_scope.h"

namespace velorin::core {

namespace {

void Keep(std::string &bytes, std::span<const uint8_t> data) {
    bytes.assign(reinterpret_cast<const char *>(data.data()), data.size());
}

uint32_t Count(size_t size) {
    return static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX));
}

}  // namespace

BoardCall TracingBoard::Call(CallKind kind, uint16_t where, uint8_t value) const {
    BoardCall call;
    call.kind = kind;
    call.fromPoll = PollScope::Active();
    call.i2cAddress = i2cAddress_;
    call.i2cOption = i2cOption_;
    call.boardKind = boardKind_;
    call.where = where;
    call.value = value;
    return call;
}

bool TracingBoard::Record(BoardCall &call, bool ok) {
    call.time = std::chrono::steady_clock::now();
    call.ok = ok;
    log_.Add(std::move(call));
    return ok;
}

bool TracingBoard::Open() {
    BoardCall call = Call(CallKind::OpenUsbDevice);
    const bool ok = inner_.Open();
    if (ok) i2cAddress_ = 0xA0;
    return Record(call, ok);
}

bool TracingBoard::Close() {
    BoardCall call = Call(CallKind::CloseUsbDevice);
    return Record(call, inner_.Close());
}

bool TracingBoard::SetI2CDeviceAddress(int32_t address, uint8_t option) {
    BoardCall call = Call(CallKind::SetI2CDeviceAddress, 0, option);
    call.target = address;
    const bool ok = inner_.SetI2CDeviceAddress(address, option);
    // The library stores both whatever it returns.
    i2cAddress_ = static_cast<uint8_t>(address & 0xFF);
    i2cOption_ = option;
    return Record(call, ok);
}

bool TracingBoard::WritePort(uint16_t port, uint8_t value) {
    BoardCall call = Call(CallKind::WritePort, port, value);
    return Record(call, inner_.WritePort(port, value));
}

bool TracingBoard::ReadPort(uint16_t port, uint8_t &value) {
    BoardCall call = Call(CallKind::ReadPort, port);
    const bool ok = inner_.ReadPort(port, value);
    if (ok) call.bytes.assign(1, static_cast<char>(value));
    return Record(call, ok);
}

bool TracingBoard::GetEvmId(uint8_t &id) {
    BoardCall call = Call(CallKind::GetEvmId);
    const bool ok = inner_.GetEvmId(id);
    if (ok) {
        call.bytes.assign(1, static_cast<char>(id));
        boardKind_ = IsFourBlockBoard(id) ? BoardKindSeen::FourBlock : BoardKindSeen::ThreeBlock;
    }
    return Record(call, ok);
}

bool TracingBoard::WriteOneWire(uint16_t index, uint8_t value) {
    BoardCall call = Call(CallKind::WriteOneWire, index, value);
    return Record(call, inner_.WriteOneWire(index, value));
}

bool TracingBoard::WriteToRam(int32_t block) {
    BoardCall call = Call(CallKind::WriteToRam);
    call.target = block;
    return Record(call, inner_.WriteToRam(block));
}

bool TracingBoard::WriteOneWord(int32_t block, uint16_t address, uint8_t value) {
    BoardCall call = Call(CallKind::WriteOneWord, address, value);
    call.target = block;
    return Record(call, inner_.WriteOneWord(block, address, value));
}

bool TracingBoard::ReadBack(uint16_t block) {
    BoardCall call = Call(CallKind::ReadBack, block);
    return Record(call, inner_.ReadBack(block));
}

bool TracingBoard::UnlockEeprom(uint16_t block) {
    BoardCall call = Call(CallKind::UnlockEeprom, block);
    return Record(call, inner_.UnlockEeprom(block));
}

bool TracingBoard::WriteI2C(uint16_t start, std::span<const uint8_t> data) {
    BoardCall call = Call(CallKind::WriteI2C, start);
    call.count = Count(data.size());
    Keep(call.bytes, data);
    return Record(call, inner_.WriteI2C(start, data));
}

bool TracingBoard::ReadI2C(uint16_t start, std::span<uint8_t> buffer) {
    BoardCall call = Call(CallKind::ReadI2C, start);
    call.count = Count(buffer.size());
    const bool ok = inner_.ReadI2C(start, buffer);
    if (ok) Keep(call.bytes, buffer);
    return Record(call, ok);
}

bool TracingBoard::ReadDataBack(uint16_t start, std::span<uint8_t> buffer) {
    BoardCall call = Call(CallKind::ReadDataBack, start);
    call.count = Count(buffer.size());
    const bool ok = inner_.ReadDataBack(start, buffer);
    if (ok) Keep(call.bytes, buffer);
    return Record(call, ok);
}

}  // namespace velorin::core
