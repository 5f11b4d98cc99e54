#include "core/scpi/line_assembler.h"

namespace velorin::core::scpi {

std::vector<std::optional<std::string>> LineAssembler::Feed(std::string_view bytes) {
    std::vector<std::optional<std::string>> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!discarding_) {
            if (partial_.size() + piece.size() > kMaxLine) {
                partial_.clear();
                discarding_ = true;
                lines.emplace_back(std::nullopt);
            } else {
                partial_.append(piece);
            }
        }
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
        if (discarding_) {
            discarding_ = false;
            continue;
        }
        if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
        lines.emplace_back(std::move(partial_));
        partial_.clear();
    }
    return lines;
}

}  // namespace velorin::core::scpi
