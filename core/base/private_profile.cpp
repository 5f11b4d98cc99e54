#include "core/base/private_profile.h"

namespace velorin::core {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// The name of a "[name]" header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const size_t close = line.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && line.front() == ';';
}

// Key and value of a "key=value" line; comments and lines without '=' have none.
bool SplitEntry(std::string_view line, std::string_view &key, std::string_view &value) {
    if (IsComment(line) || SectionName(line)) return false;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return true;
}

}  // namespace

PrivateProfile PrivateProfile::Parse(std::string_view text) {
    PrivateProfile profile;
    size_t start = 0;
    while (start < text.size()) {
        size_t next = text.find('\n', start);
        next = next == std::string_view::npos ? text.size() : next + 1;
        size_t end = next;
        if (end > start && text[end - 1] == '\n') --end;
        if (end > start && text[end - 1] == '\r') --end;
        profile.lines_.push_back({std::string(text.substr(start, end - start)),
                                  std::string(text.substr(end, next - end))});
        start = next;
    }
    return profile;
}

void PrivateProfile::EndLine(size_t index) {
    std::string &terminator = lines_[index].terminator;
    if (terminator.empty() || terminator.back() != '\n') terminator = kLineEnd;
}

std::optional<size_t> PrivateProfile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view text = lines_[i].text;
        // A byte-order mark in front of the first header does not belong to its name.
        if (i == 0 && text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            text.remove_prefix(kUtf8Bom.size());
        const auto name = SectionName(text);
        if (name && SameName(*name, section)) return i;
    }
    return std::nullopt;
}

std::optional<size_t> PrivateProfile::FindKey(size_t header, std::string_view key) const {
    for (size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
        std::string_view name, value;
        if (SplitEntry(lines_[i].text, name, value) && SameName(name, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> PrivateProfile::GetValue(std::string_view section,
                                                    std::string_view key) const {
    const auto header = FindSection(section);
    if (!header) return std::nullopt;
    const auto entry = FindKey(*header, key);
    if (!entry) return std::nullopt;
    std::string_view name, value;
    SplitEntry(lines_[*entry].text, name, value);
    return std::string(value);
}

void PrivateProfile::SetValue(std::string_view section, std::string_view key,
                              std::string_view value) {
    const auto header = FindSection(section);
    if (!header) {
        if (!lines_.empty()) EndLine(lines_.size() - 1);
        lines_.push_back({"[" + std::string(section) + "]", std::string(kLineEnd)});
        lines_.push_back({std::string(key) + "=" + std::string(value), std::string(kLineEnd)});
        return;
    }
    if (const auto entry = FindKey(*header, key)) {
        Line &line = lines_[*entry];
        // Keep the key as it is spelt in the file; only the value changes.
        line.text = line.text.substr(0, line.text.find('=') + 1) + std::string(value);
        EndLine(*entry);
        return;
    }
    // After the section's last entry, so that blank lines and comments before the next header
    // stay where they are.
    size_t after = *header;
    for (size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i].text); ++i) {
        if (!Trim(lines_[i].text).empty() && !IsComment(lines_[i].text)) after = i;
    }
    EndLine(after);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1),
                  Line{std::string(key) + "=" + std::string(value), std::string(kLineEnd)});
}

std::string PrivateProfile::Serialize() const {
    std::string text;
    for (const Line &line : lines_) {
        text += line.text;
        text += line.terminator;
    }
    return text;
}

}  // namespace velorin::core
