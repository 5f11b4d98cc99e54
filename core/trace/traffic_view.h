// The rows of the traffic window: the log's calls that pass the filter, newest last. A table
// model takes new rows in batches, each step announced before it is made: expired rows leave
// the front, new ones join the end. While paused no rows join; rows whose calls the log has
// let go still leave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/trace/traffic_filter.h"
#include "core/trace/traffic_log.h"

namespace velorin::core {

class TrafficView {
  public:
    explicit TrafficView(const TrafficLog &log) : log_(log) {}

    const TrafficLog &Log() const { return log_; }
    size_t Size() const { return rows_.size(); }
    const BoardCall &Row(size_t row) const { return log_.At(rows_[row]); }
    // False for a row whose call the log has let go since the last DropExpired: its slot
    // holds a newer call.
    bool Kept(size_t row) const { return row < rows_.size() && rows_[row] >= log_.FirstKept(); }

    const TrafficFilter &Filter() const { return filter_; }
    // Rebuilds the rows from every call the log holds (up to where a pause stopped them).
    void SetFilter(const TrafficFilter &filter);
    bool Paused() const { return paused_; }
    void SetPaused(bool paused) { paused_ = paused; }

    // Rows at the front whose calls the log no longer holds (all of them after its Clear).
    size_t Expired() const;
    void DropExpired();
    // Looks at the calls added since the last look and holds those that pass the filter;
    // returns how many. Nothing while paused.
    size_t CollectNew();
    void CommitNew();

    void Rebuild();

  private:
    const TrafficLog &log_;
    TrafficFilter filter_;
    bool paused_ = false;
    std::deque<uint64_t> rows_;  // call numbers in the log
    std::vector<uint64_t> pending_;
    uint64_t looked_ = 0;  // the first call number not yet looked at
};

}  // namespace velorin::core
