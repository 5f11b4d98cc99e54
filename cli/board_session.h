// Opens the board for a command and closes it again when the command ends. With --trace every
// board call, the open and close included, is printed on standard error as it happens.
#pragma once

#include <optional>

#include "cli/context.h"
#include "core/device/board.h"
#include "core/device/library_board.h"
#include "core/trace/tracing_board.h"
#include "core/trace/traffic_log.h"

namespace velorin::cli {

class BoardSession {
  public:
    // Points the library at --device-dir (when given) and opens the board.
    explicit BoardSession(const Context &context);
    ~BoardSession();
    BoardSession(const BoardSession &) = delete;
    BoardSession &operator=(const BoardSession &) = delete;

    bool IsOpen() const { return open_; }
    core::Board &Board();

  private:
    core::LibraryBoard library_;
    // Lines are printed as calls are made; the log keeps only the last one.
    core::TrafficLog trace_{1};
    std::optional<core::TracingBoard> tracing_;
    bool open_ = false;
};

// Opens the board; when there is none, says so on standard error and sets exit code 1.
bool OpenOrReport(BoardSession &session, Context &context);

}  // namespace velorin::cli
