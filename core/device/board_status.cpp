#include "core/device/board_status.h"

#include <string>

#include "core/device/board_ports.h"

namespace velorin::core {

std::optional<BoardStatus> ReadBoardStatus(Board &board) {
    BoardStatus status;
    if (!board.GetEvmId(status.id) || !board.ReadPort(kControlPort, status.port0) ||
        !board.ReadPort(kEnablePort, status.port1) || !board.ReadPort(kSupplyPort, status.port3)) {
        return std::nullopt;
    }
    return status;
}

nlohmann::json BoardStatusJson(const BoardStatus &status) {
    const bool fourBlocks = IsFourBlockBoard(status.id);
    const int blocks = fourBlocks ? 4 : 3;
    nlohmann::json result;
    result["id"] = status.id;
    result["boardKind"] = fourBlocks ? "four-block" : "three-block";
    result["ports"] = {{"0", status.port0}, {"1", status.port1}, {"3", status.port3}};
    result["powerOn"] = (status.port0 & kPowerOffBit) == 0;
    nlohmann::json blockList = nlohmann::json::array();
    for (int block = 0; block < blocks; ++block) {
        blockList.push_back(
            {{"block", std::string(1, static_cast<char>('A' + block))},
             {"terminated", (status.port0 & TerminationBitForBoard(block, fourBlocks)) != 0},
             {"outputEnabled", (status.port1 & OutputEnableBit(block)) != 0},
             {"supplyFault", (status.port3 & SupplyStatusBit(block)) != 0}});
    }
    result["blocks"] = blockList;
    return result;
}

}  // namespace velorin::core
