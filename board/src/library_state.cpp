#include "library_state.h"

namespace velorin::board {

LibraryState &State() {
    static LibraryState state;
    return state;
}

bool Deliver(const BoardRequest &request, uint8_t *answer) {
    auto &connection = State().connection;
    if (!connection) return false;
    return connection->Exchange(request, answer);
}

}  // namespace velorin::board
