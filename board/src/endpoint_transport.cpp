#include "endpoint_transport.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace velorin::board {

namespace {
int RemainingMs(EndpointTransport::Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - EndpointTransport::Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}
}  // namespace

int RequestTimeoutMs() {
    const char *text = std::getenv("VELORIN_REQUEST_TIMEOUT_MS");
    if (text == nullptr || *text == '\0') return 2000;
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value <= 0 || value > 3600L * 1000) return 2000;
    return static_cast<int>(value);
}

std::unique_ptr<EndpointTransport> EndpointTransport::Connect(const std::string &path,
                                                              int timeoutMs, int &error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        error = ENAMETOOLONG;
        return nullptr;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    // A server that stopped accepting lets its backlog fill up, and connect would then wait for
    // it forever; the send timeout bounds that wait (and every later send) like a request.
    timeval limit{timeoutMs / 1000, static_cast<suseconds_t>((timeoutMs % 1000) * 1000)};
    if (::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit)) != 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        error = errno;
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<EndpointTransport>(new EndpointTransport(fd, timeoutMs));
}

EndpointTransport::~EndpointTransport() {
    ::close(fd_);
}

bool EndpointTransport::SendAll(const uint8_t *data, size_t size) {
    while (size > 0) {
        ssize_t sent = ::send(fd_, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool EndpointTransport::ReceiveReply(uint8_t *reply, size_t size, Clock::time_point deadline) {
    // A board answers within microseconds. Looking for the answer for a short while before
    // sleeping spares a sleep and wake-up per request, which on some virtual machines costs
    // several times the request itself; yielding keeps a single-core machine fair to the server.
    constexpr auto kSpin = std::chrono::microseconds(50);
    const auto spinUntil = std::min(deadline, Clock::now() + kSpin);
    size_t filled = 0;
    // A status other than 0 comes alone: nothing follows it.
    while (filled < size && (filled == 0 || reply[0] == 0)) {
        ssize_t got = ::recv(fd_, reply + filled, size - filled, MSG_DONTWAIT);
        if (got > 0) {
            filled += static_cast<size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            broken_ = true;
            return false;
        }
        if (Clock::now() < spinUntil) {
            std::this_thread::yield();
            continue;
        }
        pollfd waiting{fd_, POLLIN, 0};
        int ready = ::poll(&waiting, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            broken_ = true;
            return false;
        }
    }
    return true;
}

bool EndpointTransport::Exchange(const BoardRequest &request, uint8_t *answer) {
    if (broken_ || request.answerLength > 2) return false;
    auto bytes = EncodeRequest(request);
    uint8_t message[kRequestSize + 1];
    std::memcpy(message, bytes.data(), kRequestSize);
    message[kRequestSize] = request.answerLength;
    if (!SendAll(message, sizeof(message))) {
        broken_ = true;
        return false;
    }
    // The status byte and the answer bytes are read together, under one deadline: the whole
    // request is bounded by the timeout.
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
    uint8_t reply[3] = {0xFF, 0, 0};
    if (!ReceiveReply(reply, 1 + size_t{request.answerLength}, deadline)) return false;
    if (reply[0] != 0) return false;
    if (answer != nullptr) std::memcpy(answer, reply + 1, request.answerLength);
    return true;
}

}  // namespace velorin::board
