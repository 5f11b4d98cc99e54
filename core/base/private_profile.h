// An initialisation ("private profile") file held as its lines, so that one key can be looked up
// or replaced while every other byte of the file stays as it was.
//
// Lines are "[section]" headers, "key=value" entries and anything else (";" comments, blank lines,
// text without '='), which is kept but has no meaning. Section and key names are matched without
// regard to ASCII letter case; names and values are taken without surrounding blanks. The first
// matching section and key win. Lines may end in CRLF, LF or nothing; lines that are added or
// rewritten end in CRLF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin::core {

class PrivateProfile {
  public:
    // Takes any bytes; never fails. An empty text is an empty profile.
    static PrivateProfile Parse(std::string_view text);

    bool HasSection(std::string_view section) const { return FindSection(section).has_value(); }
    std::optional<std::string> GetValue(std::string_view section, std::string_view key) const;

    // Replaces the value of the first matching key, adds the key at the end of the first matching
    // section, or appends the section with the key. Names and values must not hold line ends.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes: unchanged lines exactly as parsed.
    std::string Serialize() const;

    size_t LineCount() const { return lines_.size(); }

  private:
    struct Line {
        std::string text;        // without the line end
        std::string terminator;  // "\r\n" or "\n"; "\r" or "" on the last line
    };

    // Index of the header line of the first section with this name.
    std::optional<size_t> FindSection(std::string_view section) const;
    // Index of the first entry line with this key inside the section that starts at header.
    std::optional<size_t> FindKey(size_t header, std::string_view key) const;
    // Gives the line a CRLF end unless it already ends in a line feed.
    void EndLine(size_t index);

    std::vector<Line> lines_;
};

}  // namespace velorin::core
