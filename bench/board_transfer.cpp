// Request round trip and a full 64 KiB board-EEPROM write and read-back, through the library
// and the emulator over a real endpoint; beside them the floor, a bare socket pair that passes
// the same bytes with the same waiting.
#include <benchmark/benchmark.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

#include "support/bench_board.h"
#include "velorin.h"

namespace {

using Board = velorin::bench::BenchBoard;

void RequestRoundTrip(benchmark::State &state) {
    Board board;
    if (!board.ok()) {
        state.SkipWithError("no board");
        return;
    }
    uint8_t value = 0;
    for (auto _ : state) {
        if (Velorin_ReadPort(0, &value) != 0) state.SkipWithError("request failed");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(RequestRoundTrip)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// Reads exactly `size` bytes, spinning on non-blocking reads and yielding between them, as the
// library and the emulator do while an answer or the next request is due.
bool SpinReceive(int fd, uint8_t *data, size_t size) {
    while (size > 0) {
        ssize_t got = ::recv(fd, data, size, MSG_DONTWAIT);
        if (got > 0) {
            data += got;
            size -= static_cast<size_t>(got);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            return false;
        } else {
            ::sched_yield();
        }
    }
    return true;
}

// What a request costs without the library and the emulator: a 7-byte request and a 2-byte
// answer between two threads over a Unix-domain socket pair.
void BareSocketPairRoundTrip(benchmark::State &state) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        state.SkipWithError("no socket pair");
        return;
    }
    std::thread server([fd = fds[1]] {
        uint8_t request[7];
        const uint8_t answer[2] = {0, 0};
        while (SpinReceive(fd, request, sizeof(request)) &&
               ::send(fd, answer, sizeof(answer), MSG_NOSIGNAL) == sizeof(answer)) {
        }
    });
    const uint8_t request[7] = {0x96, 0, 0, 0, 0, 0, 1};
    uint8_t answer[2];
    for (auto _ : state) {
        if (::send(fds[0], request, sizeof(request), MSG_NOSIGNAL) != sizeof(request) ||
            !SpinReceive(fds[0], answer, sizeof(answer))) {
            state.SkipWithError("socket pair failed");
            break;
        }
    }
    ::shutdown(fds[0], SHUT_RDWR);
    server.join();
    ::close(fds[0]);
    ::close(fds[1]);
}
BENCHMARK(BareSocketPairRoundTrip)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void Eeprom64KiBWriteAndReadBack(benchmark::State &state) {
    Board board;
    if (!board.ok()) {
        state.SkipWithError("no board");
        return;
    }
    std::vector<uint8_t> image(65536), back(65536);
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
    Velorin_SetI2CDeviceAddress(0xA0, 3);
    for (auto _ : state) {
        if (Velorin_WriteI2C(0, 65536, image.data()) != 0 ||
            Velorin_ReadI2C(0, 65536, back.data()) != 0 || back != image) {
            state.SkipWithError("transfer failed");
        }
    }
    state.counters["requests"] = 131072;
}
BENCHMARK(Eeprom64KiBWriteAndReadBack)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
