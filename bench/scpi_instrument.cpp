// The SCPI server's costs: an *IDN? round trip through the server's loop on loopback beside a
// bare TCP echo of the same size, the same round trip while another client runs a 64 KiB line of
// calibrated setters, and a PRESCaler change with calibration off beside the nine board
// requests it makes (seven for the RAM write, the port-1 read and write) sent directly.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/base/sleeper.h"
#include "core/base/thread_sleeper.h"
#include "core/device/library_board.h"
#include "core/device/programming_steps.h"
#include "core/scpi/instrument.h"
#include "core/scpi/line_assembler.h"
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
// With real pauses the calibration restart waits its 50 ms as on the bench.
struct BenchInstrument {
    explicit BenchInstrument(bool realPauses = false)
        : instrument(library, realPauses ? static_cast<velorin::core::Sleeper &>(real) : noWait,
                     "bench") {
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
    NoWait noWait;
    velorin::core::ThreadSleeper real;
    Instrument instrument;
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

// The server's loop on its own thread, on a loopback port the system chose.
class BenchServer {
  public:
    explicit BenchServer(Instrument &instrument) : server_(instrument) {
        std::string error;
        const auto address = velorin::server::ParseListenAddress("127.0.0.1:0", error);
        listening_ = server_.Listen(*address, error) && ::pipe(stop_) == 0;
        if (listening_) loop_ = std::thread([this] { server_.Run(stop_[0]); });
    }
    ~BenchServer() {
        if (!listening_) return;
        (void)!::write(stop_[1], "x", 1);
        loop_.join();
        ::close(stop_[0]);
        ::close(stop_[1]);
    }
    BenchServer(const BenchServer &) = delete;
    BenchServer &operator=(const BenchServer &) = delete;

    bool Listening() const { return listening_; }
    int Connect() const { return ::Connect(PortOf(server_.BoundAddress())); }

  private:
    velorin::server::ScpiServer server_;
    bool listening_ = false;
    int stop_[2] = {-1, -1};
    std::thread loop_;
};

void IdnRoundTrip(benchmark::State &state) {
    BenchInstrument bench;
    BenchServer server(bench.instrument);
    if (!server.Listening()) {
        state.SkipWithError("no loopback listener");
        return;
    }
    const int fd = server.Connect();
    std::string answer;
    for (auto _ : state) {
        if (!RoundTrip(fd, "*IDN?\n", answer)) state.SkipWithError("no answer");
    }
    state.SetLabel(answer.substr(0, answer.size() - 1));
    ::close(fd);
}
BENCHMARK(IdnRoundTrip)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

// *IDN? of one client while another runs a full 64 KiB line of calibrated setters: each of the
// other's units is one chip write with its 50 ms calibration pause, and the wait behind it
// should be one such unit at most. Reports the percentiles of the round trips.
void IdnBesideLongLine(benchmark::State &state) {
    BenchInstrument bench(true);
    BenchServer server(bench.instrument);
    if (!server.Listening()) {
        state.SkipWithError("no loopback listener");
        return;
    }
    const int busy = server.Connect();
    std::string line;
    // As long as a line may be: the limit counts the line without its end.
    const std::string last = "ODIV 2";
    while (line.size() + 14 + last.size() <= velorin::core::scpi::LineAssembler::kMaxLine) {
        line += "ODIV 2;ODIV 1;";
    }
    line += last + "\n";
    if (::send(busy, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size())) {
        state.SkipWithError("the long line was not sent");
    }
    const int fd = server.Connect();
    std::vector<double> millis;
    std::string answer;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!RoundTrip(fd, "*IDN?\n", answer)) state.SkipWithError("no answer");
        millis.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(millis.begin(), millis.end());
    const auto at = [&millis](double share) {
        return millis.empty() ? 0.0 : millis[static_cast<size_t>(share * (millis.size() - 1))];
    };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = at(1.0);
    // Leaving drops the rest of the long line.
    ::close(busy);
    ::close(fd);
}
BENCHMARK(IdnBesideLongLine)->Unit(benchmark::kMillisecond)->Iterations(200);

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
