// The board as the program knows it between calls: whether it answers, its identity and kind,
// and the last bytes read from its ports. The main view's poll, the device-settings dialog's
// refresh and the instrument server watch the connection through it; each still sends exactly
// the requests it always has.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/device/board.h"

namespace velorin::core {

class BoardLink {
  public:
    explicit BoardLink(Board &board) : board_(board) {}

    Board &Device() { return board_; }
    // The last open or reopen failed, or a caller marked the link lost.
    bool Lost() const { return lost_; }
    void MarkLost() { lost_ = true; }
    uint8_t Identity() const { return identity_; }
    bool IsFourBlockBoard() const;
    // The byte last read from the port through the link; none before a read succeeded.
    std::optional<uint8_t> LastPort(uint16_t port) const;

    // Opens the board and reads its identity: false (lost) unless both succeed.
    bool Connect();
    // Nothing while the link is not lost; else close and Connect again.
    bool ReconnectIfLost();
    // Closes the connection and opens it again; false (lost) when the open fails.
    bool Reopen();
    // Reads the identity; a failed read keeps the last one known.
    bool ReadIdentity();
    std::optional<uint8_t> ReadPort(uint16_t port);

    struct Watch {
        bool reachable = true;               // false: the board was lost and did not reopen
        std::optional<uint8_t> controlPort;  // port 0, when a read of it succeeded
    };
    // Reads port 0; when that fails, reopens the board and, with `readAgain`, reads port 0 once
    // more from the reopened board.
    Watch WatchControlPort(bool readAgain);

  private:
    Board &board_;
    bool lost_ = false;
    uint8_t identity_ = 0;
    std::array<std::optional<uint8_t>, 4> ports_{};
};

}  // namespace velorin::core
