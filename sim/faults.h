// Faults the emulator injects, keyed on request numbers counted since the log was cleared.
#pragma once

#include <cstdint>
#include <optional>

namespace velorin::sim {

struct Faults {
    std::optional<uint64_t> failRequest;  // fail this one request
    std::optional<uint64_t> failFrom;     // fail every request from this one on
    std::optional<uint8_t> failCommand;   // fail every request with this command code
    std::optional<uint64_t> dropAt;       // close the connection instead of answering
    std::optional<uint64_t> truncateAt;   // answer status 0, then close before the bytes
    std::optional<uint64_t> unplugAt;     // unplug the board when this request arrives
    uint32_t latencyMicros = 0;           // delay before every answer

    static Faults FailRequest(uint64_t n) {
        Faults f;
        f.failRequest = n;
        return f;
    }
    static Faults FailFrom(uint64_t n) {
        Faults f;
        f.failFrom = n;
        return f;
    }
    static Faults FailCommand(uint8_t command) {
        Faults f;
        f.failCommand = command;
        return f;
    }
    static Faults DropAt(uint64_t n) {
        Faults f;
        f.dropAt = n;
        return f;
    }
    static Faults TruncateAt(uint64_t n) {
        Faults f;
        f.truncateAt = n;
        return f;
    }
    static Faults UnplugAt(uint64_t n) {
        Faults f;
        f.unplugAt = n;
        return f;
    }
    static Faults Latency(uint32_t micros) {
        Faults f;
        f.latencyMicros = micros;
        return f;
    }

    // Whether request `number` with `command` is failed outright.
    bool Fails(uint64_t number, uint8_t command) const {
        return (failRequest && *failRequest == number) || (failFrom && number >= *failFrom) ||
               (failCommand && *failCommand == command);
    }
};

}  // namespace velorin::sim
