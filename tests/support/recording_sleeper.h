// A clock that does not wait: it records each pause with the number of requests the board had
// received by then, so tests can check where in a sequence a pause fell.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <vector>

#include "core/base/sleeper.h"

namespace velorin::testing {

struct Wait {
    int milliseconds = 0;
    size_t afterRequests = 0;
    bool operator==(const Wait &) const = default;
};

inline void PrintTo(const Wait &w, std::ostream *os) {
    *os << w.milliseconds << " ms after " << w.afterRequests;
}

class RecordingSleeper : public core::Sleeper {
  public:
    explicit RecordingSleeper(std::function<size_t()> requestCount = [] { return size_t{0}; })
        : requestCount_(std::move(requestCount)) {}
    void Sleep(int milliseconds) override { waits.push_back(Wait{milliseconds, requestCount_()}); }
    std::vector<Wait> waits;

  private:
    std::function<size_t()> requestCount_;
};

}  // namespace velorin::testing
