#include "sim/emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velorin::sim {

namespace {

bool MakeDirectories(const std::string &path, std::string &error) {
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            error = partial + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

// Client sockets are non-blocking: an answer that does not fit at once means the client has
// stopped reading its answers, and it is dropped rather than left to stall every other client.
bool SendAll(int fd, const uint8_t *data, size_t size) {
    while (size > 0) {
        ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool FillAddress(const std::string &path, sockaddr_un &address, std::string &error) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        error = path + ": path too long for a socket";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A socket file nobody answers on is left over from a server that died: remove it.
bool ClearStaleEndpoint(const std::string &path, std::string &error) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return true;
    if (!S_ISSOCK(info.st_mode)) {
        error = path + ": exists and is not a socket";
        return false;
    }
    sockaddr_un address{};
    if (!FillAddress(path, address, error)) return false;
    int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        error = std::strerror(errno);
        return false;
    }
    // A server whose backlog is full would make the probe wait for it; give up after a second
    // and count it as alive.
    timeval limit{1, 0};
    ::setsockopt(probe, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    const bool inUse =
        ::connect(probe, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0 ||
        errno == EAGAIN;
    ::close(probe);
    if (inUse) {
        error = path + ": another board is already served there";
        return false;
    }
    ::unlink(path.c_str());
    return true;
}

}  // namespace

Emulator::Emulator(EmulatorOptions options) : options_(std::move(options)), board_(options_.kind) {}

Emulator::~Emulator() {
    Stop();
}

std::string Emulator::EndpointPath() const {
    return options_.deviceDir + "/" + options_.endpointName;
}

bool Emulator::Listen(std::string &error) {
    const std::string path = EndpointPath();
    sockaddr_un address{};
    if (!FillAddress(path, address, error) || !ClearStaleEndpoint(path, error)) return false;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    pollSetStale_ = true;
    plugged_ = true;
    return true;
}

bool Emulator::Start(std::string &error) {
    if (running_) return true;
    if (!MakeDirectories(options_.deviceDir, error)) return false;
    if (!options_.eepromFile.empty() && !board_.Eeprom().AttachFile(options_.eepromFile, error)) {
        return false;
    }
    if (!options_.logFile.empty() && !log_.OpenFile(options_.logFile, error)) return false;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::strerror(errno);
        return false;
    }
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    if (!Listen(error)) {
        ::close(wakeRead_);
        ::close(wakeWrite_);
        wakeRead_ = wakeWrite_ = -1;
        return false;
    }
    running_ = true;
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void Emulator::Stop() {
    if (!running_) return;
    Post(Command::Stop);
    thread_.join();
    running_ = false;
    ::close(wakeRead_);
    ::close(wakeWrite_);
    wakeRead_ = wakeWrite_ = -1;
}

void Emulator::Post(Command command) {
    std::unique_lock lock(commandMutex_);
    pending_ = command;
    const uint8_t wake = 1;
    (void)::write(wakeWrite_, &wake, 1);
    commandDone_.wait(lock, [this] { return pending_ == Command::None; });
}

void Emulator::Unplug() {
    if (running_) Post(Command::Unplug);
}

bool Emulator::Replug() {
    if (!running_) return false;
    Post(Command::Replug);
    return replugOk_;
}

void Emulator::SetFaults(const Faults &faults) {
    std::lock_guard lock(faultsMutex_);
    faults_ = faults;
}

Faults Emulator::GetFaults() const {
    std::lock_guard lock(faultsMutex_);
    return faults_;
}

void Emulator::CloseAll() {
    plugged_ = false;  // before the clients can see their connections close
    for (auto &client : clients_) ::close(client.fd);
    clients_.clear();
    pollSetStale_ = true;
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(EndpointPath().c_str());
        listenFd_ = -1;
    }
}

void Emulator::RunCommand(Command command) {
    switch (command) {
        case Command::Stop:
        case Command::Unplug:
            CloseAll();
            break;
        case Command::Replug: {
            std::string error;
            replugOk_ = plugged_ || Listen(error);
            break;
        }
        case Command::None:
            break;
    }
}

bool Emulator::HandleRequest(Client &client) {
    WireRequest request;
    request.command = client.buffer[0];
    request.reserved = client.buffer[1];
    request.value = static_cast<uint16_t>(client.buffer[2] | (client.buffer[3] << 8));
    request.index = static_cast<uint16_t>(client.buffer[4] | (client.buffer[5] << 8));
    request.answerLength = client.buffer[6];
    client.filled = 0;

    LogEntry entry;
    entry.time = std::chrono::steady_clock::now();
    entry.number = log_.NextNumber();
    entry.command = request.command;
    entry.value = request.value;
    entry.index = request.index;
    entry.answerLength = request.answerLength;

    const Faults faults = GetFaults();
    if (faults.unplugAt && *faults.unplugAt == entry.number) {
        entry.outcome = Outcome::Unplugged;
        log_.Add(entry);
        CloseAll();
        return false;
    }
    if (faults.dropAt && *faults.dropAt == entry.number) {
        entry.outcome = Outcome::Dropped;
        log_.Add(entry);
        return false;
    }
    if (faults.latencyMicros > 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(faults.latencyMicros));
    }

    uint8_t reply[3] = {1, 0, 0};
    size_t replySize = 1;
    if (faults.Fails(entry.number, request.command)) {
        entry.outcome = Outcome::Failed;
    } else if (request.answerLength > 2) {
        entry.outcome = Outcome::Rejected;
    } else {
        BoardAnswer answer;
        {
            std::lock_guard lock(boardMutex_);
            answer = board_.Handle(request);
        }
        if (answer.completed) {
            reply[0] = 0;
            reply[1] = answer.bytes[0];
            reply[2] = answer.bytes[1];
            replySize = 1 + request.answerLength;
            entry.outcome = Outcome::Completed;
        } else {
            entry.outcome = Outcome::Rejected;
        }
    }
    if (entry.outcome == Outcome::Completed && faults.truncateAt &&
        *faults.truncateAt == entry.number) {
        entry.outcome = Outcome::Truncated;
        log_.Add(entry);
        SendAll(client.fd, reply, 1);
        return false;
    }
    // Logged before the answer leaves, so a caller that has its answer finds the entry.
    log_.Add(entry);
    return SendAll(client.fd, reply, replySize);
}

void Emulator::RebuildPollSet() {
    pollSet_.clear();
    pollSet_.push_back({wakeRead_, POLLIN, 0});
    // At the client limit further connections wait in the backlog until one closes.
    if (listenFd_ >= 0 && clients_.size() < kMaxClients) {
        pollSet_.push_back({listenFd_, POLLIN, 0});
    }
    for (const auto &client : clients_) pollSet_.push_back({client.fd, POLLIN, 0});
    pollSetStale_ = false;
}

std::vector<Emulator::Client>::iterator Emulator::FindClient(int fd) {
    return std::find_if(clients_.begin(), clients_.end(),
                        [fd](const Client &c) { return c.fd == fd; });
}

// By descriptor: an unplug while serving may already have closed every client.
void Emulator::CloseClient(int fd) {
    auto it = FindClient(fd);
    if (it == clients_.end()) return;
    ::close(it->fd);
    clients_.erase(it);
    pollSetStale_ = true;
}

Emulator::Read Emulator::ReadClient(Client &client) {
    ssize_t got = ::recv(client.fd, client.buffer + client.filled,
                         sizeof(client.buffer) - client.filled, MSG_DONTWAIT);
    if (got < 0) {
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? Read::Nothing
                                                                         : Read::Closed;
    }
    if (got == 0) return Read::Closed;
    client.filled += static_cast<size_t>(got);
    if (client.filled < sizeof(client.buffer)) return Read::Partial;
    return HandleRequest(client) ? Read::Served : Read::Closed;
}

bool Emulator::OthersReady(int fd) {
    if (pollSetStale_) RebuildPollSet();
    if (::poll(pollSet_.data(), pollSet_.size(), 0) <= 0) return false;
    return std::any_of(pollSet_.begin(), pollSet_.end(),
                       [fd](const pollfd &p) { return p.fd != fd && p.revents != 0; });
}

void Emulator::FollowClient(int fd) {
    // Right after a request the next one usually follows within microseconds. Reading the
    // client's own socket for it, spinning a short while before sleeping, spares a poll over
    // every descriptor and a sleep and wake-up per request (the library's transport waits for
    // its answers the same way). Every few turns the others are looked at, so commands, new
    // connections and other clients wait no longer than that.
    constexpr auto kSpin = std::chrono::microseconds(100);
    constexpr unsigned kTurnsBetweenLooks = 16;
    auto spinUntil = std::chrono::steady_clock::now() + kSpin;
    for (unsigned turn = 1;; ++turn) {
        if (turn % kTurnsBetweenLooks == 0 && OthersReady(fd)) return;
        auto it = FindClient(fd);
        if (it == clients_.end()) return;
        switch (ReadClient(*it)) {
            case Read::Served:
                if (!plugged_) return;
                spinUntil = std::chrono::steady_clock::now() + kSpin;
                break;
            case Read::Partial:
                break;
            case Read::Closed:
                CloseClient(fd);
                return;
            case Read::Nothing:
                if (std::chrono::steady_clock::now() >= spinUntil) return;
                std::this_thread::yield();
                break;
        }
    }
}

void Emulator::Serve() {
    for (;;) {
        if (pollSetStale_) RebuildPollSet();
        if (::poll(pollSet_.data(), pollSet_.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (pollSet_[0].revents & POLLIN) {
            uint8_t drain[16];
            while (::read(wakeRead_, drain, sizeof(drain)) > 0) {
            }
            std::unique_lock lock(commandMutex_);
            Command command = pending_;
            RunCommand(command);
            pending_ = Command::None;
            commandDone_.notify_all();
            if (command == Command::Stop) return;
            continue;  // the descriptor set may have changed
        }
        size_t firstClient = 1;
        if (pollSet_.size() > 1 && pollSet_[1].fd == listenFd_) {
            firstClient = 2;
            if (pollSet_[1].revents & POLLIN) {
                while (clients_.size() < kMaxClients) {
                    int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                    if (fd < 0) break;
                    clients_.push_back(Client{fd, {}, 0});
                    pollSetStale_ = true;
                }
            }
        }
        // The set is not rebuilt before this pass ends, so closing waits until after it.
        std::vector<int> closing;
        int served = -1;
        for (size_t i = firstClient; i < pollSet_.size() && plugged_; ++i) {
            if (pollSet_[i].revents == 0) continue;
            auto it = FindClient(pollSet_[i].fd);
            if (it == clients_.end()) continue;
            switch (ReadClient(*it)) {
                case Read::Served:
                    served = pollSet_[i].fd;
                    break;
                case Read::Closed:
                    closing.push_back(pollSet_[i].fd);
                    break;
                case Read::Nothing:
                case Read::Partial:
                    break;
            }
        }
        for (int fd : closing) CloseClient(fd);
        if (served >= 0 && plugged_) FollowClient(served);
    }
}

}  // namespace velorin::sim
