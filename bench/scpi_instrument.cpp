// The SCPI server's costs: an *IDN? round trip through the server's loop on loopback beside a
// bare TCP echo of the same size, and a PRESCaler change with calibration off beside the nine
// board requests it makes (seven for the RAM write, the port-1 read and write) sent directly.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "core/base/sleeper.h"
#include "core/device/library_board.h"
#include "core/device/programming_steps.h"
#include "core/scpi/instrument.h"
#include "server/scpi_server.h"
#include "support/bench_board.h"

namespace {

using velorin::core::scpi::ClientSession;
using velorin::core::scpi::Instrument;

class NoWait : public velorin::core::Sleeper {
  public:
    void Sleep(int) override {}
};

// The instrument over the emulated board, started with the library's lines kept off the table.
struct BenchInstrument {
    BenchInstrument() {
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        instrument.Start();
        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(null);
    }
    velorin::bench::BenchBoard board;
    velorin::core::LibraryBoard library;
    NoWait sleeper;
    Instrument instrument{library, sleeper, "bench"};
};

int Connect(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // A refused connection shows as a failed first exchange.
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) return fd;
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    return fd;
}

uint16_t PortOf(const sockaddr_storage &address) {
    return ntohs(reinterpret_cast<const sockaddr_in *>(&address)->sin_port);
}

// Sends the line and reads until the answer's line end.
bool RoundTrip(int fd, const std::string &line, std::string &answer) {
    if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size())) {
        return false;
    }
    answer.clear();
    char buffer[512];
    while (answer.empty() || answer.back() != '\n') {
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0) return false;
        answer.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

void IdnRoundTrip(benchmark::State &state) {
    BenchInstrument bench;
    velorin::server::ScpiServer server(bench.instrument);
    std::string error;
    const auto address = velorin::server::ParseListenAddress("127.0.0.1:0", error);
    if (!server.Listen(*address, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int stop[2];
    if (::pipe(stop) != 0) return;
    std::thread loop([&] { server.Run(stop[0]); });
    const int fd = Connect(PortOf(server.BoundAddress()));
    std::string answer;
    for (auto _ : state) {
        if (!RoundTrip(fd, "*IDN?\n", answer)) state.SkipWithError("no answer");
    }
    state.SetLabel(answer.substr(0, answer.size() - 1));
    ::close(fd);
    (void)!::write(stop[1], "x", 1);
    loop.join();
    ::close(stop[0]);
    ::close(stop[1]);
}
BENCHMARK(IdnRoundTrip)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// A loopback echo of a line as long as *IDN?'s answer: what any TCP round trip costs.
void TcpEchoRoundTrip(benchmark::State &state) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
        ::listen(listener, 1) != 0) {
        state.SkipWithError("no loopback listener");
        ::close(listener);
        return;
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof(bound);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&bound), &length);
    std::thread echo([listener] {
        const int fd = ::accept(listener, nullptr, nullptr);
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
        char buffer[512];
        ssize_t got = 0;
        while ((got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0) {
            ::send(fd, buffer, static_cast<size_t>(got), MSG_NOSIGNAL);
        }
        ::close(fd);
    });
    const int fd = Connect(PortOf(bound));
    const std::string line = "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0\n";
    std::string answer;
    for (auto _ : state) {
        if (!RoundTrip(fd, line, answer)) state.SkipWithError("no echo");
    }
    ::close(fd);
    echo.join();
    ::close(listener);
}
BENCHMARK(TcpEchoRoundTrip)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void PrescalerChangeWithoutCalibration(benchmark::State &state) {
    BenchInstrument bench;
    ClientSession client;
    bench.instrument.Execute(client, "CAL OFF");
    bool two = true;
    for (auto _ : state) {
        bench.instrument.Execute(client, two ? "PRESC 2" : "PRESC 3");
        two = !two;
    }
    if (bench.instrument.Execute(client, "SYST:ERR:COUN?") != "0") state.SkipWithError("errors");
}
BENCHMARK(PrescalerChangeWithoutCalibration)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The same nine requests straight through the library, without the instrument.
void NineBoardRequests(benchmark::State &state) {
    velorin::bench::BenchBoard board;
    velorin::core::LibraryBoard library;
    velorin::core::RegisterImage image;
    image.SetControlWord(0x0002279E);
    for (auto _ : state) {
        velorin::core::WriteImageToRam(library, 0, image);
        velorin::core::RefreshOutputEnable(library, 0, true);
    }
}
BENCHMARK(NineBoardRequests)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
