// Opens the board for a command and closes it again when the command ends.
#pragma once

#include "cli/context.h"

namespace velorin::cli {

class BoardSession {
  public:
    // Points the library at --device-dir (when given) and opens the board.
    explicit BoardSession(const Context &context);
    ~BoardSession();
    BoardSession(const BoardSession &) = delete;
    BoardSession &operator=(const BoardSession &) = delete;

    bool IsOpen() const { return open_; }

  private:
    bool open_ = false;
};

}  // namespace velorin::cli
