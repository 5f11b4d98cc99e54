// The emulator as a server: the endpoint protocol, logging, stale endpoints and faults.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/emulated_board.h"
#include "support/stale_socket.h"

namespace velorin::sim {
namespace {

int Connect(const std::string &path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sends one request in two pieces (the server must assemble them) and reads the reply.
std::vector<uint8_t> Exchange(int fd, std::vector<uint8_t> message, size_t replySize) {
    EXPECT_EQ(::send(fd, message.data(), 3, 0), 3);
    EXPECT_EQ(::send(fd, message.data() + 3, 4, 0), 4);
    std::vector<uint8_t> reply(replySize);
    size_t got = 0;
    while (got < replySize) {
        ssize_t n = ::recv(fd, reply.data() + got, replySize - got, 0);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    reply.resize(got);
    return reply;
}

TEST(Emulator, AnswersStatusThenExactlyTheAskedBytes) {
    testing::EmulatedBoard board;
    int fd = Connect(board.Emulator().EndpointPath());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Exchange(fd, {0xBF, 0, 0, 0, 0, 0, 1}, 2), (std::vector<uint8_t>{0, 0x04}));
    EXPECT_EQ(Exchange(fd, {0xBF, 0, 0, 0, 0, 0, 0}, 1), (std::vector<uint8_t>{0}));
    EXPECT_EQ(Exchange(fd, {0xEE, 0, 0, 0, 0, 0, 1}, 1), (std::vector<uint8_t>{1}));
    EXPECT_EQ(Exchange(fd, {0xBF, 0, 0, 0, 0, 0, 3}, 1), (std::vector<uint8_t>{1}));
    ::close(fd);

    auto log = board.Emulator().Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].number, 1u);
    EXPECT_EQ(log[2].outcome, Outcome::Rejected);
    EXPECT_LE(log[0].time, log[1].time);
}

TEST(Emulator, FailedRequestsDoNotReachTheBoard) {
    testing::EmulatedBoard board;
    board.Emulator().SetFaults(Faults::FailRequest(1));
    int fd = Connect(board.Emulator().EndpointPath());
    EXPECT_EQ(Exchange(fd, {0x97, 0, 0x55, 0, 1, 0, 1}, 1), (std::vector<uint8_t>{1}));
    EXPECT_EQ(board.Emulator().WithBoard([](auto &b) { return b.Port(1); }), 0);
    EXPECT_EQ(board.Emulator().Log()[0].outcome, Outcome::Failed);
    ::close(fd);
}

TEST(Emulator, ReplacesAStaleEndpointButNotALiveOne) {
    testing::EmulatedBoard first;
    EmulatorOptions options;
    options.deviceDir = first.DeviceDir();
    Emulator second(options);
    std::string error;
    EXPECT_FALSE(second.Start(error));
    EXPECT_NE(error.find("already served"), std::string::npos);

    first.Emulator().Stop();
    testing::MakeStaleSocket(options.deviceDir + "/board0");
    EXPECT_TRUE(second.Start(error)) << error;
    int client = Connect(second.EndpointPath());
    EXPECT_GE(client, 0);
    ::close(client);
}

TEST(Emulator, RequestLogFileGetsOneLinePerRequest) {
    char pattern[] = "/tmp/velorin-simlog-XXXXXX";
    std::string dir = ::mkdtemp(pattern);
    EmulatorOptions options;
    options.deviceDir = dir + "/dev";
    options.logFile = dir + "/requests.log";
    {
        Emulator emulator(options);
        std::string error;
        ASSERT_TRUE(emulator.Start(error)) << error;
        int fd = Connect(emulator.EndpointPath());
        Exchange(fd, {0x96, 0, 0, 0, 3, 0, 1}, 2);
        ::close(fd);
    }
    std::ifstream in(options.logFile);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("#1 command=96 value=0000 index=0003 answer=1 completed\n"),
              std::string::npos)
        << text.str();
    std::filesystem::remove_all(dir);
}

TEST(Emulator, UnplugRemovesTheEndpointAndReplugRestoresIt) {
    testing::EmulatedBoard board;
    auto path = board.Emulator().EndpointPath();
    board.Emulator().Unplug();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_LT(Connect(path), 0);
    EXPECT_TRUE(board.Emulator().Replug());
    int fd = Connect(path);
    EXPECT_GE(fd, 0);
    ::close(fd);
}

TEST(Emulator, AClientThatNeverReadsItsAnswersIsDroppedNotServedForever) {
    testing::EmulatedBoard board;
    int flooder = Connect(board.Emulator().EndpointPath());
    ASSERT_GE(flooder, 0);
    ::fcntl(flooder, F_SETFL, O_NONBLOCK);
    std::vector<uint8_t> requests;
    for (int i = 0; i < 100; ++i) requests.insert(requests.end(), {0xBF, 0, 0, 0, 0, 0, 2});
    bool dropped = false;
    for (int round = 0; round < 5000 && !dropped; ++round) {
        ssize_t sent = ::send(flooder, requests.data(), requests.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno != EAGAIN) dropped = true;
        if (sent < 0 && errno == EAGAIN) ::usleep(1000);
    }
    EXPECT_TRUE(dropped);
    ::close(flooder);

    int client = Connect(board.Emulator().EndpointPath());
    ASSERT_GE(client, 0);
    timeval limit{2, 0};
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    EXPECT_EQ(Exchange(client, {0xBF, 0, 0, 0, 0, 0, 1}, 2), (std::vector<uint8_t>{0, 0x04}));
    ::close(client);
}

TEST(Emulator, ABusyClientNeitherStarvesAnotherNorHoldsUpStop) {
    testing::EmulatedBoard board;
    int busy = Connect(board.Emulator().EndpointPath());
    ASSERT_GE(busy, 0);
    // Keeps requests queued on the connection all the time and reads every answer.
    std::thread sender([busy] {
        std::vector<uint8_t> requests;
        for (int i = 0; i < 100; ++i) requests.insert(requests.end(), {0xBF, 0, 0, 0, 0, 0, 1});
        while (::send(busy, requests.data(), requests.size(), MSG_NOSIGNAL) > 0) {
        }
    });
    std::thread reader([busy] {
        uint8_t replies[4096];
        while (::recv(busy, replies, sizeof(replies), 0) > 0) {
        }
    });
    while (board.Emulator().Log().size() < 100) std::this_thread::yield();

    int other = Connect(board.Emulator().EndpointPath());
    ASSERT_GE(other, 0);
    timeval limit{2, 0};
    ::setsockopt(other, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    EXPECT_EQ(Exchange(other, {0x96, 0, 0, 0, 3, 0, 1}, 2), (std::vector<uint8_t>{0, 0x0F}));
    ::close(other);

    board.Emulator().Stop();
    sender.join();
    reader.join();
    ::close(busy);
}

}  // namespace
}  // namespace velorin::sim
