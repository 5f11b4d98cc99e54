#include "server/allow_list.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <charconv>
#include <cstring>

namespace velorin::server {

namespace {

// The peer's family and bytes, with an IPv4-mapped IPv6 address taken as IPv4.
Network PeerAddress(const sockaddr_storage &peer) {
    Network address;
    if (peer.ss_family == AF_INET6) {
        const auto *v6 = reinterpret_cast<const sockaddr_in6 *>(&peer);
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr)) {
            address.family = AF_INET;
            std::memcpy(address.address.data(), &v6->sin6_addr.s6_addr[12], 4);
        } else {
            address.family = AF_INET6;
            std::memcpy(address.address.data(), &v6->sin6_addr, 16);
        }
    } else if (peer.ss_family == AF_INET) {
        const auto *v4 = reinterpret_cast<const sockaddr_in *>(&peer);
        address.family = AF_INET;
        std::memcpy(address.address.data(), &v4->sin_addr, 4);
    }
    return address;
}

bool Contains(const Network &network, const Network &address) {
    if (network.family != address.family) return false;
    const int whole = network.prefixLength / 8;
    const int rest = network.prefixLength % 8;
    if (std::memcmp(network.address.data(), address.address.data(), static_cast<size_t>(whole)) !=
        0) {
        return false;
    }
    if (rest == 0) return true;
    const auto mask = static_cast<uint8_t>(0xFF << (8 - rest));
    const auto index = static_cast<size_t>(whole);
    return (network.address[index] & mask) == (address.address[index] & mask);
}

}  // namespace

std::optional<Network> ParseNetwork(const std::string &text, std::string &error) {
    const size_t slash = text.find('/');
    const std::string host = text.substr(0, slash);
    Network network;
    int bits = 0;
    if (inet_pton(AF_INET, host.c_str(), network.address.data()) == 1) {
        network.family = AF_INET;
        bits = 32;
    } else if (inet_pton(AF_INET6, host.c_str(), network.address.data()) == 1) {
        network.family = AF_INET6;
        bits = 128;
    } else {
        error = "not an IPv4 or IPv6 address: " + host;
        return std::nullopt;
    }
    network.prefixLength = bits;
    if (slash != std::string::npos) {
        const std::string length = text.substr(slash + 1);
        int value = -1;
        const auto [end, parsed] =
            std::from_chars(length.data(), length.data() + length.size(), value);
        if (parsed != std::errc() || end != length.data() + length.size() || value < 0 ||
            value > bits) {
            error = "the prefix length after '/' must be 0 to " + std::to_string(bits);
            return std::nullopt;
        }
        network.prefixLength = value;
    }
    // Host bits beyond the prefix would make a network that matches nothing as written.
    Network masked = network;
    for (int bit = network.prefixLength; bit < bits; ++bit) {
        masked.address[static_cast<size_t>(bit / 8)] &= static_cast<uint8_t>(~(0x80 >> (bit % 8)));
    }
    return masked;
}

bool AllowList::Allows(const sockaddr_storage &peer) const {
    if (networks_.empty()) return true;
    const Network address = PeerAddress(peer);
    for (const Network &network : networks_) {
        if (Contains(network, address)) return true;
    }
    return false;
}

}  // namespace velorin::server
