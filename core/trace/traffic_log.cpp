#include "core/trace/traffic_log.h"

#include <algorithm>

namespace velorin::core {

namespace {
constexpr size_t kFirstReserve = 1024;
constexpr size_t kDropDivisor = 100;
}  // namespace

TrafficLog::TrafficLog(size_t capacity)
    : origin_(std::chrono::steady_clock::now()), capacity_(std::max<size_t>(capacity, 1)) {}

void TrafficLog::Add(BoardCall call) {
    if (slots_.size() < capacity_) {
        // Grown by hand so that the ring never holds more room than its capacity.
        if (slots_.size() == slots_.capacity())
            slots_.reserve(std::min(capacity_, std::max(kFirstReserve, 2 * slots_.size())));
        slots_.push_back(std::move(call));
    } else {
        if (Size() == capacity_) {
            const uint64_t chunk = std::max<size_t>(capacity_ / kDropDivisor, 1);
            firstKept_ += chunk;
            dropped_ += chunk;
        }
        slots_[Slot(next_)] = std::move(call);
    }
    const uint64_t number = next_++;
    if (sink_) sink_(At(number));
}

void TrafficLog::Clear() {
    slots_.clear();
    base_ = next_;
    firstKept_ = next_;
    dropped_ = 0;
}

const BoardCall &TrafficLog::At(uint64_t number) const {
    return slots_[Slot(number)];
}

}  // namespace velorin::core
