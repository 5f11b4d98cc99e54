// The board traffic of the program: the newest library calls in a bounded ring, numbered in
// the order they were made. A firmware download alone makes 131,073 calls and the poll ten a
// second, so the oldest go first once the ring is full, a hundredth of it at a time: a table
// over the ring then drops its first rows once per thousand calls, not with every batch. How
// many went is counted.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/trace/board_call.h"

namespace velorin::core {

class TrafficLog {
  public:
    static constexpr size_t kDefaultCapacity = 100000;
    using Sink = std::function<void(const BoardCall &)>;

    explicit TrafficLog(size_t capacity = kDefaultCapacity);

    // Called with every call as it is added (velorinctl prints it).
    void SetSink(Sink sink) { sink_ = std::move(sink); }
    void Add(BoardCall call);
    // Lets every call go; numbering goes on, so a reader sees its rows expire.
    void Clear();

    // Calls are numbered from 0 for the life of the log; [FirstKept, Next) are held.
    uint64_t FirstKept() const { return firstKept_; }
    uint64_t Next() const { return next_; }
    size_t Size() const { return static_cast<size_t>(next_ - firstKept_); }
    const BoardCall &At(uint64_t number) const;
    // Calls let go to stay within the capacity since the last Clear.
    uint64_t Dropped() const { return dropped_; }
    size_t Capacity() const { return capacity_; }
    // Times are shown from here: the log is made when the program starts.
    std::chrono::steady_clock::time_point Origin() const { return origin_; }

  private:
    size_t Slot(uint64_t number) const { return static_cast<size_t>((number - base_) % capacity_); }

    std::chrono::steady_clock::time_point origin_;
    size_t capacity_;
    std::vector<BoardCall> slots_;
    uint64_t base_ = 0;  // number of the call in slot 0 since the last Clear
    uint64_t firstKept_ = 0;
    uint64_t next_ = 0;
    uint64_t dropped_ = 0;
    Sink sink_;
};

}  // namespace velorin::core
