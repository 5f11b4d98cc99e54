// The headers a command table offers, and the resolution of a typed header against them under
// SCPI's path rule: after ';' a compound header without a leading ':' continues from the node
// of the previous compound header and names a child of it or nothing at all (there is no
// falling back to the root); a leading ':' starts from the root; common commands leave that
// node alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/scpi/header_pattern.h"
#include "core/scpi/program_message.h"

namespace velorin::core::scpi {

class CommandTree {
  public:
    // The command's position in the order of addition; a query and a setting of the same
    // header are two commands.
    int Add(std::string_view pattern, bool query);

    struct Found {
        int command = -1;
        std::vector<int> suffixes;  // per node of the pattern
    };

    // The command the unit names. `path` is the current node (the mnemonics before the leaf of
    // the last compound header); a resolved compound header moves it on.
    std::optional<Found> Resolve(const ProgramUnit &unit, std::vector<std::string> &path) const;

  private:
    std::optional<Found> Find(const ProgramUnit &unit, const std::vector<std::string> &full) const;

    struct Entry {
        std::vector<HeaderNode> nodes;
        bool query = false;
        bool common = false;
    };
    std::vector<Entry> entries_;
};

}  // namespace velorin::core::scpi
