#include "server/listen_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <charconv>
#include <cstring>

namespace velorin::server {

std::optional<ListenAddress> ParseListenAddress(const std::string &text, std::string &error) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        error = "give the address as ADDR:PORT, such as 127.0.0.1:5025";
        return std::nullopt;
    }
    std::string host = text.substr(0, colon);
    const std::string portText = text.substr(colon + 1);
    unsigned port = 0;
    const auto [end, parsed] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (parsed != std::errc() || end != portText.data() + portText.size() || port > 65535) {
        error = "the port must be a number from 0 to 65535";
        return std::nullopt;
    }
    ListenAddress result;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
        auto *v6 = reinterpret_cast<sockaddr_in6 *>(&result.address);
        if (inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) != 1) {
            error = "not an IPv6 address: " + host;
            return std::nullopt;
        }
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        result.length = sizeof(sockaddr_in6);
        return result;
    }
    auto *v4 = reinterpret_cast<sockaddr_in *>(&result.address);
    if (inet_pton(AF_INET, host.c_str(), &v4->sin_addr) != 1) {
        error = "not an IPv4 address: " + host + " (IPv6 addresses go in brackets)";
        return std::nullopt;
    }
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<uint16_t>(port));
    result.length = sizeof(sockaddr_in);
    return result;
}

std::string FormatAddress(const sockaddr_storage &address) {
    char host[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET6) {
        const auto *v6 = reinterpret_cast<const sockaddr_in6 *>(&address);
        inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof(host));
        return "[" + std::string(host) + "]:" + std::to_string(ntohs(v6->sin6_port));
    }
    const auto *v4 = reinterpret_cast<const sockaddr_in *>(&address);
    inet_ntop(AF_INET, &v4->sin_addr, host, sizeof(host));
    return std::string(host) + ":" + std::to_string(ntohs(v4->sin_port));
}

}  // namespace velorin::server
