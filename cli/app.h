// velorinctl as a library: tests run the same entry point in-process.
#pragma once

#include <ostream>

namespace velorin::cli {

// Exit codes: 0 success, 1 operation or board failure, 2 usage error.
int RunVelorinCtl(int argc, const char *const *argv, std::ostream &out, std::ostream &err);

}  // namespace velorin::cli
