// The SCPI-over-TCP loop: one thread, one poll() over the listening socket, the clients and a
// stop descriptor. Clients take turns: in each turn every client with work runs one unit of
// its program message, so a long message of one client delays another's by one unit at most.
// The answers of a message are sent when its last unit has run. Up to kMaxClients clients; a
// further connection is refused once the clients that already left have been reaped. A client
// that stops reading its answers gets no further message run until they are sent; a client
// that goes away has the rest of its message dropped.
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/scpi/client_session.h"
#include "core/scpi/instrument.h"
#include "core/scpi/line_assembler.h"
#include "server/allow_list.h"
#include "server/listen_address.h"

namespace velorin::server {

struct ServerOptions {
    AllowList allow;               // empty: every client
    std::chrono::seconds idle{0};  // a client silent this long is closed; 0: never
};

class ScpiServer {
  public:
    static constexpr size_t kMaxClients = 8;
    // TCP keepalive: a peer that vanished without closing frees its slot in about 90 s.
    static constexpr int kKeepIdleSeconds = 60;
    static constexpr int kKeepIntervalSeconds = 10;
    static constexpr int kKeepProbes = 3;

    explicit ScpiServer(core::scpi::Instrument &instrument, ServerOptions options = {})
        : instrument_(instrument), options_(std::move(options)) {}
    ~ScpiServer();
    ScpiServer(const ScpiServer &) = delete;
    ScpiServer &operator=(const ScpiServer &) = delete;

    bool Listen(const ListenAddress &address, std::string &error);
    // The address as bound (with the port the system chose for port 0).
    sockaddr_storage BoundAddress() const;

    // Serves until `stopFd` becomes readable.
    void Run(int stopFd);

  private:
    using Clock = std::chrono::steady_clock;

    struct Client {
        int fd = -1;
        core::scpi::ClientSession session;
        core::scpi::LineAssembler lines;
        // Complete lines not yet begun; nothing in place of one that was too long.
        std::deque<std::optional<std::string>> waiting;
        bool running = false;  // a message has begun and not yet answered
        std::string unsent;
        Clock::time_point lastHeard;

        bool HasWork() const { return running || (!waiting.empty() && unsent.empty()); }
    };

    void Accept();
    // Closes the clients whose peers have closed or reset their end.
    void ReapDeparted();
    // False when the client is to be closed.
    bool Receive(Client &client);
    bool Send(Client &client);
    // One unit of the client's current message, beginning the next waiting line if need be.
    // False when the client is to be closed.
    bool Turn(Client &client);
    void CloseIdle(Clock::time_point now);
    // How long poll() may wait: 0 while a client has work, else until the next idle deadline.
    int PollTimeoutMs(Clock::time_point now) const;
    void CloseClient(size_t index);

    core::scpi::Instrument &instrument_;
    ServerOptions options_;
    int listenFd_ = -1;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace velorin::server
