// Command headers as the command tables write them: "OUTPut[:STATe]", "SYSTem:ERRor[:NEXT]",
// "OUTPut#:TYPE", "*IDN". Capitals are the short form, the whole word the long form; either
// matches in any case. Brackets make a node optional; '#' lets a node take a numeric suffix
// (1 when none is typed).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin::core::scpi {

struct HeaderNode {
    std::string longForm;   // upper case
    std::string shortForm;  // upper case
    bool optional = false;
    bool takesSuffix = false;
};

std::vector<HeaderNode> ParseHeaderPattern(std::string_view pattern);

// Whether one typed mnemonic names the node; `suffix` gets its numeric suffix.
bool MatchNode(const HeaderNode &node, std::string_view mnemonic, int &suffix);

// The numeric suffixes of the nodes (1 where none was typed or the node was left out) when the
// typed mnemonics name the pattern, nothing otherwise.
std::optional<std::vector<int>> MatchHeader(const std::vector<HeaderNode> &pattern,
                                            const std::vector<std::string> &mnemonics);

}  // namespace velorin::core::scpi
