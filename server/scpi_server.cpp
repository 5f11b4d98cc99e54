#include "server/scpi_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velorin::server {

namespace {

constexpr size_t kReadChunk = size_t{16} * 1024;

bool SetNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
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
    const int on = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
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
            // Answers first: a client is read from again once it has taken them.
            const short events = client->unsent.empty() ? POLLIN : POLLOUT;
            fds.push_back({client->fd, events, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        // From the back, so that closing a client does not move the ones still to be looked at.
        for (size_t i = clients_.size(); i-- > 0;) {
            const short revents = fds[i + 2].revents;
            if (revents == 0) continue;
            Client &client = *clients_[i];
            bool keep = true;
            if (revents & POLLOUT) {
                keep = Send(client);
            } else if (revents & (POLLIN | POLLHUP | POLLERR)) {
                keep = Receive(client);
            }
            if (!keep) CloseClient(i);
        }
        if (fds[1].revents & POLLIN) Accept();
    }
}

void ScpiServer::Accept() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        if (clients_.size() >= kMaxClients) {
            ::close(fd);
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
        auto client = std::make_unique<Client>();
        client->fd = fd;
        clients_.push_back(std::move(client));
    }
}

bool ScpiServer::Receive(Client &client) {
    char buffer[kReadChunk];
    const ssize_t got = ::recv(client.fd, buffer, sizeof(buffer), 0);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    for (auto &line : client.lines.Feed(std::string_view(buffer, static_cast<size_t>(got)))) {
        if (!line) {
            client.session.status.Report(
                core::scpi::Error{core::scpi::kTooMuchData, "the line is longer than 64 KiB"});
            continue;
        }
        std::string answer = instrument_.Execute(client.session, *line);
        if (answer.empty()) continue;
        client.unsent += answer;
        client.unsent += '\n';
        if (client.unsent.size() > kMaxUnsentBytes) return false;
    }
    return client.unsent.empty() || Send(client);
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

void ScpiServer::CloseClient(size_t index) {
    ::close(clients_[index]->fd);
    clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace velorin::server
