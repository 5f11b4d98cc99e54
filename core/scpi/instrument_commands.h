// The instrument's command table: each header with its parameter count, its use of the board
// and its handler. Handlers check every parameter before they change anything, so a refused
// command leaves the state as it was.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/scpi/client_session.h"
#include "core/scpi/command_tree.h"
#include "core/scpi/program_message.h"
#include "core/scpi/scpi_error.h"

namespace velorin::core::scpi {

class Instrument;

enum class BoardUse {
    None,   // runs without the board
    Probe,  // reopens a lost board first, runs whether or not one answers
    Needs,  // reopens a lost board first; without one: -241
};

struct CommandContext {
    Instrument &instrument;
    ClientSession &client;
    const std::vector<Parameter> &parameters;
    std::optional<std::string> answer;
    std::optional<Error> error;

    int Block() const { return client.block; }
    void Answer(std::string text) { answer = std::move(text); }
    void Refuse(int code, std::string detail = {}) { error = Error{code, std::move(detail)}; }
};

using CommandHandler = void (*)(CommandContext &);

struct CommandDef {
    const char *header;
    bool query;
    int minParameters;
    int maxParameters;
    BoardUse board;
    bool changesState;  // the state is restored when a board call of the command fails
    CommandHandler handler;
};

std::span<const CommandDef> InstrumentCommands();
// The table's headers, in the table's order.
const CommandTree &InstrumentCommandTree();

}  // namespace velorin::core::scpi
