// A record of board calls: what was called, with which arguments, what it returned and when.
// The command line prints it as it happens; the program can show it and save it.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace velorin::core {

struct TraceEntry {
    std::chrono::steady_clock::time_point time;  // when the call returned
    std::string operation;                       // "WriteOneWord"
    std::string arguments;                       // "block=1, address=263, value=15"
    bool ok = false;
    std::string output;  // what a successful read produced, as hexadecimal bytes
};

class BoardTrace {
  public:
    using Sink = std::function<void(const TraceEntry &, const std::string &line)>;

    // Keeps the newest `capacity` entries: a trace left on for a long session (the program's
    // poll alone makes ten calls a second) must not grow without bound.
    explicit BoardTrace(size_t capacity = kDefaultCapacity);

    static constexpr size_t kDefaultCapacity = 200000;

    // Called with every entry as it is added, together with its formatted line.
    void SetSink(Sink sink) { sink_ = std::move(sink); }
    void Add(TraceEntry entry);
    const std::deque<TraceEntry> &Entries() const { return entries_; }
    // How many of the oldest entries were let go to stay within the capacity.
    size_t Dropped() const { return dropped_; }
    void Clear();

    // "+12.345 ms WriteOneWord(block=1, address=263, value=15) -> ok", times from the start of
    // the trace (or its last Clear).
    std::string FormatLine(const TraceEntry &entry) const;
    std::string Text() const;
    // Writes Text() to `path` through a temporary file, so that a failed save leaves an older
    // file intact. Returns false and sets `error` on failure.
    bool Save(const std::string &path, std::string &error) const;

  private:
    std::chrono::steady_clock::time_point origin_;
    std::deque<TraceEntry> entries_;
    size_t capacity_;
    size_t dropped_ = 0;
    Sink sink_;
};

}  // namespace velorin::core
