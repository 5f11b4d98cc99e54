// velorin-scpid: the evaluation board as a SCPI instrument on a raw TCP socket.
#include <netinet/in.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/base/thread_sleeper.h"
#include "core/device/library_board.h"
#include "core/scpi/instrument.h"
#include "server/allow_list.h"
#include "server/listen_address.h"
#include "server/mdns_announcer.h"
#include "server/scpi_server.h"
#include "velorin_version.h"

namespace {

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof(name) - 1) != 0) return "localhost";
    return name;
}

uint16_t PortOf(const sockaddr_storage &address) {
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&address)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in *>(&address)->sin_port);
}

// The library ends its "Failed to open" line without a line end; the server's own lines
// start on a line of their own.
void EndLibraryLine(const velorin::core::scpi::Instrument &instrument) {
    if (!instrument.Link().Lost()) return;
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool IsLoopback(const sockaddr_storage &address) {
    if (address.ss_family == AF_INET6) {
        const auto *v6 = reinterpret_cast<const sockaddr_in6 *>(&address);
        return IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr);
    }
    const auto *v4 = reinterpret_cast<const sockaddr_in *>(&address);
    return (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
}

}  // namespace

namespace {

int Serve(int argc, char **argv) {
    std::string listen = "127.0.0.1:5025";
    std::string deviceDir;
    std::string usbPort;
    std::string name;
    bool mdns = false;
    std::vector<std::string> allow;
    bool eepromWrites = false;
    int idleTimeout = 0;

    CLI::App app{
        "SCPI server: serves one evaluation board as an instrument (IEEE 488.2 and SCPI 1999.0\n"
        "on a raw TCP socket, one command line per LF-ended line) for PyVISA, LabVIEW and\n"
        "lxi-tools. The board is opened once and kept open; a lost board is reopened on the next\n"
        "command. Up to 8 clients at once; their commands take turns one at a time. SIGINT or\n"
        "SIGTERM stops the server.",
        "velorin-scpid"};
    app.add_option("--listen", listen,
                   "Address and port to listen on (default: 127.0.0.1:5025, this host only; "
                   "0.0.0.0:5025 serves the network; port 0 lets the system choose)")
        ->option_text("ADDR:PORT");
    app.add_option("--device-dir", deviceDir,
                   "Where emulated boards' endpoints are found (sets VELORIN_DEVICE_DIR)")
        ->option_text("DIR");
    app.add_option("--usb-port", usbPort,
                   "Serve only the USB board on this port, as the kernel names it, such as 1-3 "
                   "(sets VELORIN_USB_PORT); emulated boards are then looked for only in a "
                   "--device-dir given as well")
        ->option_text("BUS-PORT");
    app.add_option("--name", name,
                   "Instrument name announced by mDNS (default: MXRG817A EVAL [BUS-PORT] on "
                   "HOST)")
        ->option_text("NAME");
    app.add_flag("--mdns", mdns, "Announce the instrument through Avahi as _scpi-raw._tcp");
    app.add_option("--allow", allow,
                   "Serve only clients from these networks, CIDR blocks such as 192.168.10.0/24 or "
                   "fd00::/8 (repeatable, or separated by commas; default: every client, which on "
                   "an address beyond loopback is every host that reaches the port)")
        ->option_text("CIDR")
        ->delimiter(',');
    app.add_flag("--allow-eeprom-writes", eepromWrites,
                 "Let clients program and lock chip EEPROMs and write the crystal record "
                 "(EEPRom:PROGram, EEPRom:PROGram:LOCK, XTAL); without it they get -203");
    app.add_option("--idle-timeout", idleTimeout,
                   "Close a client that has sent nothing for this many seconds (default 0: never)")
        ->option_text("SECONDS")
        ->check(CLI::NonNegativeNumber);
    app.set_version_flag("--version", std::string("velorin-scpid ") + VELORIN_PACKAGE_VERSION);
    CLI11_PARSE(app, argc, argv);

    std::string error;
    const auto address = velorin::server::ParseListenAddress(listen, error);
    if (!address) {
        std::fprintf(stderr, "velorin-scpid: --listen %s: %s\n", listen.c_str(), error.c_str());
        return 2;
    }
    std::vector<velorin::server::Network> networks;
    for (const std::string &cidr : allow) {
        if (cidr.empty()) continue;  // ALLOW= left empty in a service's settings
        const auto network = velorin::server::ParseNetwork(cidr, error);
        if (!network) {
            std::fprintf(stderr, "velorin-scpid: --allow %s: %s\n", cidr.c_str(), error.c_str());
            return 2;
        }
        networks.push_back(*network);
    }
    velorin::server::ServerOptions serverOptions;
    serverOptions.allow = velorin::server::AllowList(std::move(networks));
    serverOptions.idle = std::chrono::seconds(idleTimeout);
    if (!deviceDir.empty()) ::setenv("VELORIN_DEVICE_DIR", deviceDir.c_str(), 1);
    if (!usbPort.empty()) ::setenv("VELORIN_USB_PORT", usbPort.c_str(), 1);
    if (name.empty()) {
        name = "MXRG817A EVAL " + (usbPort.empty() ? std::string() : usbPort + " ") + "on " +
               HostName();
    }

    // A client that goes away mid-answer must not end the server; the stop signals are read
    // from a descriptor by the loop.
    ::signal(SIGPIPE, SIG_IGN);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) {
        std::perror("velorin-scpid: signalfd");
        return 1;
    }

    velorin::core::LibraryBoard board;
    velorin::core::ThreadSleeper sleeper;
    velorin::core::scpi::Instrument instrument(board, sleeper, VELORIN_PACKAGE_VERSION,
                                               {eepromWrites});
    velorin::server::ScpiServer server(instrument, serverOptions);
    if (!server.Listen(*address, error)) {
        std::fprintf(stderr, "velorin-scpid: cannot listen on %s\n", error.c_str());
        return 1;
    }
    instrument.Start();
    EndLibraryLine(instrument);
    const sockaddr_storage bound = server.BoundAddress();
    if (!IsLoopback(bound) && serverOptions.allow.AllowsEveryone()) {
        std::fprintf(stderr,
                     "velorin-scpid: warning: listening on %s without --allow: every host that "
                     "reaches the port can drive the board; name the clients' networks with "
                     "--allow CIDR\n",
                     velorin::server::FormatAddress(bound).c_str());
    }

    std::unique_ptr<velorin::server::MdnsAnnouncer> announcer;
    if (mdns) {
        if (IsLoopback(bound)) {
            std::fprintf(stderr,
                         "velorin-scpid: note: listening on a loopback address, so the announced "
                         "instrument is reachable from this host only\n");
        }
        announcer = std::make_unique<velorin::server::MdnsAnnouncer>(name, PortOf(bound));
        if (!announcer->Start(error)) {
            std::fprintf(stderr, "velorin-scpid: mDNS announcement off: %s\n", error.c_str());
            announcer.reset();
        }
    }
    std::fprintf(stderr, "velorin-scpid: listening on %s%s\n",
                 velorin::server::FormatAddress(bound).c_str(),
                 eepromWrites ? " (EEPROM writes allowed)" : "");

    server.Run(stopFd);
    announcer.reset();
    ::close(stopFd);
    EndLibraryLine(instrument);
    std::fprintf(stderr, "velorin-scpid: stopped\n");
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    try {
        return Serve(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velorin-scpid: %s\n", e.what());
        return 1;
    }
}
