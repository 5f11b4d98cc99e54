// velorin-boardsim: serves one emulated board on one endpoint until interrupted.
#include <pthread.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "sim/emulator.h"
#include "velorin_version.h"

namespace {

std::string DefaultDeviceDir() {
    if (const char *dir = std::getenv("VELORIN_DEVICE_DIR"); dir != nullptr && *dir != '\0') {
        return dir;
    }
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
        return std::string(runtime) + "/velorin";
    }
    return "/tmp/velorin-" + std::to_string(::getuid());
}

int BlockNumber(const std::string &text) {
    if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'D') return text[0] - 'A';
    if (text.size() == 1 && text[0] >= 'a' && text[0] <= 'd') return text[0] - 'a';
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
    return -1;
}

int Serve(int argc, char **argv) {
    using velorin::sim::BoardKind;
    velorin::sim::EmulatorOptions options;
    options.deviceDir = DefaultDeviceDir();
    velorin::sim::Faults faults;
    std::string kind = "four-block";
    std::vector<std::string> supplyFaults;
    uint64_t failRequest = 0, failFrom = 0, dropAt = 0, truncateAt = 0, unplugAt = 0;
    int failCommand = -1;

    static_assert(velorin::sim::kRequestLogCapacity == 100000, "the help below names the capacity");
    CLI::App app{
        "Board emulator: serves one emulated evaluation board on an endpoint (a Unix-domain\n"
        "socket) in the device directory, where the board library finds it. SIGUSR1 unplugs the\n"
        "board (connections close, the endpoint disappears) and plugs it in again; SIGINT or\n"
        "SIGTERM stops the emulator. Request numbers, on which the faults are keyed, count from 1\n"
        "since the emulator started. It keeps the newest 100,000 requests in memory (about three\n"
        "hours of the program's poll); --log writes every one. sim/README.md describes the\n"
        "emulated board.",
        "velorin-boardsim"};
    app.add_option("--device-dir", options.deviceDir,
                   "Device directory the endpoint is created in, with mode 0700 when missing "
                   "(default: $VELORIN_DEVICE_DIR, else $XDG_RUNTIME_DIR/velorin, else "
                   "/tmp/velorin-<uid>)")
        ->option_text("DIR");
    app.add_option("--name", options.endpointName,
                   "Endpoint (socket) name in the device directory; the library opens the first "
                   "endpoint in name order (default: board0)")
        ->option_text("NAME");
    app.add_option("--board", kind,
                   "Board kind: four-block (identity byte 0x04, blocks A-D) or three-block "
                   "(identity byte 0x01, blocks A-C; block D requests fail)")
        ->check(CLI::IsMember({"four-block", "three-block"}))
        ->capture_default_str();
    app.add_option("--eeprom", options.eepromFile,
                   "Keep the board EEPROM in this file (created blank when missing; every write "
                   "goes to the file at once)")
        ->option_text("FILE");
    app.add_option("--log", options.logFile,
                   "Append every request to this file as a line: seconds since start, #number, "
                   "command, value, index, answer length and outcome")
        ->option_text("FILE");
    app.add_option("--fail-request", failRequest,
                   "Fail request number N (status 1; the board does not see it)")
        ->option_text("N");
    app.add_option("--fail-from", failFrom, "Fail every request from number N on")
        ->option_text("N");
    app.add_option("--fail-command", failCommand,
                   "Fail every request with command code CODE (decimal or 0x hexadecimal)")
        ->check(CLI::Range(0, 255))
        ->option_text("CODE");
    app.add_option("--drop-at", dropAt, "Close the connection instead of answering request N")
        ->option_text("N");
    app.add_option("--truncate-at", truncateAt,
                   "Answer request N with its status only, then close the connection")
        ->option_text("N");
    app.add_option("--unplug-at", unplugAt,
                   "Unplug the board when request N arrives (SIGUSR1 plugs it in again)")
        ->option_text("N");
    app.add_option("--latency-us", faults.latencyMicros, "Delay every answer by US microseconds")
        ->option_text("US");
    app.add_option("--supply-fault", supplyFaults,
                   "Inject a supply fault on BLOCK (A-D or 0-3): its port-3 status bit reads 1; "
                   "repeatable")
        ->option_text("BLOCK")
        ->check([](const std::string &text) {
            return BlockNumber(text) < 0 ? std::string("block must be A-D or 0-3") : std::string();
        });
    app.set_version_flag("--version", std::string("velorin-boardsim ") + VELORIN_PACKAGE_VERSION);
    CLI11_PARSE(app, argc, argv);

    options.kind = kind == "three-block" ? BoardKind::ThreeBlock : BoardKind::FourBlock;
    if (failRequest) faults.failRequest = failRequest;
    if (failFrom) faults.failFrom = failFrom;
    if (failCommand >= 0) faults.failCommand = static_cast<uint8_t>(failCommand);
    if (dropAt) faults.dropAt = dropAt;
    if (truncateAt) faults.truncateAt = truncateAt;
    if (unplugAt) faults.unplugAt = unplugAt;

    // Signals are taken by sigwait below, never by a handler in the server thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGUSR1);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    velorin::sim::Emulator emulator(options);
    std::string error;
    if (!emulator.Start(error)) {
        std::fprintf(stderr, "velorin-boardsim: %s\n", error.c_str());
        return 1;
    }
    emulator.SetFaults(faults);
    for (const auto &block : supplyFaults) {
        emulator.WithBoard([&](auto &board) { board.SetSupplyFault(BlockNumber(block), true); });
    }
    std::printf("velorin-boardsim: serving a %s board on %s (pid %d)\n", kind.c_str(),
                emulator.EndpointPath().c_str(), static_cast<int>(::getpid()));
    std::fflush(stdout);

    for (;;) {
        int signal = 0;
        if (sigwait(&signals, &signal) != 0) continue;
        if (signal != SIGUSR1) break;
        if (emulator.IsPlugged()) {
            emulator.Unplug();
            std::printf("velorin-boardsim: unplugged\n");
        } else if (emulator.Replug()) {
            std::printf("velorin-boardsim: plugged in again\n");
        } else {
            std::printf("velorin-boardsim: could not plug in again\n");
        }
        std::fflush(stdout);
    }
    emulator.Stop();
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    try {
        return Serve(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "velorin-boardsim: %s\n", e.what());
        return 1;
    }
}
