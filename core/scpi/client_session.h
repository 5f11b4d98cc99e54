// What the instrument keeps for each connected client: its selected block, its status model
// and where its headers continue from.
#pragma once

#include <string>
#include <vector>

#include "core/scpi/client_status.h"

namespace velorin::core::scpi {

struct ClientSession {
    int block = 0;  // 0-3, A-D
    ClientStatus status;
    std::vector<std::string> path;  // the current node of the header tree
};

}  // namespace velorin::core::scpi
