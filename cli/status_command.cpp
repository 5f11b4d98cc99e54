// velorinctl status: identity, board kind and the ports, decoded.
#include <nlohmann/json.hpp>
#include <string>

#include "cli/board_session.h"
#include "cli/commands.h"
#include "core/device/board_ports.h"
#include "core/base/hex_text.h"

namespace velorin::cli {

namespace {

void RunStatus(Context &context, bool json) {
    BoardSession session(context);
    if (!OpenOrReport(session, context)) return;
    core::Board &board = session.Board();
    uint8_t id = 0, port0 = 0, port1 = 0, port3 = 0;
    if (!board.GetEvmId(id) || !board.ReadPort(core::kControlPort, port0) ||
        !board.ReadPort(core::kEnablePort, port1) || !board.ReadPort(core::kSupplyPort, port3)) {
        context.err << "Error reading from Velorin Eval board\n";
        context.exitCode = 1;
        return;
    }
    const bool fourBlocks = core::IsFourBlockBoard(id);
    const int blocks = fourBlocks ? 4 : 3;
    nlohmann::json result;
    result["id"] = id;
    result["boardKind"] = fourBlocks ? "four-block" : "three-block";
    result["ports"] = {{"0", port0}, {"1", port1}, {"3", port3}};
    result["powerOn"] = (port0 & core::kPowerOffBit) == 0;
    nlohmann::json blockList = nlohmann::json::array();
    for (int block = 0; block < blocks; ++block) {
        blockList.push_back(
            {{"block", std::string(1, static_cast<char>('A' + block))},
             {"terminated", (port0 & core::TerminationBitForBoard(block, fourBlocks)) != 0},
             {"outputEnabled", (port1 & core::OutputEnableBit(block)) != 0},
             {"supplyFault", (port3 & core::SupplyStatusBit(block)) != 0}});
    }
    result["blocks"] = blockList;

    if (json) {
        context.out << result.dump(2) << "\n";
        return;
    }
    context.out << "Board identity: " << core::HexByte(id) << " ("
                << result["boardKind"].get<std::string>() << " board)\n";
    context.out << "Ports: 0 = " << core::HexByte(port0) << ", 1 = " << core::HexByte(port1)
                << ", 3 = " << core::HexByte(port3) << "\n";
    context.out << "On-board power: " << (result["powerOn"].get<bool>() ? "on" : "off") << "\n";
    for (const auto &block : blockList) {
        context.out << "Block " << block["block"].get<std::string>() << ": termination "
                    << (block["terminated"].get<bool>() ? "on" : "off") << ", output "
                    << (block["outputEnabled"].get<bool>() ? "enabled" : "disabled") << ", supply "
                    << (block["supplyFault"].get<bool>() ? "FAULT/off" : "ok") << "\n";
    }
}

}  // namespace

void AddStatusCommand(CLI::App &app, Context &context) {
    auto *command = app.add_subcommand("status", "Show the board's identity, kind and ports");
    auto json = std::make_shared<bool>(false);
    command->add_flag("--json", *json, "Machine-readable output");
    command->callback([&context, json] { RunStatus(context, *json); });
}

}  // namespace velorin::cli
