// Where board endpoints are found, and which of them are present.
#pragma once

#include <string>
#include <vector>

namespace velorin::board {

// $VELORIN_DEVICE_DIR, else $XDG_RUNTIME_DIR/velorin, else /tmp/velorin-<uid>.
std::string DeviceDirectory();

// The sockets in `directory`, as full paths in ascending byte order of their names. Other
// entries are passed over; a missing or unreadable directory yields none and sets `error`.
std::vector<std::string> ListEndpoints(const std::string &directory, int &error);

}  // namespace velorin::board
