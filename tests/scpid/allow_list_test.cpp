// Which clients --allow lets in: IPv4 and IPv6 networks, prefix lengths and IPv4 clients that
// reach an IPv6 socket.
#include "server/allow_list.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

#include <string>

namespace velorin::server {
namespace {

sockaddr_storage Peer(const char *text) {
    sockaddr_storage peer{};
    auto *v4 = reinterpret_cast<sockaddr_in *>(&peer);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&peer);
    if (inet_pton(AF_INET, text, &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
    } else {
        EXPECT_EQ(inet_pton(AF_INET6, text, &v6->sin6_addr), 1) << text;
        v6->sin6_family = AF_INET6;
    }
    return peer;
}

AllowList List(std::initializer_list<const char *> texts) {
    std::vector<Network> networks;
    for (const char *text : texts) {
        std::string error;
        const auto network = ParseNetwork(text, error);
        EXPECT_TRUE(network) << text << ": " << error;
        if (network) networks.push_back(*network);
    }
    return AllowList(std::move(networks));
}

TEST(AllowListTest, ServesOnlyTheNamedNetworks) {
    struct Case {
        const char *peer;
        bool allowed;
    };
    const AllowList list = List({"192.168.10.0/24", "127.0.0.2", "10.1.2.3/12", "fd00::/8"});
    const Case cases[] = {
        {"192.168.10.77", true},     {"192.168.11.1", false}, {"127.0.0.2", true},
        {"127.0.0.1", false},        {"10.15.255.255", true}, {"10.16.0.0", false},
        {"fd12:3456::1", true},      {"fe80::1", false},      {"::ffff:192.168.10.9", true},
        {"::ffff:127.0.0.1", false}, {"::1", false},
    };
    for (const Case &c : cases) EXPECT_EQ(list.Allows(Peer(c.peer)), c.allowed) << c.peer;

    EXPECT_TRUE(AllowList().AllowsEveryone());
    EXPECT_TRUE(AllowList().Allows(Peer("203.0.113.5")));
    EXPECT_TRUE(List({"0.0.0.0/0"}).Allows(Peer("203.0.113.5")));
    EXPECT_FALSE(List({"0.0.0.0/0"}).Allows(Peer("2001:db8::1")));
}

TEST(AllowListTest, RefusesWhatIsNoNetwork) {
    for (const char *text : {"", "host.example", "10.0.0.0/33", "10.0.0.0/", "10.0.0.0/8x",
                             "::/129", "10.0.0/8", "10.0.0.0/-1"}) {
        std::string error;
        EXPECT_FALSE(ParseNetwork(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

}  // namespace
}  // namespace velorin::server
