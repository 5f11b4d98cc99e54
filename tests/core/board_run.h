// Sequence tests: an emulated board opened through the library, and the requests it logged
// written as the calls that produced them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "core/device/library_board.h"
#include "support/emulated_board.h"
#include "velorin.h"

namespace velorin::testing {

class BoardRun {
  public:
    explicit BoardRun(sim::BoardKind kind = sim::BoardKind::FourBlock) : emulated_(kind) {
        EXPECT_TRUE(emulated_.Started());
        ::testing::internal::CaptureStdout();
        opened_ = Velorin_OpenUsbDevice() == 0;
        ::testing::internal::GetCapturedStdout();
        EXPECT_TRUE(opened_);
        emulated_.Emulator().ClearLog();
    }
    ~BoardRun() { Velorin_CloseUsbDevice(); }
    BoardRun(const BoardRun &) = delete;
    BoardRun &operator=(const BoardRun &) = delete;

    core::Board &Board() { return board_; }
    sim::Emulator &Emulator() { return emulated_.Emulator(); }
    std::vector<sim::LogEntry> Log() { return emulated_.Emulator().Log(); }
    // Every request since the log was cleared, also those past the log's capacity.
    uint64_t Received() { return emulated_.Emulator().RequestCount(); }
    void SetFaults(const sim::Faults &faults) { emulated_.Emulator().SetFaults(faults); }

    template <typename F>
    auto WithBoard(F &&f) {
        return emulated_.Emulator().WithBoard(std::forward<F>(f));
    }

  private:
    EmulatedBoard emulated_;
    core::LibraryBoard board_;
    bool opened_ = false;
};

// One request as the library puts it on the wire.
struct Request {
    uint8_t command = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    bool operator==(const Request &) const = default;
};

inline void PrintTo(const Request &r, std::ostream *os) {
    char text[48];
    std::snprintf(text, sizeof(text), "{%02X, %u, %u}", r.command, r.value, r.index);
    *os << text;
}

// The requests the board received; with `onlyCompleted`, those it also carried out.
inline std::vector<Request> Requests(const std::vector<sim::LogEntry> &log,
                                     bool onlyCompleted = false) {
    std::vector<Request> requests;
    for (const auto &e : log) {
        if (onlyCompleted && e.outcome != sim::Outcome::Completed) continue;
        requests.push_back(Request{e.command, e.value, e.index});
    }
    return requests;
}

constexpr uint8_t kBlockCode[] = {0xA0, 0xB0, 0xC0, 0xD0};

inline Request Stage(int index, uint8_t value) {
    return {0xA0, value, static_cast<uint16_t>(index)};
}
inline Request Commit(int block) {
    return {static_cast<uint8_t>(kBlockCode[block] + 2), 0, 0};
}
inline Request Word(int block, uint16_t address, uint8_t value) {
    return {static_cast<uint8_t>(kBlockCode[block] + 3), value, address};
}
inline Request PortRead(uint16_t port) {
    return {0x96, 0, port};
}
inline Request PortWrite(uint16_t port, uint8_t value) {
    return {0x97, value, port};
}
inline Request Identity() {
    return {0xBF, 0, 0};
}
inline Request ReadBackCommand(int block) {
    return {0xA1, 0, static_cast<uint16_t>(block)};
}
inline Request Fetch(int index) {
    return {0xA7, 0, static_cast<uint16_t>(index)};
}
inline Request Unlock(int block) {
    return {0xB5, 0, static_cast<uint16_t>(block)};
}
inline Request EepromRead(uint16_t address, uint8_t option) {
    return {0x92, static_cast<uint16_t>(0xA000 | option), address};
}
inline Request EepromWrite(uint16_t address, uint8_t data) {
    return {0x93, static_cast<uint16_t>(0xA000 | data), address};
}

// The seven requests of one RAM write of `bytes` to `block`.
inline std::vector<Request> RamWrite(int block, const std::array<uint8_t, 6> &bytes) {
    std::vector<Request> requests;
    requests.reserve(7);
    for (int i = 0; i < 6; ++i) requests.push_back(Stage(i, bytes[static_cast<size_t>(i)]));
    requests.push_back(Commit(block));
    return requests;
}

inline std::vector<Request> Concat(std::initializer_list<std::vector<Request>> parts) {
    std::vector<Request> all;
    for (const auto &p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace velorin::testing
