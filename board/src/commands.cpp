// The board command set: each export turns its arguments into requests and delivers them.
#include "board_request.h"
#include "library_state.h"
#include "velorin.h"

using namespace velorin::board;

namespace {

BoardRequest Request(uint8_t command, uint16_t value, uint16_t index, uint8_t answerLength = 1) {
    BoardRequest request;
    request.command = command;
    request.value = value;
    request.index = index;
    request.answerLength = answerLength;
    return request;
}

int Result(bool delivered) {
    return delivered ? 0 : 1;
}

int SendIgnoringAnswer(const BoardRequest &request) {
    uint8_t ignored[2];
    return Result(Deliver(request, ignored));
}

// One request per element, index start + i modulo 65536; stops at the first failure.
template <typename MakeRequest, typename Store>
int PerElement(uint16_t start, int32_t count, MakeRequest make, Store store) {
    for (int32_t i = 0; i < count; ++i) {
        uint8_t answer[2] = {0, 0};
        auto index = static_cast<uint16_t>(start + static_cast<uint32_t>(i));
        if (!Deliver(make(i, index), answer)) return 1;
        store(i, answer);
    }
    return 0;
}

void StoreNothing(int32_t, const uint8_t *) {}

}  // namespace

extern "C" int Velorin_SetI2CHWAddress(void) {
    auto value = static_cast<uint16_t>(State().i2cDeviceAddress & 0xFFFF);
    return SendIgnoringAnswer(Request(command::kSetI2CHWAddress, value, 0));
}

extern "C" int Velorin_SetI2CDeviceAddress(int32_t address, uint8_t option) {
    State().i2cDeviceAddress = address;
    State().i2cOption = option;
    return 0;
}

extern "C" int Velorin_WritePort(uint16_t port, uint8_t value) {
    return SendIgnoringAnswer(Request(command::kWritePort, value, port));
}

extern "C" int Velorin_ReadPort(uint16_t port, uint8_t *value) {
    uint8_t answer[2];
    if (!Deliver(Request(command::kReadPort, 0, port), answer)) return 1;
    if (value != nullptr) *value = answer[0];
    return 0;
}

extern "C" int Velorin_GetEvmId(uint8_t *id) {
    uint8_t answer[2];
    if (!Deliver(Request(command::kGetEvmId, 0, 0), answer)) return 1;
    if (id != nullptr) *id = answer[0];
    return 0;
}

extern "C" int Velorin_WriteOneWire(uint16_t index, uint8_t value) {
    return SendIgnoringAnswer(Request(command::kWriteOneWire, value, index));
}

extern "C" int Velorin_WriteToRam(int32_t block) {
    auto code = WriteToRamCommand(block);
    if (!code) return 1;
    return SendIgnoringAnswer(Request(*code, 0, 0));
}

extern "C" int Velorin_WriteOneWord(int32_t block, uint16_t address, uint8_t value) {
    auto code = WriteOneWordCommand(block);
    if (!code) return 1;
    return SendIgnoringAnswer(Request(*code, value, address));
}

extern "C" int Velorin_ReadBack(uint16_t block) {
    return SendIgnoringAnswer(Request(command::kReadBack, 0, block));
}

extern "C" int Velorin_WriteSdataBits(uint16_t bits) {
    return SendIgnoringAnswer(Request(command::kWriteSdataBits, bits, 0));
}

extern "C" int Velorin_WriteScanout(uint16_t bits) {
    return SendIgnoringAnswer(Request(command::kWriteScanout, bits, 0));
}

extern "C" int Velorin_UnlockEeprom(uint16_t block) {
    return SendIgnoringAnswer(Request(command::kUnlockEeprom, 0, block));
}

extern "C" int Velorin_WriteI2C(uint16_t start, int32_t count, const uint8_t *data) {
    if (count > 0 && data == nullptr) return 1;
    const int32_t address = State().i2cDeviceAddress;
    return PerElement(
        start, count,
        [&](int32_t i, uint16_t index) {
            return Request(command::kWriteI2C, I2CValue(address, data[i]), index);
        },
        StoreNothing);
}

extern "C" int Velorin_ReadI2C(uint16_t start, int32_t count, uint8_t *buffer) {
    if (count > 0 && buffer == nullptr) return 1;
    const auto &state = State();
    return PerElement(
        start, count,
        [&](int32_t, uint16_t index) {
            return Request(command::kReadI2C, I2CValue(state.i2cDeviceAddress, state.i2cOption),
                           index);
        },
        [&](int32_t i, const uint8_t *answer) { buffer[i] = answer[0]; });
}

extern "C" int Velorin_ReadDataBack(uint16_t start, int32_t count, uint8_t *buffer) {
    if (count > 0 && buffer == nullptr) return 1;
    return PerElement(
        start, count,
        [](int32_t, uint16_t index) { return Request(command::kReadDataBack, 0, index); },
        [&](int32_t i, const uint8_t *answer) { buffer[i] = answer[0]; });
}

namespace {
bool WordSetup(uint8_t answerLength) {
    const auto &state = State();
    uint8_t ignored[2];
    return Deliver(Request(command::kI2CWordSetup,
                           I2CValue(state.i2cDeviceAddress, state.i2cOption), 0, answerLength),
                   ignored);
}
}  // namespace

extern "C" int Velorin_WriteI2CWord(uint16_t start, int32_t count, const uint16_t *words) {
    if (!WordSetup(0)) return 1;
    if (count > 0 && words == nullptr) return 1;
    return PerElement(
        start, count,
        [&](int32_t i, uint16_t index) {
            return Request(command::kWriteI2CWord, words[i], index, 0);
        },
        StoreNothing);
}

extern "C" int Velorin_ReadI2CWord(uint16_t start, int32_t count, uint16_t *words) {
    if (!WordSetup(1)) return 1;
    if (count > 0 && words == nullptr) return 1;
    const auto &state = State();
    return PerElement(
        start, count,
        [&](int32_t, uint16_t index) {
            return Request(command::kReadI2CWord, I2CValue(state.i2cDeviceAddress, state.i2cOption),
                           index, 2);
        },
        [&](int32_t i, const uint8_t *answer) {
            words[i] = static_cast<uint16_t>(answer[0] | (answer[1] << 8));
        });
}
