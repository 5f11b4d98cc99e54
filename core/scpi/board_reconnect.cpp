#include "core/scpi/board_reconnect.h"

namespace velorin::core::scpi {

bool OpenBoard(Board &board, BoardConnection &connection) {
    connection.open = board.Open();
    uint8_t id = 0;
    // A board that opens but does not name itself is no use: it counts as lost again.
    if (connection.open && board.GetEvmId(id)) {
        connection.id = id;
    } else {
        connection.open = false;
    }
    return connection.open;
}

bool ReopenIfLost(Board &board, BoardConnection &connection) {
    if (connection.open) return true;
    board.Close();
    return OpenBoard(board, connection);
}

}  // namespace velorin::core::scpi
