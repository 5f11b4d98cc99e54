// A board endpoint: a Unix-domain stream socket served by a board server.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "transport.h"

namespace velorin::board {

class EndpointTransport : public Transport {
  public:
    using Clock = std::chrono::steady_clock;

    // Connects to the socket at `path`. On failure returns nullptr and sets `error` to errno.
    static std::unique_ptr<EndpointTransport> Connect(const std::string &path, int timeoutMs,
                                                      int &error);
    ~EndpointTransport() override;

    EndpointTransport(const EndpointTransport &) = delete;
    EndpointTransport &operator=(const EndpointTransport &) = delete;

    bool Exchange(const BoardRequest &request, uint8_t *answer) override;

  private:
    EndpointTransport(int fd, int timeoutMs) : fd_(fd), timeoutMs_(timeoutMs) {}
    bool SendAll(const uint8_t *data, size_t size);
    // Reads the status byte and, when it is 0, the answer bytes: `size` bytes in all.
    bool ReceiveReply(uint8_t *reply, size_t size, Clock::time_point deadline);

    int fd_;
    int timeoutMs_;
    // Set once an answer went missing: a late answer would be taken for the next one, so the
    // stream is no longer trusted and every further request fails until the handle is closed.
    bool broken_ = false;
};

// Request timeout from $VELORIN_REQUEST_TIMEOUT_MS, 2000 ms when unset or not a positive number.
int RequestTimeoutMs();

}  // namespace velorin::board
