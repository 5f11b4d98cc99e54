// velorinctl status: identity, board kind and the ports, decoded.
#include <nlohmann/json.hpp>
#include <string>

#include "cli/board_session.h"
#include "cli/commands.h"
#include "core/base/hex_text.h"
#include "core/device/board_status.h"

namespace velorin::cli {

namespace {

void RunStatus(Context &context, bool json) {
    BoardSession session(context);
    if (!OpenOrReport(session, context)) return;
    const auto status = core::ReadBoardStatus(session.Board());
    if (!status) {
        context.err << "Error reading from Velorin Eval board\n";
        context.exitCode = 1;
        return;
    }
    const nlohmann::json result = core::BoardStatusJson(*status);
    const nlohmann::json &blockList = result["blocks"];

    if (json) {
        context.out << result.dump(2) << "\n";
        return;
    }
    context.out << "Board identity: " << core::HexByte(status->id) << " ("
                << result["boardKind"].get<std::string>() << " board)\n";
    context.out << "Ports: 0 = " << core::HexByte(status->port0)
                << ", 1 = " << core::HexByte(status->port1)
                << ", 3 = " << core::HexByte(status->port3) << "\n";
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
