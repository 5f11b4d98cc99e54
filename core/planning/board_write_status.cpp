#include "core/planning/board_write_status.h"

namespace velorin::core {

namespace {

bool PerBlock(BoardWrite kind) {
    return kind == BoardWrite::Chip || kind == BoardWrite::Termination ||
           kind == BoardWrite::OutputEnable;
}

// "block A", "blocks A and C", "blocks A, B and D".
std::string BlockList(uint8_t blocks) {
    std::string names;
    int count = 0;
    for (int b = 0; b < 4; ++b) count += (blocks >> b) & 1;
    int written = 0;
    for (int b = 0; b < 4; ++b) {
        if (((blocks >> b) & 1) == 0) continue;
        if (written > 0) names += written + 1 == count ? " and " : ", ";
        names += static_cast<char>('A' + b);
        ++written;
    }
    return (count > 1 ? "blocks " : "block ") + names;
}

std::string Sentence(BoardWrite kind, uint8_t blocks) {
    const std::string which = BlockList(blocks);
    switch (kind) {
        case BoardWrite::Chip:
            return "The chip of " + which + " does not hold the settings shown: the write failed.";
        case BoardWrite::Termination:
            return "The LVPECL termination of " + which + " was not switched.";
        case BoardWrite::OutputEnable:
            return "The output enable of " + which + " was not written.";
        case BoardWrite::Power:
            return "The on-board power was not switched.";
        case BoardWrite::CrystalWrite:
            return "The crystal-frequency record of block B could not be written.";
        case BoardWrite::CrystalRead:
            return "The crystal-frequency record of block B could not be read.";
        case BoardWrite::Poll:
            return "The board does not answer its requests.";
    }
    return {};
}

}  // namespace

void BoardWriteStatus::Record(BoardWrite kind, int block, bool ok) {
    const uint8_t bit = PerBlock(kind) ? static_cast<uint8_t>(1u << (block & 3)) : 1u;
    uint8_t &blocks = failedBlocks_[static_cast<size_t>(kind)];
    blocks = ok ? static_cast<uint8_t>(blocks & ~bit) : static_cast<uint8_t>(blocks | bit);
}

std::string BoardWriteStatus::Message() const {
    std::string message;
    for (int k = 0; k < kKinds; ++k) {
        if (failedBlocks_[static_cast<size_t>(k)] == 0) continue;
        if (!message.empty()) message += ' ';
        message += Sentence(static_cast<BoardWrite>(k), failedBlocks_[static_cast<size_t>(k)]);
    }
    return message;
}

}  // namespace velorin::core
