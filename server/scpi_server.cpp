#include "server/scpi_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velorin::server {

namespace {

constexpr size_t kReadChunk = size_t{16} * 1024;
// The peer has closed (FIN), reset or failed: what is left of its work is dropped.
constexpr short kGone = POLLRDHUP | POLLHUP | POLLERR;

bool SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

void SetOption(int fd, int level, int name, int value) {
    ::setsockopt(fd, level, name, &value, sizeof(value));
}

}  // namespace

ScpiServer::~ScpiServer() {
    while (!clients_.empty()) CloseClient(clients_.size() - 1);
    if (listenFd_ >= 0) ::close(listenFd_);
}

bool ScpiServer::Listen(const ListenAddress &address, std::string &error) {
    listenFd_ = ::socket(address.address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    SetOption(listenFd_, SOL_SOCKET, SO_REUSEADDR, 1);
    if (::bind(listenFd_, reinterpret_cast<const sockaddr *>(&address.address), address.length) !=
            0 ||
        ::listen(listenFd_, 16) != 0 || !SetNonBlocking(listenFd_)) {
        error = FormatAddress(address.address) + ": " + std::strerror(errno);
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    return true;
}

sockaddr_storage ScpiServer::BoundAddress() const {
    sockaddr_storage bound{};
    socklen_t length = sizeof(bound);
    ::getsockname(listenFd_, reinterpret_cast<sockaddr *>(&bound), &length);
    return bound;
}

void ScpiServer::Run(int stopFd) {
    std::vector<pollfd> fds;
    for (;;) {
        fds.clear();
        fds.push_back({stopFd, POLLIN, 0});
        fds.push_back({listenFd_, POLLIN, 0});
        for (const auto &client : clients_) {
            short events = POLLRDHUP;
            // Answers first; a client with lines still to run is not read from until they ran.
            if (!client->unsent.empty()) events |= POLLOUT;
            if (client->unsent.empty() && !client->HasWork()) events |= POLLIN;
            fds.push_back({client->fd, events, 0});
        }
        if (::poll(fds.data(), fds.size(), PollTimeoutMs(Clock::now())) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        // From the back, so that closing a client does not move the ones still to be looked at.
        for (size_t i = clients_.size(); i-- > 0;) {
            const short revents = fds[i + 2].revents;
            Client &client = *clients_[i];
            bool keep = (revents & kGone) == 0;
            if (keep && (revents & POLLOUT)) keep = Send(client);
            if (keep && (revents & POLLIN)) keep = Receive(client);
            if (!keep) CloseClient(i);
        }
        if (fds[1].revents & POLLIN) Accept();
        for (size_t i = clients_.size(); i-- > 0;) {
            if (!Turn(*clients_[i])) CloseClient(i);
        }
        if (options_.idle.count() > 0) CloseIdle(Clock::now());
    }
}

int ScpiServer::PollTimeoutMs(Clock::time_point now) const {
    int timeout = -1;
    for (const auto &client : clients_) {
        if (client->HasWork()) return 0;
        if (options_.idle.count() == 0) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            client->lastHeard + options_.idle - now);
        const int ms = static_cast<int>(std::max<long long>(left.count(), 0) + 1);
        timeout = timeout < 0 ? ms : std::min(timeout, ms);
    }
    return timeout;
}

void ScpiServer::Accept() {
    for (;;) {
        sockaddr_storage peer{};
        socklen_t length = sizeof(peer);
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr *>(&peer), &length,
                                 SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        if (!options_.allow.Allows(peer)) {
            ::close(fd);
            continue;
        }
        if (clients_.size() >= kMaxClients) ReapDeparted();
        if (clients_.size() >= kMaxClients) {
            ::close(fd);
            continue;
        }
        SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
        SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
        SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, kKeepIdleSeconds);
        SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, kKeepIntervalSeconds);
        SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, kKeepProbes);
        auto client = std::make_unique<Client>();
        client->fd = fd;
        client->lastHeard = Clock::now();
        clients_.push_back(std::move(client));
    }
}

void ScpiServer::ReapDeparted() {
    for (size_t i = clients_.size(); i-- > 0;) {
        pollfd fd{clients_[i]->fd, POLLRDHUP, 0};
        if (::poll(&fd, 1, 0) > 0 && (fd.revents & kGone) != 0) CloseClient(i);
    }
}

bool ScpiServer::Receive(Client &client) {
    char buffer[kReadChunk];
    const ssize_t got = ::recv(client.fd, buffer, sizeof(buffer), 0);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    client.lastHeard = Clock::now();
    for (auto &line : client.lines.Feed(std::string_view(buffer, static_cast<size_t>(got)))) {
        client.waiting.push_back(std::move(line));
    }
    return true;
}

bool ScpiServer::Turn(Client &client) {
    if (!client.running) {
        if (client.waiting.empty() || !client.unsent.empty()) return true;
        std::optional<std::string> line = std::move(client.waiting.front());
        client.waiting.pop_front();
        if (!line) {
            client.session.status.Report(
                core::scpi::Error{core::scpi::kTooMuchData, "the line is longer than 64 KiB"});
            return true;
        }
        instrument_.Begin(client.session, *line);
        client.running = true;
    }
    std::optional<std::string> answers = instrument_.Step(client.session);
    if (!answers) return true;
    client.running = false;
    if (answers->empty()) return true;
    client.unsent = std::move(*answers);
    client.unsent += '\n';
    return Send(client);
}

bool ScpiServer::Send(Client &client) {
    while (!client.unsent.empty()) {
        const ssize_t sent =
            ::send(client.fd, client.unsent.data(), client.unsent.size(), MSG_NOSIGNAL);
        if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        client.unsent.erase(0, static_cast<size_t>(sent));
    }
    return true;
}

void ScpiServer::CloseIdle(Clock::time_point now) {
    for (size_t i = clients_.size(); i-- > 0;) {
        const Client &client = *clients_[i];
        if (client.HasWork() || !client.unsent.empty()) continue;
        if (now - client.lastHeard >= options_.idle) CloseClient(i);
    }
}

void ScpiServer::CloseClient(size_t index) {
    core::scpi::Instrument::Abandon(clients_[index]->session);
    ::close(clients_[index]->fd);
    clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace velorin::server
