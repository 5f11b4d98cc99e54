// The address the server listens on, written ADDR:PORT ("127.0.0.1:5025", "0.0.0.0:5025",
// "[::1]:5025"). Port 0 lets the system choose one.
#pragma once

#include <sys/socket.h>

#include <optional>
#include <string>

namespace velorin::server {

struct ListenAddress {
    sockaddr_storage address{};
    socklen_t length = 0;
};

// Nothing, with `error` saying why, for a text that is no numeric address and port.
std::optional<ListenAddress> ParseListenAddress(const std::string &text, std::string &error);

// The address as ADDR:PORT, as the socket reports it.
std::string FormatAddress(const sockaddr_storage &address);

}  // namespace velorin::server
