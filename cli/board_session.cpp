#include "cli/board_session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace velorin::cli {

namespace {

constexpr const char *kNoBoard = "No board found: is an emulated or real board running?";

}  // namespace

BoardSession::BoardSession(const Context &context) {
    if (!context.deviceDir.empty()) ::setenv("VELORIN_DEVICE_DIR", context.deviceDir.c_str(), 1);
    if (context.trace) {
        std::ostream &err = context.err;
        trace_.SetSink([&err](const core::TraceEntry &, const std::string &line) {
            err << "trace: " << line << "\n";
        });
        tracing_.emplace(library_, trace_);
    }
    // The library's discovery lines belong on the diagnostic stream of a command-line tool,
    // where they cannot corrupt the results a script reads from standard output.
    // Without a spare descriptor to restore it from, standard output is left alone.
    std::fflush(stdout);
    const int savedStdout = ::dup(STDOUT_FILENO);
    if (savedStdout >= 0) ::dup2(STDERR_FILENO, STDOUT_FILENO);
    open_ = Board().Open();
    // The failure line has no line end of its own.
    if (!open_) std::fputc('\n', stdout);
    std::fflush(stdout);
    if (savedStdout >= 0) {
        ::dup2(savedStdout, STDOUT_FILENO);
        ::close(savedStdout);
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
