// velorinctl power, terminate, output-enable, readback-mode and port: the device-settings
// dialog's switches and raw port access.
#include <memory>
#include <string>

#include "cli/board_arguments.h"
#include "cli/board_command.h"
#include "cli/commands.h"
#include "core/base/hex_text.h"
#include "core/device/port_switches.h"

namespace velorin::cli {

namespace {

struct SwitchOptions {
    std::string block;
    std::string state;
};

void AddBlockSwitch(CLI::App &app, Context &context, const char *name, const char *description,
                    core::SequenceResult (*apply)(core::Board &, int, bool)) {
    auto options = std::make_shared<SwitchOptions>();
    auto *command = app.add_subcommand(name, description);
    AddBlockOption(command, options->block);
    AddSwitchArgument(command, "state", options->state, "on or off");
    command->callback([&context, options, apply, name] {
        WithOpenBoard(context, [&](core::Board &board) {
            const int block = *ParseBlock(options->block);
            FinishSequence(context, apply(board, block, options->state == "on"), name);
        });
    });
}

void AddPowerCommand(CLI::App &app, Context &context) {
    auto state = std::make_shared<std::string>();
    auto *command = app.add_subcommand("power", "Switch the on-board power (port 0 bit 1)");
    AddSwitchArgument(command, "state", *state, "on or off");
    command->callback([&context, state] {
        WithOpenBoard(context, [&](core::Board &board) {
            FinishSequence(context, core::SwitchPower(board, *state == "on"), "power");
        });
    });
}

void AddReadBackModeCommand(CLI::App &app, Context &context) {
    auto block = std::make_shared<std::string>();
    auto *command = app.add_subcommand("readback-mode", "Put the block's chip into read-back mode");
    AddBlockOption(command, *block);
    command->callback([&context, block] {
        WithOpenBoard(context, [&](core::Board &board) {
            FinishSequence(context, core::StartReadBackMode(board, *ParseBlock(*block)),
                           "readback-mode");
        });
    });
}

struct PortOptions {
    std::string port;
    std::string value;
};

void AddPortCommand(CLI::App &app, Context &context) {
    auto *port = app.add_subcommand("port", "Read or write a board port byte");
    port->require_subcommand(1);
    auto options = std::make_shared<PortOptions>();
    const auto portCheck = CLI::Validator(
        [](const std::string &v) {
            return ParseNumber(v, 0xFFFF) ? std::string() : "not a port number: " + v;
        },
        "PORT");

    auto *read = port->add_subcommand("read", "Print the port's byte");
    read->add_option("port", options->port, "Port number")->required()->check(portCheck);
    read->callback([&context, options] {
        WithOpenBoard(context, [&](core::Board &board) {
            uint8_t value = 0;
            const auto number = static_cast<uint16_t>(*ParseNumber(options->port, 0xFFFF));
            if (!board.ReadPort(number, value)) {
                context.err << "Error reading from Velorin Eval board\n";
                context.exitCode = 1;
                return;
            }
            context.out << core::HexByte(value) << "\n";
        });
    });

    auto *write = port->add_subcommand("write", "Write a byte to the port");
    write->add_option("port", options->port, "Port number")->required()->check(portCheck);
    write->add_option("value", options->value, "Byte: decimal or 0x hexadecimal")
        ->required()
        ->check(CLI::Validator(
            [](const std::string &v) {
                return ParseNumber(v, 0xFF) ? std::string() : "not a byte: " + v;
            },
            "BYTE"));
    write->callback([&context, options] {
        WithOpenBoard(context, [&](core::Board &board) {
            const auto number = static_cast<uint16_t>(*ParseNumber(options->port, 0xFFFF));
            const auto value = static_cast<uint8_t>(*ParseNumber(options->value, 0xFF));
            if (!board.WritePort(number, value)) {
                context.err << "Error writing to Velorin Eval board\n";
                context.exitCode = 1;
            }
        });
    });
}

}  // namespace

void AddPortCommands(CLI::App &app, Context &context) {
    AddPowerCommand(app, context);
    AddBlockSwitch(app, context, "terminate",
                   "Switch the block's LVPECL termination (port 0 bit 4 + block)",
                   core::SwitchTermination);
    AddBlockSwitch(app, context, "output-enable",
                   "Switch the block's output enable (port 1 bit 1 + 2 x block)",
                   core::SwitchOutputEnable);
    AddReadBackModeCommand(app, context);
    AddPortCommand(app, context);
}

}  // namespace velorin::cli
