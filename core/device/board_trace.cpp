#include "core/device/board_trace.h"

#include <cstdio>
#include <string>

#include "core/base/file_io.h"

namespace velorin::core {

BoardTrace::BoardTrace(size_t capacity)
    : origin_(std::chrono::steady_clock::now()), capacity_(capacity > 0 ? capacity : 1) {}

void BoardTrace::Add(TraceEntry entry) {
    if (entries_.size() == capacity_) {
        entries_.pop_front();
        ++dropped_;
    }
    entries_.push_back(std::move(entry));
    if (sink_) sink_(entries_.back(), FormatLine(entries_.back()));
}

void BoardTrace::Clear() {
    entries_.clear();
    dropped_ = 0;
    origin_ = std::chrono::steady_clock::now();
}

std::string BoardTrace::FormatLine(const TraceEntry &entry) const {
    const double ms = std::chrono::duration<double, std::milli>(entry.time - origin_).count();
    char time[32];
    std::snprintf(time, sizeof(time), "+%.3f ms ", ms);
    std::string line = time + entry.operation + "(" + entry.arguments + ") -> ";
    line += entry.ok ? "ok" : "FAILED";
    if (entry.ok && !entry.output.empty()) line += " " + entry.output;
    return line;
}

std::string BoardTrace::Text() const {
    std::string text;
    if (dropped_ > 0) text += "(" + std::to_string(dropped_) + " earlier calls not kept)\n";
    for (const auto &entry : entries_) text += FormatLine(entry) + "\n";
    return text;
}

bool BoardTrace::Save(const std::string &path, std::string &error) const {
    return WriteFileAtomically(path, Text(), &error);
}

}  // namespace velorin::core
