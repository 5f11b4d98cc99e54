// What the emulated board received, in order, with the time and the outcome of each request.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace velorin::sim {

enum class Outcome {
    Completed,  // answered with status 0 and its bytes
    Rejected,   // the board refused it (unknown command, bad port or block)
    Failed,     // failed by an injected fault
    Dropped,    // the connection was closed instead of an answer
    Truncated,  // status 0, then the connection closed before the answer bytes
    Unplugged,  // the board was unplugged by this request
};

const char *OutcomeName(Outcome outcome);

struct LogEntry {
    std::chrono::steady_clock::time_point time;
    uint64_t number = 0;  // 1-based, counted since the log was last cleared
    uint8_t command = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint8_t answerLength = 0;
    Outcome outcome = Outcome::Completed;
};

// The newest requests kept in memory: a board left running for days (the program's poll alone
// sends ten requests a second) must not grow without bound, and tests read recent requests.
inline constexpr std::size_t kRequestLogCapacity = 100000;

class RequestLog {
  public:
    explicit RequestLog(std::size_t capacity = kRequestLogCapacity) : capacity_(capacity) {}
    ~RequestLog();
    RequestLog(const RequestLog &) = delete;
    RequestLog &operator=(const RequestLog &) = delete;
    // Also append every entry, as a text line, to `path`.
    bool OpenFile(const std::string &path, std::string &error);

    // Numbers the next request; the number is what faults are keyed on.
    uint64_t NextNumber();
    uint64_t Numbered() const;
    // Past the capacity the oldest entry goes; numbering goes on.
    void Add(const LogEntry &entry);
    // The kept entries, oldest first.
    std::vector<LogEntry> Entries() const;
    std::size_t Capacity() const { return capacity_; }
    void Clear();

    static std::string FormatLine(const LogEntry &entry,
                                  std::chrono::steady_clock::time_point origin);

  private:
    mutable std::mutex mutex_;
    std::size_t capacity_;
    std::deque<LogEntry> entries_;
    uint64_t counter_ = 0;
    std::FILE *file_ = nullptr;
    std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
};

}  // namespace velorin::sim
