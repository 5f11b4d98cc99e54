#include "cli/board_session.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "velorin.h"

namespace velorin::cli {

BoardSession::BoardSession(const Context &context) {
    if (!context.deviceDir.empty()) ::setenv("VELORIN_DEVICE_DIR", context.deviceDir.c_str(), 1);
    // The library's discovery lines belong on the diagnostic stream of a command-line tool,
    // where they cannot corrupt the results a script reads from standard output.
    std::fflush(stdout);
    int savedStdout = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    open_ = Velorin_OpenUsbDevice() == 0;
    // The failure line has no line end of its own.
    if (!open_) std::fputc('\n', stdout);
    std::fflush(stdout);
    if (savedStdout >= 0) {
        ::dup2(savedStdout, STDOUT_FILENO);
        ::close(savedStdout);
    }
}

BoardSession::~BoardSession() {
    if (open_) Velorin_CloseUsbDevice();
}

}  // namespace velorin::cli
