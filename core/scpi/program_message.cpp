#include "core/scpi/program_message.h"

#include <algorithm>

#include "core/base/unit_value.h"

namespace velorin::core::scpi {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsMnemonicChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Where the quoted text starting at `start` ends (one past its closing quote), or npos.
size_t QuoteEnd(std::string_view text, size_t start) {
    const char quote = text[start];
    for (size_t i = start + 1; i < text.size(); ++i) {
        if (text[i] != quote) continue;
        if (i + 1 < text.size() && text[i + 1] == quote) {
            ++i;  // a doubled quote stands for one
            continue;
        }
        return i + 1;
    }
    return std::string_view::npos;
}

bool Fail(Error &error, std::string detail) {
    error = Error{kSyntaxError, std::move(detail)};
    return false;
}

bool ParseParameter(std::string_view text, Parameter &parameter, Error &error) {
    text = Trim(text);
    if (text.empty()) return Fail(error, "empty parameter");
    if (text.front() == '"' || text.front() == '\'') {
        const size_t end = QuoteEnd(text, 0);
        if (end == std::string_view::npos) return Fail(error, "unterminated string");
        if (end != text.size()) return Fail(error, "text after a string");
        const char quote = text.front();
        parameter.quoted = true;
        for (size_t i = 1; i + 1 < end; ++i) {
            parameter.text += text[i];
            if (text[i] == quote) ++i;
        }
        return true;
    }
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\'') {
            return Fail(error, "unexpected character in a parameter");
        }
    }
    // White space inside a parameter only between a number and its suffix ("30 MHZ").
    const size_t blank = text.find_first_of(" \t");
    if (blank != std::string_view::npos) {
        const std::string_view suffix = Trim(text.substr(blank));
        const bool letters = std::all_of(suffix.begin(), suffix.end(), IsLetter);
        if (!ParseDecimal(text.substr(0, blank)) || !letters) {
            return Fail(error, "white space inside a parameter");
        }
    }
    parameter.text = std::string(text);
    return true;
}

// The compound header's mnemonics; false when a node is empty or holds a bad character.
bool ParseCompoundHeader(std::string_view header, ProgramUnit &unit, Error &error) {
    if (!header.empty() && header.front() == ':') {
        unit.absolute = true;
        header.remove_prefix(1);
    }
    while (true) {
        const size_t colon = header.find(':');
        const std::string_view node = header.substr(0, colon);
        if (node.empty() || !IsLetter(node.front())) return Fail(error, "bad header");
        for (char c : node) {
            if (!IsMnemonicChar(c)) return Fail(error, "bad header");
        }
        unit.mnemonics.emplace_back(node);
        if (colon == std::string_view::npos) return true;
        header.remove_prefix(colon + 1);
    }
}

}  // namespace

std::vector<std::string_view> SplitUnits(std::string_view line) {
    std::vector<std::string_view> units;
    size_t start = 0;
    size_t i = 0;
    auto add = [&](size_t end) {
        const std::string_view unit = line.substr(start, end - start);
        if (!Trim(unit).empty()) units.push_back(unit);
    };
    while (i < line.size()) {
        const char c = line[i];
        if (c == '"' || c == '\'') {
            const size_t end = QuoteEnd(line, i);
            if (end == std::string_view::npos) break;  // the unit runs to the end of the line
            i = end;
            continue;
        }
        if (c == ';') {
            add(i);
            start = i + 1;
        }
        ++i;
    }
    add(line.size());
    return units;
}

bool ParseUnit(std::string_view text, ProgramUnit &unit, Error &error) {
    unit = ProgramUnit{};
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    std::string_view header = text.substr(0, end);
    const std::string_view rest = text.substr(end);

    if (!header.empty() && header.back() == '?') {
        unit.query = true;
        header.remove_suffix(1);
    }
    if (!header.empty() && header.front() == '*') {
        unit.common = true;
        if (header.size() < 2) return Fail(error, "bad header");
        for (char c : header.substr(1)) {
            if (!IsLetter(c)) return Fail(error, "bad header");
        }
        unit.mnemonics.emplace_back(header);
    } else if (!ParseCompoundHeader(header, unit, error)) {
        return false;
    }

    const std::string_view parameters = Trim(rest);
    if (parameters.empty()) return true;
    size_t start = 0;
    size_t i = 0;
    while (i <= parameters.size()) {
        if (i < parameters.size() && (parameters[i] == '"' || parameters[i] == '\'')) {
            const size_t close = QuoteEnd(parameters, i);
            if (close == std::string_view::npos) return Fail(error, "unterminated string");
            i = close;
            continue;
        }
        if (i == parameters.size() || parameters[i] == ',') {
            Parameter parameter;
            if (!ParseParameter(parameters.substr(start, i - start), parameter, error)) {
                return false;
            }
            unit.parameters.push_back(std::move(parameter));
            start = i + 1;
        }
        ++i;
    }
    return true;
}

}  // namespace velorin::core::scpi
