#include "core/scpi/header_pattern.h"

#include <cctype>
#include <charconv>

#include "core/base/ascii_text.h"

namespace velorin::core::scpi {

namespace {

bool Match(const std::vector<HeaderNode> &pattern, size_t node,
           const std::vector<std::string> &mnemonics, size_t typed, std::vector<int> &suffixes) {
    if (node == pattern.size()) return typed == mnemonics.size();
    const HeaderNode &n = pattern[node];
    int suffix = 1;
    if (typed < mnemonics.size() && MatchNode(n, mnemonics[typed], suffix)) {
        suffixes[node] = suffix;
        if (Match(pattern, node + 1, mnemonics, typed + 1, suffixes)) return true;
    }
    if (!n.optional) return false;
    suffixes[node] = 1;
    return Match(pattern, node + 1, mnemonics, typed, suffixes);
}

}  // namespace

std::vector<HeaderNode> ParseHeaderPattern(std::string_view pattern) {
    std::vector<HeaderNode> nodes;
    bool optional = false;
    std::string word;
    auto flush = [&] {
        if (word.empty()) return;
        HeaderNode node;
        if (word.back() == '#') {
            node.takesSuffix = true;
            word.pop_back();
        }
        for (char c : word) {
            if (std::isupper(static_cast<unsigned char>(c)) || c == '*') node.shortForm += c;
        }
        node.longForm = Upper(word);
        node.optional = optional;
        nodes.push_back(std::move(node));
        word.clear();
    };
    for (char c : pattern) {
        if (c == '[') {
            flush();
            optional = true;
        } else if (c == ']') {
            flush();
            optional = false;
        } else if (c == ':') {
            flush();
        } else {
            word += c;
        }
    }
    flush();
    return nodes;
}

bool MatchNode(const HeaderNode &node, std::string_view mnemonic, int &suffix) {
    size_t digits = mnemonic.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(mnemonic[digits - 1]))) --digits;
    std::string_view name = mnemonic;
    suffix = 1;
    if (digits < mnemonic.size() && node.takesSuffix) {
        name = mnemonic.substr(0, digits);
        const auto digitsText = mnemonic.substr(digits);
        int value = 0;
        const auto [end, error] =
            std::from_chars(digitsText.data(), digitsText.data() + digitsText.size(), value);
        if (error != std::errc() || end != digitsText.data() + digitsText.size() || value < 1) {
            return false;
        }
        suffix = value;
    }
    const std::string upper = Upper(name);
    return upper == node.shortForm || upper == node.longForm;
}

std::optional<std::vector<int>> MatchHeader(const std::vector<HeaderNode> &pattern,
                                            const std::vector<std::string> &mnemonics) {
    std::vector<int> suffixes(pattern.size(), 1);
    if (!Match(pattern, 0, mnemonics, 0, suffixes)) return std::nullopt;
    return suffixes;
}

}  // namespace velorin::core::scpi
