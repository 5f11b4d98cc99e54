#include "cli/board_session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/trace/traffic_table.h"

namespace velorin::cli {

namespace {

constexpr const char *kNoBoard = "No board found: is an emulated or real board running?";

}  // namespace

BoardSession::BoardSession(const Context &context) {
    if (!context.deviceDir.empty()) ::setenv("VELORIN_DEVICE_DIR", context.deviceDir.c_str(), 1);
    if (context.trace) {
        std::ostream &err = context.err;
        const core::TrafficLog &log = trace_;
        trace_.SetSink([&err, &log](const core::BoardCall &call) {
            err << "trace: " << core::TraceLine(call, log.Origin()) << "\n";
        });
        tracing_.emplace(library_, trace_);
    }
    // The library writes its discovery lines to standard output, where they would corrupt the
    // results a script reads. They are caught and shown on standard error when they explain
    // something: with --trace, or when no board could be opened. Without a spare descriptor
    // standard output is left alone.
    std::fflush(stdout);
    std::FILE *caught = std::tmpfile();
    const int savedStdout = caught != nullptr ? ::dup(STDOUT_FILENO) : -1;
    if (savedStdout >= 0) ::dup2(::fileno(caught), STDOUT_FILENO);
    open_ = Board().Open();
    std::fflush(stdout);
    if (savedStdout >= 0) {
        ::dup2(savedStdout, STDOUT_FILENO);
        ::close(savedStdout);
    }
    if (caught != nullptr) {
        if (savedStdout >= 0 && (context.trace || !open_)) {
            std::rewind(caught);
            std::string lines;
            char chunk[512];
            size_t got = 0;
            while ((got = std::fread(chunk, 1, sizeof(chunk), caught)) > 0)
                lines.append(chunk, got);
            // The failure line has no line end of its own.
            if (!lines.empty() && lines.back() != '\n') lines += '\n';
            context.err << lines;
        }
        std::fclose(caught);
    }
}

BoardSession::~BoardSession() {
    if (open_) Board().Close();
}

core::Board &BoardSession::Board() {
    if (tracing_) return *tracing_;
    return library_;
}

bool OpenOrReport(BoardSession &session, Context &context) {
    if (session.IsOpen()) return true;
    context.err << kNoBoard << "\n";
    context.exitCode = 1;
    return false;
}

}  // namespace velorin::cli
