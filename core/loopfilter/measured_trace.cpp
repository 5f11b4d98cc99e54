#include "core/loopfilter/measured_trace.h"

#include <algorithm>

#include "core/base/file_io.h"

namespace velorin::core {

namespace {

constexpr size_t kQuotedLineLength = 60;

// The fields of a line. A semicolon or a tab separates fields in exports written with a
// decimal comma, so there a comma inside a field is read as the decimal point.
std::vector<std::string> Fields(std::string_view line) {
    const bool commaDecimal = line.find_first_of(";\t") != std::string_view::npos;
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ';' || c == '\t' || (c == ',' && !commaDecimal)) {
            fields.emplace_back();
        } else if (c != '"') {  // quoted fields read as their contents
            fields.back() += (c == ',' ? '.' : c);
        }
    }
    return fields;
}

// A sign or a point alone (a line of dashes) does not start a number.
bool StartsLikeANumber(std::string_view field) {
    size_t i = field.find_first_not_of(' ');
    if (i == std::string_view::npos) return false;
    if (field[i] == '+' || field[i] == '-') ++i;
    if (i < field.size() && field[i] == '.') ++i;
    return i < field.size() && field[i] >= '0' && field[i] <= '9';
}

std::string Quoted(std::string_view line) {
    std::string text(line.substr(0, kQuotedLineLength));
    if (line.size() > kQuotedLineLength) text += "...";
    return "\"" + text + "\"";
}

MeasuredTraceRead Bad(size_t lineNumber, std::string_view line, const std::string &why) {
    MeasuredTraceRead read;
    read.error = "Line " + std::to_string(lineNumber) + " " + Quoted(line) + " " + why + ".";
    return read;
}

}  // namespace

MeasuredTraceRead ReadMeasuredTrace(std::string_view text) {
    MeasuredTraceRead read;
    std::vector<NoisePoint> &points = read.trace.points;
    size_t lineNumber = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string> fields = Fields(line);
        if (!StartsLikeANumber(fields[0])) continue;  // header, comment or blank line

        const auto offset = ReadDecimal(fields[0]);
        const auto dbc = fields.size() > 1 ? ReadDecimal(fields[1]) : std::nullopt;
        if (!offset || !dbc) {
            return Bad(lineNumber, line, "is not two numeric columns (offset in Hz, dBc/Hz)");
        }
        if (!(*offset > 0.0)) return Bad(lineNumber, line, "has an offset that is not positive");
        if (!points.empty() && !(*offset > points.back().offsetHz)) {
            return Bad(lineNumber, line, "does not ascend in offset from the line before");
        }
        points.push_back({*offset, *dbc});
    }
    if (points.size() < 2) {
        read.error = points.empty()
                         ? "There are no lines of two numeric columns (offset in Hz, dBc/Hz)."
                         : "There is only one line of two numeric columns; a trace needs two.";
        points.clear();
    }
    return read;
}

MeasuredTraceRead LoadMeasuredTrace(const std::string &path) {
    std::string content, why;
    const ReadFileResult result = ReadWholeFile(path, content, kMeasuredTraceMaxBytes, &why);
    MeasuredTraceRead read;
    if (result != ReadFileResult::Ok) {
        read.error = result == ReadFileResult::Missing ? "The file does not exist." : why + ".";
    } else {
        read = ReadMeasuredTrace(content);
    }
    const size_t slash = path.find_last_of('/');
    read.trace.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!read.error.empty()) {
        read.error = "The measured trace " + path + " was not read:\n" + read.error;
    }
    return read;
}

}  // namespace velorin::core
