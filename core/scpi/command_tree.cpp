#include "core/scpi/command_tree.h"

namespace velorin::core::scpi {

int CommandTree::Add(std::string_view pattern, bool query) {
    Entry entry;
    entry.nodes = ParseHeaderPattern(pattern);
    entry.query = query;
    entry.common = !pattern.empty() && pattern.front() == '*';
    entries_.push_back(std::move(entry));
    return static_cast<int>(entries_.size()) - 1;
}

std::optional<CommandTree::Found> CommandTree::Resolve(const ProgramUnit &unit,
                                                       std::vector<std::string> &path) const {
    std::vector<std::string> full;
    if (!unit.common && !unit.absolute) full = path;
    full.insert(full.end(), unit.mnemonics.begin(), unit.mnemonics.end());
    auto found = Find(unit, full);
    if (found && !unit.common) {
        full.pop_back();
        path = std::move(full);
    }
    return found;
}

std::optional<CommandTree::Found> CommandTree::Find(const ProgramUnit &unit,
                                                    const std::vector<std::string> &full) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry &entry = entries_[i];
        if (entry.query != unit.query || entry.common != unit.common) continue;
        auto suffixes = MatchHeader(entry.nodes, full);
        if (suffixes) return Found{static_cast<int>(i), std::move(*suffixes)};
    }
    return std::nullopt;
}

}  // namespace velorin::core::scpi
