// Cuts a client's byte stream into program messages: lines ended by LF (a CR before it is
// dropped). A line longer than the limit is discarded up to its end and reported once, in its
// place among the lines, so that the client hears "Too much data" at the right moment.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin::core::scpi {

class LineAssembler {
  public:
    static constexpr size_t kMaxLine = size_t{64} * 1024;

    // The lines the bytes completed, in order; nothing in place of a discarded one.
    std::vector<std::optional<std::string>> Feed(std::string_view bytes);
    // Bytes of the line in progress (0 while a too-long line is being skipped).
    size_t Pending() const { return partial_.size(); }

  private:
    std::string partial_;
    bool discarding_ = false;
};

}  // namespace velorin::core::scpi
