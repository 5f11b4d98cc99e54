#include "core/trace/traffic_table.h"

#include <cstdio>

#include "core/base/hex_text.h"
#include "core/trace/call_decoding.h"

namespace velorin::core {

namespace {

constexpr std::array<const char *, kTrafficColumnCount> kTitles = {
    "Time (ms)", "Block", "Call", "Meaning", "Command", "Value", "Index", "Answer", "Result"};

// Three decimals with a point whatever the process locale (the toolkit switches LC_NUMERIC to
// the user's), so that the CSV file reads the same everywhere.
std::string Milliseconds(std::chrono::steady_clock::time_point time,
                         std::chrono::steady_clock::time_point origin) {
    const long long us =
        std::chrono::duration_cast<std::chrono::microseconds>(time - origin).count();
    const unsigned long long magnitude =
        us < 0 ? 0ULL - static_cast<unsigned long long>(us) : static_cast<unsigned long long>(us);
    char text[32];
    std::snprintf(text, sizeof(text), "%s%llu.%03llu", us < 0 ? "-" : "", magnitude / 1000,
                  magnitude % 1000);
    return text;
}

std::string RequestCell(const BoardCall &call, TrafficColumn column) {
    const auto request = CallRequests(call);
    if (!request) return std::string();
    const BoardRequestFields &first = request->first;
    switch (column) {
        case TrafficColumn::Command:
            return FormatHex(first.command, 2);
        case TrafficColumn::Value:
            // Each request of a longer write carries its own data byte.
            if (request->count > 1 && first.command == 0x93)
                return FormatHex(first.value >> 8, 2) + "xx";
            return FormatHex(first.value, 4);
        default: {
            std::string index = FormatHex(first.index, 4);
            if (request->count > 1)
                index +=
                    "-" + FormatHex(static_cast<uint16_t>(first.index + request->count - 1), 4);
            return index;
        }
    }
}

std::string Answer(const BoardCall &call) {
    if (!call.ok || call.kind == CallKind::WriteI2C) return std::string();
    std::string text;
    for (unsigned char byte : call.bytes) {
        if (!text.empty()) text += ' ';
        text += FormatHex(byte, 2);
    }
    return text;
}

std::string Result(const BoardCall &call) {
    return call.ok ? "ok" : "failed: " + CallExport(call) + " returned 1";
}

std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

template <typename Cell>
std::string Line(Cell cell, const char *separator) {
    std::string line;
    for (size_t c = 0; c < kTrafficColumnCount; ++c) {
        if (c > 0) line += separator;
        line += cell(static_cast<TrafficColumn>(c));
    }
    return line;
}

}  // namespace

const char *TrafficColumnTitle(TrafficColumn column) {
    return kTitles[static_cast<size_t>(column)];
}

std::string TrafficCell(const BoardCall &call, TrafficColumn column,
                        std::chrono::steady_clock::time_point origin) {
    switch (column) {
        case TrafficColumn::Time:
            return Milliseconds(call.time, origin);
        case TrafficColumn::Block: {
            const int block = CallBlock(call);
            return block >= 0 ? std::string(1, static_cast<char>('A' + block)) : std::string();
        }
        case TrafficColumn::Call:
            return CallText(call);
        case TrafficColumn::Meaning:
            return CallMeaning(call);
        case TrafficColumn::Command:
        case TrafficColumn::Value:
        case TrafficColumn::Index:
            return RequestCell(call, column);
        case TrafficColumn::Answer:
            return Answer(call);
        case TrafficColumn::Result:
            return Result(call);
    }
    return std::string();
}

std::string TrafficCsv(const TrafficView &view) {
    std::string csv =
        Line([](TrafficColumn c) { return CsvField(TrafficColumnTitle(c)); }, ",") + "\r\n";
    const auto origin = view.Log().Origin();
    for (size_t row = 0; row < view.Size(); ++row) {
        if (!view.Kept(row)) continue;
        csv += Line(
            [&](TrafficColumn c) { return CsvField(TrafficCell(view.Row(row), c, origin)); }, ",");
        csv += "\r\n";
    }
    return csv;
}

std::string TrafficRowsText(const TrafficView &view, std::span<const size_t> rows) {
    std::string text;
    const auto origin = view.Log().Origin();
    for (size_t row : rows) {
        if (!view.Kept(row)) continue;
        text += Line([&](TrafficColumn c) { return TrafficCell(view.Row(row), c, origin); }, "\t");
        text += "\n";
    }
    return text;
}

std::string TraceLine(const BoardCall &call, std::chrono::steady_clock::time_point origin) {
    std::string line = "+" + Milliseconds(call.time, origin) + " ms " + CallText(call) + " -> ";
    line += call.ok ? "ok" : "FAILED (returned 1)";
    const std::string answer = Answer(call);
    if (!answer.empty()) line += " " + answer;
    if (CallRequests(call)) {
        line += "  [" + RequestCell(call, TrafficColumn::Command) + " " +
                RequestCell(call, TrafficColumn::Value) + " " +
                RequestCell(call, TrafficColumn::Index) + "]";
    }
    line += "  ";
    const int block = CallBlock(call);
    if (block >= 0) line += std::string("block ") + static_cast<char>('A' + block) + ": ";
    return line + CallMeaning(call);
}

}  // namespace velorin::core
