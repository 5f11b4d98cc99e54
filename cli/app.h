// velorinctl as a library: tests run the same entry point in-process.
#pragma once

#include <ostream>

#include "cli/context.h"

namespace velorin::cli {

// Exit codes: 0 success, 1 operation or board failure, 2 usage error.
// Questions go to the process's terminal when standard input is one.
int RunVelorinCtl(int argc, const char *const *argv, std::ostream &out, std::ostream &err);
int RunVelorinCtl(int argc, const char *const *argv, std::ostream &out, std::ostream &err,
                  const TerminalIo &terminal);

}  // namespace velorin::cli
