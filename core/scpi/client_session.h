// What the instrument keeps for each connected client: its selected block, its status model,
// where its headers continue from and the program message it is running.
#pragma once

#include <string>
#include <vector>

#include "core/scpi/client_status.h"
#include "core/scpi/status_registers.h"

namespace velorin::core::scpi {

// A program message under way: its units run one at a time, so that other clients' units can
// run between them; the answers are sent together when the last unit has run.
struct RunningMessage {
    std::vector<std::string> units;
    size_t next = 0;
    std::string answers;
    bool indefinite = false;  // an arbitrary ASCII response was given: it must end the answers
};

struct ClientSession {
    int block = 0;  // 0-3, A-D
    ClientStatus status;
    StatusRegisters registers;      // STATus:OPERation and STATus:QUEStionable
    std::vector<std::string> path;  // the current node of the header tree
    RunningMessage message;
    unsigned resetsSeen = 0;  // the instrument's reset count when this client last ran a unit

    bool Running() const { return message.next < message.units.size(); }
};

}  // namespace velorin::core::scpi
