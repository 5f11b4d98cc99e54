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
#include "core/scpi/parameter_values.h"
#include "core/scpi/program_message.h"
#include "core/scpi/scpi_error.h"

namespace velorin::core::scpi {

class Instrument;

enum class BoardUse {
    None,       // runs without the board
    IfPresent,  // reopens a lost board first, runs whether or not one answers
    Needs,      // reopens a lost board first; without one: -241
};

// What else the instrument must know of a command.
enum CommandTraits : unsigned {
    kPlain = 0,
    kChangesState = 1u << 0,  // the state is restored when a board call of the command fails
    kProtected = 1u << 1,     // changes what survives a power cycle: refused unless allowed
    kIndefinite = 1u << 2,    // answers arbitrary ASCII data, which must end the answers
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
    // "HEADER? MIN|MAX|DEF": true when the query named a limit, which is then answered in the
    // form `format` gives (or refused); false for the plain query.
    bool AnswerLimit(const NumericRange &range, std::string (*format)(double));
    // A number of the range from the first parameter; nothing, with the error set, otherwise.
    std::optional<double> Number(const NumericRange &range);
};

// Answers in the forms SCPI gives them: whole numbers as NR1, quantities in NR3.
std::string FormatWhole(double value);

using CommandHandler = void (*)(CommandContext &);

struct CommandDef {
    const char *header;
    bool query;
    int minParameters;
    int maxParameters;
    BoardUse board;
    unsigned traits;
    CommandHandler handler;

    bool changesState() const { return (traits & kChangesState) != 0; }
    bool protectedWrite() const { return (traits & kProtected) != 0; }
    bool indefinite() const { return (traits & kIndefinite) != 0; }
};

std::span<const CommandDef> InstrumentCommands();
// The table's headers, in the table's order.
const CommandTree &InstrumentCommandTree();

}  // namespace velorin::core::scpi
