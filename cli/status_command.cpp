// velorinctl status: identity, board kind and the ports, decoded.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/board_session.h"
#include "cli/commands.h"
#include "velorin.h"

namespace velorin::cli {

namespace {

constexpr const char *kNoBoard = "No board found: is an emulated or real board running?";

bool IsFourBlockBoard(uint8_t id) {
    return (id & 0x0C) != 0;
}

std::string Hex(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", value);
    return text;
}

void RunStatus(Context &context, bool json) {
    BoardSession session(context);
    if (!session.IsOpen()) {
        context.err << kNoBoard << "\n";
        context.exitCode = 1;
        return;
    }
    uint8_t id = 0, port0 = 0, port1 = 0, port3 = 0;
    if (Velorin_GetEvmId(&id) != 0 || Velorin_ReadPort(0, &port0) != 0 ||
        Velorin_ReadPort(1, &port1) != 0 || Velorin_ReadPort(3, &port3) != 0) {
        context.err << "Error reading from Velorin Eval board\n";
        context.exitCode = 1;
        return;
    }
    const bool fourBlocks = IsFourBlockBoard(id);
    const int blocks = fourBlocks ? 4 : 3;
    nlohmann::json result;
    result["id"] = id;
    result["boardKind"] = fourBlocks ? "four-block" : "three-block";
    result["ports"] = {{"0", port0}, {"1", port1}, {"3", port3}};
    result["powerOn"] = (port0 & 0x02) == 0;
    nlohmann::json blockList = nlohmann::json::array();
    for (int block = 0; block < blocks; ++block) {
        // Termination bits of a three-block board start one bit higher.
        int terminationBit = fourBlocks ? 4 + block : 5 + block;
        blockList.push_back({{"block", std::string(1, static_cast<char>('A' + block))},
                             {"terminated", ((port0 >> terminationBit) & 1) != 0},
                             {"outputEnabled", ((port1 >> (1 + 2 * block)) & 1) != 0},
                             {"supplyFault", ((port3 >> block) & 1) != 0}});
    }
    result["blocks"] = blockList;

    if (json) {
        context.out << result.dump(2) << "\n";
        return;
    }
    context.out << "Board identity: " << Hex(id) << " (" << result["boardKind"].get<std::string>()
                << " board)\n";
    context.out << "Ports: 0 = " << Hex(port0) << ", 1 = " << Hex(port1) << ", 3 = " << Hex(port3)
                << "\n";
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
