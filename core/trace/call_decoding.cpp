#include "core/trace/call_decoding.h"

#include <array>
#include <cstdio>

#include "core/base/hex_text.h"
#include "core/device/board_eeprom_map.h"

namespace velorin::core {

namespace {

constexpr std::array<const char *, 14> kCallNames = {
    "OpenUsbDevice", "CloseUsbDevice", "SetI2CDeviceAddress", "WritePort",
    "ReadPort",      "GetEvmId",       "WriteOneWire",        "WriteToRam",
    "WriteOneWord",  "ReadBack",       "UnlockEeprom",        "WriteI2C",
    "ReadI2C",       "ReadDataBack"};

// Longer transfers are cut short in the call's text; their words and answer keep every byte.
constexpr size_t kShownDataBytes = 32;

const char *Name(CallKind kind) {
    return kCallNames[static_cast<size_t>(kind)];
}

// The first `limit` bytes, and " ..." when there are more.
std::string ShownBytes(const std::string &bytes, size_t limit) {
    std::string text = HexBytes(std::string_view(bytes).substr(0, limit), " ");
    if (bytes.size() > limit) text += " ...";
    return text;
}

uint16_t I2CValue(uint8_t address, uint8_t low) {
    return static_cast<uint16_t>(address << 8 | low);
}

std::optional<uint8_t> BlockCommand(uint8_t base, int32_t block) {
    if (block < 0 || block > 3) return std::nullopt;
    return static_cast<uint8_t>(base + 0x10 * block);
}

const char *OptionName(uint8_t option) {
    if (option == kFirmwareOption) return " (firmware)";
    if (option == kDataRecordOption) return " (data records)";
    return "";
}

}  // namespace

std::optional<RequestView> CallRequests(const BoardCall &call) {
    RequestView view;
    view.boardKind = call.boardKind;
    view.i2cOption = call.i2cOption;
    if (call.ok) view.answer = call.bytes;
    BoardRequestFields &r = view.first;
    r.index = call.where;
    switch (call.kind) {
        case CallKind::OpenUsbDevice:
        case CallKind::CloseUsbDevice:
        case CallKind::SetI2CDeviceAddress:
            return std::nullopt;
        case CallKind::WritePort:
            r = {0x97, call.value, call.where};
            break;
        case CallKind::ReadPort:
            r.command = 0x96;
            break;
        case CallKind::GetEvmId:
            r = {0xBF, 0, 0};
            break;
        case CallKind::WriteOneWire:
            r = {0xA0, call.value, call.where};
            break;
        case CallKind::WriteToRam:
        case CallKind::WriteOneWord: {
            const bool ram = call.kind == CallKind::WriteToRam;
            const auto command = BlockCommand(ram ? 0xA2 : 0xA3, call.target);
            if (!command) return std::nullopt;
            r.command = *command;
            r.value = ram ? 0 : call.value;
            r.index = ram ? 0 : call.where;
            break;
        }
        case CallKind::ReadBack:
            r.command = 0xA1;
            break;
        case CallKind::UnlockEeprom:
            r.command = 0xB5;
            break;
        case CallKind::WriteI2C:
        case CallKind::ReadI2C:
        case CallKind::ReadDataBack: {
            if (call.count == 0) return std::nullopt;
            view.count = call.count;
            if (call.kind == CallKind::WriteI2C) {
                view.answer = {};
                view.data = call.bytes;
                const auto first =
                    call.bytes.empty() ? uint8_t{0} : static_cast<uint8_t>(call.bytes[0]);
                r.command = 0x93;
                r.value = I2CValue(call.i2cAddress, first);
            } else if (call.kind == CallKind::ReadI2C) {
                r.command = 0x92;
                r.value = I2CValue(call.i2cAddress, call.i2cOption);
            } else {
                r.command = 0xA7;
            }
            break;
        }
    }
    return view;
}

std::string CallText(const BoardCall &call) {
    char args[96] = "";
    switch (call.kind) {
        case CallKind::OpenUsbDevice:
        case CallKind::CloseUsbDevice:
        case CallKind::GetEvmId:
            break;
        case CallKind::SetI2CDeviceAddress:
            std::snprintf(args, sizeof(args), "address=0x%X, option=%u",
                          static_cast<unsigned>(call.target), call.value);
            break;
        case CallKind::WritePort:
            std::snprintf(args, sizeof(args), "port=%u, value=0x%02X", call.where, call.value);
            break;
        case CallKind::ReadPort:
            std::snprintf(args, sizeof(args), "port=%u", call.where);
            break;
        case CallKind::WriteOneWire:
            std::snprintf(args, sizeof(args), "index=%u, value=0x%02X", call.where, call.value);
            break;
        case CallKind::WriteToRam:
            std::snprintf(args, sizeof(args), "block=%d", call.target);
            break;
        case CallKind::WriteOneWord:
            std::snprintf(args, sizeof(args), "block=%d, address=%u, value=%u", call.target,
                          call.where, call.value);
            break;
        case CallKind::ReadBack:
        case CallKind::UnlockEeprom:
            std::snprintf(args, sizeof(args), "block=%u", call.where);
            break;
        case CallKind::WriteI2C:
        case CallKind::ReadI2C:
            std::snprintf(args, sizeof(args), "start=0x%04X, count=%u", call.where, call.count);
            break;
        case CallKind::ReadDataBack:
            std::snprintf(args, sizeof(args), "start=%u, count=%u", call.where, call.count);
            break;
    }
    std::string text = std::string(Name(call.kind)) + "(" + args;
    if (call.kind == CallKind::WriteI2C)
        text += ", data=" + ShownBytes(call.bytes, kShownDataBytes);
    return text + ")";
}

std::string CallExport(const BoardCall &call) {
    return std::string("Velorin_") + Name(call.kind);
}

std::string CallMeaning(const BoardCall &call) {
    if (const auto request = CallRequests(call)) return RequestWords(*request);
    char text[96];
    switch (call.kind) {
        case CallKind::OpenUsbDevice:
            return "open the board connection";
        case CallKind::CloseUsbDevice:
            return "close the board connection";
        case CallKind::SetI2CDeviceAddress:
            std::snprintf(
                text, sizeof(text), "select I2C device 0x%02X, option 0x%02X%s; nothing sent",
                static_cast<unsigned>(call.target & 0xFF), call.value, OptionName(call.value));
            return text;
        case CallKind::WriteToRam:
        case CallKind::WriteOneWord:
            std::snprintf(text, sizeof(text), "no block %d; nothing sent", call.target);
            return text;
        default:
            return "no bytes; nothing sent";
    }
}

int CallBlock(const BoardCall &call) {
    const auto request = CallRequests(call);
    return request ? RequestBlock(*request) : -1;
}

}  // namespace velorin::core
