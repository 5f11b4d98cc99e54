#include "core/trace/traffic_view.h"

#include <algorithm>

namespace velorin::core {

void TrafficView::SetFilter(const TrafficFilter &filter) {
    filter_ = filter;
    Rebuild();
}

size_t TrafficView::Expired() const {
    const auto firstKept = std::lower_bound(rows_.begin(), rows_.end(), log_.FirstKept());
    return static_cast<size_t>(firstKept - rows_.begin());
}

void TrafficView::DropExpired() {
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(Expired()));
}

size_t TrafficView::CollectNew() {
    pending_.clear();
    if (paused_) return 0;
    for (uint64_t n = std::max(looked_, log_.FirstKept()); n < log_.Next(); ++n) {
        if (filter_.Shows(log_.At(n))) pending_.push_back(n);
    }
    looked_ = log_.Next();
    return pending_.size();
}

void TrafficView::CommitNew() {
    rows_.insert(rows_.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

void TrafficView::Rebuild() {
    rows_.clear();
    pending_.clear();
    const uint64_t until = paused_ ? std::max(looked_, log_.FirstKept()) : log_.Next();
    for (uint64_t n = log_.FirstKept(); n < until; ++n) {
        if (filter_.Shows(log_.At(n))) rows_.push_back(n);
    }
    looked_ = until;
}

}  // namespace velorin::core
