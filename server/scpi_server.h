// The SCPI-over-TCP loop: one thread, one poll() over the listening socket, the clients and a
// stop descriptor. Each complete line of a client runs on the instrument before the next is
// looked at, so commands of different clients never interleave. Up to kMaxClients clients; a
// further connection is closed at once. A client that stops reading its answers is not read
// from until they are sent, and dropped when too much piles up.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/scpi/client_session.h"
#include "core/scpi/instrument.h"
#include "core/scpi/line_assembler.h"
#include "server/listen_address.h"

namespace velorin::server {

class ScpiServer {
  public:
    static constexpr size_t kMaxClients = 8;
    static constexpr size_t kMaxUnsentBytes = size_t{4} * 1024 * 1024;

    explicit ScpiServer(core::scpi::Instrument &instrument) : instrument_(instrument) {}
    ~ScpiServer();
    ScpiServer(const ScpiServer &) = delete;
    ScpiServer &operator=(const ScpiServer &) = delete;

    bool Listen(const ListenAddress &address, std::string &error);
    // The address as bound (with the port the system chose for port 0).
    sockaddr_storage BoundAddress() const;

    // Serves until `stopFd` becomes readable.
    void Run(int stopFd);

  private:
    struct Client {
        int fd = -1;
        core::scpi::ClientSession session;
        core::scpi::LineAssembler lines;
        std::string unsent;
    };

    void Accept();
    // False when the client is to be closed.
    bool Receive(Client &client);
    bool Send(Client &client);
    void CloseClient(size_t index);

    core::scpi::Instrument &instrument_;
    int listenFd_ = -1;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace velorin::server
