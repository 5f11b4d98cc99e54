#include "core/trace/request_words.h"

#include <array>

#include "core/base/hex_text.h"
#include "core/base/printf_text.h"
#include "core/device/board_eeprom_map.h"
#include "core/device/board_ports.h"
#include "core/device/register_image.h"

namespace velorin::core {

namespace {

// "A, C" for the blocks whose bit is set; `bit` gives a block's bit, 0 when it has none.
template <typename BitOf>
std::string Blocks(uint8_t value, BitOf bit) {
    std::string names;
    for (int block = 0; block < 4; ++block) {
        const uint8_t mask = bit(block);
        if (mask == 0 || (value & mask) == 0) continue;
        if (!names.empty()) names += ", ";
        names += BlockLetter(block);
    }
    return names;
}

// Port 0's termination bits: the main view places them by board kind; before the identity is
// known they are read as bit 4 + block, as the device-settings dialog places them.
uint8_t TerminationMask(int block, BoardKindSeen kind) {
    if (kind == BoardKindSeen::ThreeBlock)
        return block < 3 ? TerminationBitForBoard(block, false) : 0;
    return TerminationBit(block);
}

std::string PortMeaning(uint16_t port, uint8_t value, BoardKindSeen kind) {
    switch (port) {
        case kControlPort: {
            std::string words = (value & kPowerOffBit) != 0 ? "power off" : "power on";
            const std::string terminated =
                Blocks(value, [kind](int block) { return TerminationMask(block, kind); });
            if (!terminated.empty()) words += ", termination " + terminated;
            return words;
        }
        case kEnablePort: {
            const std::string enabled = Blocks(value, OutputEnableBit);
            if (enabled.empty()) return "no output enabled";
            return (enabled.size() == 1 ? "output " : "outputs ") + enabled + " enabled";
        }
        case kSupplyPort: {
            // A three-block board has no block D to name.
            const std::string missing = Blocks(value, [kind](int block) {
                return kind == BoardKindSeen::ThreeBlock && block == 3 ? uint8_t{0}
                                                                       : SupplyStatusBit(block);
            });
            return missing.empty() ? "all supplies present" : "no supply at " + missing;
        }
        default:
            return std::string();
    }
}

std::string PortValue(uint16_t port, uint8_t value, BoardKindSeen kind) {
    std::string words = Printf("0x%02X", value);
    const std::string meaning = PortMeaning(port, value, kind);
    if (!meaning.empty()) words += " (" + meaning + ")";
    return words;
}

uint16_t LastIndex(const RequestView &request) {
    return static_cast<uint16_t>(request.first.index + (request.count > 0 ? request.count - 1 : 0));
}

// "0xB000", or "0xB000-0xB009" for a transfer of several bytes.
std::string Addresses(const RequestView &request) {
    if (request.count <= 1) return Printf("0x%04X", request.first.index);
    return Printf("0x%04X-0x%04X", request.first.index, LastIndex(request));
}

// What the board EEPROM keeps where the program puts it.
std::string EepromRegion(uint8_t device, uint8_t option, uint16_t start) {
    if (device != kBoardEepromDevice) return Printf(" on device 0x%02X", device);
    if (option == kFirmwareOption) return " (firmware)";
    if (option != kDataRecordOption) return Printf(" (option 0x%02X)", option);
    if (start >= kWriteCounterAddress && start < kWriteCounterAddress + 4)
        return Printf(" (write counter, block %c)", BlockLetter(start - kWriteCounterAddress));
    if (start >= kBlockRecordAddress && start < kBlockRecordAddress + 10) return " (block record)";
    if (start >= kCrystalRecordAddress && start < kCrystalRecordAddress + 10)
        return " (crystal record)";
    return " (data records)";
}

uint8_t High(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}
uint8_t Low(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

std::string ReadI2C(const RequestView &r) {
    return "I2C read " + Addresses(r) +
           EepromRegion(High(r.first.value), Low(r.first.value), r.first.index);
}

std::string WriteI2C(const RequestView &r) {
    const std::string data =
        r.count > 1 && !r.data.empty() ? HexBytes(r.data, " ") : Printf("%02X", Low(r.first.value));
    return "I2C write " + Addresses(r) + " = " + data +
           EepromRegion(High(r.first.value), r.i2cOption, r.first.index);
}

std::string SetI2CHWAddress(const RequestView &r) {
    return Printf("set I2C hardware address 0x%04X", r.first.value);
}

std::string ReadPort(const RequestView &r) {
    std::string words = Printf("port %u read", r.first.index);
    if (!r.answer.empty())
        words += ": " + PortValue(r.first.index, static_cast<uint8_t>(r.answer[0]), r.boardKind);
    return words;
}

std::string WritePort(const RequestView &r) {
    return Printf("port %u write ", r.first.index) +
           PortValue(r.first.index, Low(r.first.value), r.boardKind);
}

std::string ReadI2CWord(const RequestView &r) {
    return "I2C word read " + Addresses(r);
}

std::string WriteI2CWord(const RequestView &r) {
    return Printf("I2C word write 0x%04X = 0x%04X", r.first.index, r.first.value);
}

std::string I2CWordSetup(const RequestView &r) {
    return Printf("I2C word transfer set-up, device 0x%02X, option 0x%02X", High(r.first.value),
                  Low(r.first.value));
}

std::string WriteOneWire(const RequestView &r) {
    if (r.first.index < 6) return Printf("stage Byte%u = %02X", r.first.index, Low(r.first.value));
    return Printf("stage register %u = %02X", r.first.index, Low(r.first.value));
}

std::string ReadBack(const RequestView &) {
    return "start read-back";
}

std::string ReadDataBack(const RequestView &r) {
    if (r.count <= 1) return Printf("fetch read-back byte %u", r.first.index);
    return Printf("fetch read-back bytes %u-%u", r.first.index, LastIndex(r));
}

std::string WriteSdataBits(const RequestView &r) {
    return Printf("write SDATA bits 0x%04X", r.first.value);
}

std::string WriteScanout(const RequestView &r) {
    return Printf("write scan-out bits 0x%04X", r.first.value);
}

std::string UnlockEeprom(const RequestView &) {
    return "unlock chip EEPROM";
}

std::string GetEvmId(const RequestView &r) {
    std::string words = "read board identity";
    if (!r.answer.empty()) {
        const auto id = static_cast<uint8_t>(r.answer[0]);
        words +=
            Printf(": 0x%02X (%s board)", id, IsFourBlockBoard(id) ? "four-block" : "three-block");
    }
    return words;
}

std::string WriteToRam(const RequestView &) {
    return "commit word to RAM";
}

// The chip's command words, as the programming sequences use them.
std::string WriteOneWord(const RequestView &r) {
    const uint16_t address = r.first.index;
    const uint8_t value = Low(r.first.value);
    const char *meaning = nullptr;
    if (address == 263 && value == 15) meaning = "program EEPROM from RAM";
    if (address == 263 && value == 170) meaning = "program and lock EEPROM";
    if (address == 7 && value == 0) meaning = "end of EEPROM operation";
    if (address == 7 && value == 255) meaning = "idle";
    if (address == 0 && value == 0) meaning = "unlock, first step";
    std::string words = Printf("command word %u = 0x%02X", address, value);
    if (meaning != nullptr) words += Printf(" (%s)", meaning);
    return words;
}

struct CommandEntry {
    uint8_t command;
    std::string (*words)(const RequestView &);
};

constexpr std::array<CommandEntry, 23> kCommands{{
    {0x92, ReadI2C},      {0x93, WriteI2C},     {0x95, SetI2CHWAddress}, {0x96, ReadPort},
    {0x97, WritePort},    {0x98, ReadI2CWord},  {0x99, WriteI2CWord},    {0x9A, I2CWordSetup},
    {0xA0, WriteOneWire}, {0xA1, ReadBack},     {0xA7, ReadDataBack},    {0xB0, WriteSdataBits},
    {0xB1, WriteScanout}, {0xB5, UnlockEeprom}, {0xBF, GetEvmId},        {0xA2, WriteToRam},
    {0xB2, WriteToRam},   {0xC2, WriteToRam},   {0xD2, WriteToRam},      {0xA3, WriteOneWord},
    {0xB3, WriteOneWord}, {0xC3, WriteOneWord}, {0xD3, WriteOneWord},
}};

const CommandEntry *Find(uint8_t command) {
    for (const auto &entry : kCommands) {
        if (entry.command == command) return &entry;
    }
    return nullptr;
}

bool BlockIndexed(uint8_t command) {
    const unsigned low = command & 0x0Fu, high = command >> 4;
    return (low == 2 || low == 3) && high >= 0xA && high <= 0xD;
}

}  // namespace

std::string RequestWords(const RequestView &request) {
    const CommandEntry *entry = Find(request.first.command);
    if (entry == nullptr) return Printf("unknown command 0x%02X", request.first.command);
    return entry->words(request);
}

int RequestBlock(const RequestView &request) {
    const BoardRequestFields &r = request.first;
    if (BlockIndexed(r.command)) return (r.command >> 4) - 0xA;
    switch (r.command) {
        case 0xA1:  // read-back
        case 0xB5:  // unlock
            return r.index < 4 ? r.index : -1;
        case 0x92:
        case 0x93: {
            const uint8_t option = r.command == 0x92 ? Low(r.value) : request.i2cOption;
            const bool counter = High(r.value) == kBoardEepromDevice &&
                                 option == kDataRecordOption && r.index >= kWriteCounterAddress &&
                                 r.index < kWriteCounterAddress + 4;
            return counter ? r.index - kWriteCounterAddress : -1;
        }
        default:
            return -1;
    }
}

}  // namespace velorin::core
