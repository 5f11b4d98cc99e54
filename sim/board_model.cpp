#include "sim/board_model.h"

namespace velorin::sim {

namespace {
constexpr uint8_t kPowerOffBit = 0x02;  // port 0, active low
constexpr int kStatusPort = 3;
}  // namespace

BoardModel::BoardModel(BoardKind kind) : kind_(kind) {
    // As the board comes up: on-board power off, nothing terminated or enabled.
    ports_[0] = kPowerOffBit;
}

uint8_t BoardModel::Port(int port) const {
    if (port != kStatusPort) return ports_.at(static_cast<size_t>(port));
    // Supply status: a block's bit is 1 while the board's power is off or its supply faults.
    const bool powerOff = (ports_[0] & kPowerOffBit) != 0;
    uint8_t status = 0;
    for (int block = 0; block < 4; ++block) {
        if (powerOff || supplyFault_[block]) status |= static_cast<uint8_t>(1 << block);
    }
    return status;
}

void BoardModel::SetPort(int port, uint8_t value) {
    ports_.at(static_cast<size_t>(port)) = value;
}

void BoardModel::SetSupplyFault(int block, bool fault) {
    supplyFault_.at(static_cast<size_t>(block)) = fault;
}

std::optional<int> BoardModel::BlockOf(uint8_t command, uint8_t base) const {
    if ((command & 0x0F) != base) return std::nullopt;
    int high = command >> 4;
    if (high < 0xA || high > 0xD) return std::nullopt;
    int block = high - 0xA;
    if (block >= BlockCount()) return std::nullopt;
    return block;
}

BoardAnswer BoardModel::Handle(const WireRequest &request) {
    BoardAnswer answer;
    answer.completed = true;
    const uint8_t low = static_cast<uint8_t>(request.value & 0xFF);
    switch (request.command) {
        case 0xBF:  // identity
            answer.bytes[0] = Identity();
            return answer;
        case 0x96:  // read port
            if (request.index >= kPortCount) return {};
            answer.bytes[0] = Port(request.index);
            return answer;
        case 0x97:  // write port; the status port is read-only
            if (request.index >= kPortCount || request.index == kStatusPort) return {};
            ports_[request.index] = low;
            return answer;
        case 0xA0:  // stage one register byte
            if (request.index >= staging_.size()) return {};
            staging_[request.index] = low;
            return answer;
        case 0xA1: {  // read-back command
            if (request.index >= BlockCount()) return {};
            readBack_ = Chip(request.index).ReadBackBuffer();
            return answer;
        }
        case 0xA7:  // fetch one read-back byte
            if (request.index >= readBack_.size()) return {};
            answer.bytes[0] = readBack_[request.index];
            return answer;
        case 0xB5:  // unlock
            if (request.index >= BlockCount()) return {};
            Chip(request.index).UnlockCommand();
            return answer;
        case 0x92:  // I2C byte read
            if (!I2CAddressed(request.value)) return {};
            answer.bytes[0] = eeprom_.Read(request.index);
            return answer;
        case 0x93:  // I2C byte write
            if (!I2CAddressed(request.value)) return {};
            eeprom_.Write(request.index, low);
            return answer;
        case 0x9A:  // word transfer set-up
            wordDevice_ = static_cast<uint16_t>(request.value >> 8);
            return answer;
        case 0x98: {  // I2C word read: word N is bytes 2N and 2N + 1, little-endian
            if (wordDevice_ != kI2CDevice) return {};
            auto address = static_cast<uint16_t>(request.index * 2);
            answer.bytes[0] = eeprom_.Read(address);
            answer.bytes[1] = eeprom_.Read(static_cast<uint16_t>(address + 1));
            return answer;
        }
        case 0x99: {  // I2C word write
            if (wordDevice_ != kI2CDevice) return {};
            auto address = static_cast<uint16_t>(request.index * 2);
            eeprom_.Write(address, low);
            eeprom_.Write(static_cast<uint16_t>(address + 1),
                          static_cast<uint8_t>(request.value >> 8));
            return answer;
        }
        case 0x95:  // hardware address, 0xB0 serial data bits, 0xB1 scan-out: accepted
        case 0xB0:
        case 0xB1:
            return answer;
        default:
            break;
    }
    if (auto block = BlockOf(request.command, 0x2)) {
        Chip(*block).CommitToRam(staging_);
        return answer;
    }
    if (auto block = BlockOf(request.command, 0x3)) {
        Chip(*block).CommandWord(request.index, low);
        return answer;
    }
    return {};
}

}  // namespace velorin::sim
