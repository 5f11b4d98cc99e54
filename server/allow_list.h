// The networks whose clients the server serves, written as CIDR blocks ("192.168.10.0/24",
// "127.0.0.2/32", "fd00::/8"). An IPv4 client reaching an IPv6 socket as ::ffff:a.b.c.d is
// matched as the IPv4 address it is.
#pragma once

#include <sys/socket.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velorin::server {

struct Network {
    int family = 0;  // AF_INET or AF_INET6
    std::array<uint8_t, 16> address{};
    int prefixLength = 0;
};

// Nothing, with `error` saying why, for a text that is no address with an optional "/length"
// (without one the network is the one address).
std::optional<Network> ParseNetwork(const std::string &text, std::string &error);

class AllowList {
  public:
    AllowList() = default;
    explicit AllowList(std::vector<Network> networks) : networks_(std::move(networks)) {}

    // An empty list allows everyone.
    bool AllowsEveryone() const { return networks_.empty(); }
    bool Allows(const sockaddr_storage &peer) const;

  private:
    std::vector<Network> networks_;
};

}  // namespace velorin::server
