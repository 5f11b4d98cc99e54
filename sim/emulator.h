// Serves one emulated board on one endpoint (a Unix-domain socket), from a thread of its own.
// Used by velorin-boardsim and, in-process, by the tests.
#pragma once

#include <poll.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/board_model.h"
#include "sim/faults.h"
#include "sim/request_log.h"

namespace velorin::sim {

struct EmulatorOptions {
    std::string deviceDir;  // created with mode 0700 when missing
    std::string endpointName = "board0";
    BoardKind kind = BoardKind::FourBlock;
    std::string eepromFile;  // empty: the board EEPROM lives in memory only
    std::string logFile;     // empty: the request log is kept in memory only
};

class Emulator {
  public:
    explicit Emulator(EmulatorOptions options);
    ~Emulator();
    Emulator(const Emulator &) = delete;
    Emulator &operator=(const Emulator &) = delete;

    bool Start(std::string &error);
    void Stop();
    std::string EndpointPath() const;

    // Like pulling the USB cable: open connections close and the endpoint disappears until
    // Replug. Both return once the server has done it.
    void Unplug();
    bool Replug();
    bool IsPlugged() const { return plugged_; }

    void SetFaults(const Faults &faults);
    Faults GetFaults() const;
    void ClearFaults() { SetFaults(Faults{}); }

    // The newest requests, at most kRequestLogCapacity of them, oldest first.
    std::vector<LogEntry> Log() const { return log_.Entries(); }
    // Every request numbered since the log was last cleared, also those the log let go.
    uint64_t RequestCount() const { return log_.Numbered(); }
    // Also restarts request numbering, which faults are keyed on.
    void ClearLog() { log_.Clear(); }

    // Runs `f` with the board model while the server cannot touch it.
    template <typename F>
    auto WithBoard(F &&f) {
        std::lock_guard lock(boardMutex_);
        return f(board_);
    }

  private:
    static constexpr size_t kMaxClients = 256;
    enum class Command { None, Stop, Unplug, Replug };
    struct Client {
        int fd = -1;
        uint8_t buffer[7] = {};
        size_t filled = 0;
    };

    enum class Read { Nothing, Partial, Served, Closed };

    void Serve();
    void RebuildPollSet();
    // Serves the client that has just sent a request while its next ones follow closely.
    void FollowClient(int fd);
    // Whether any descriptor but `fd` has something to do (a command, a connection, a request).
    bool OthersReady(int fd);
    // Reads what the client sent and handles a request once all of it is there.
    Read ReadClient(Client &client);
    std::vector<Client>::iterator FindClient(int fd);
    void CloseClient(int fd);
    void RunCommand(Command command);
    bool Listen(std::string &error);
    void CloseAll();
    // Returns false when the client's connection is to be closed.
    bool HandleRequest(Client &client);
    void Post(Command command);

    EmulatorOptions options_;
    BoardModel board_;
    std::mutex boardMutex_;
    RequestLog log_;
    mutable std::mutex faultsMutex_;
    Faults faults_;

    std::thread thread_;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::vector<Client> clients_;
    // The wake pipe, the listening socket while it takes connections, then every client.
    std::vector<pollfd> pollSet_;
    bool pollSetStale_ = true;
    std::atomic<bool> plugged_{false};
    bool replugOk_ = false;
    bool running_ = false;

    std::mutex commandMutex_;
    std::condition_variable commandDone_;
    Command pending_ = Command::None;
};

}  // namespace velorin::sim
