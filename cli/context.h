// What every command writes to and the global options they share.
#pragma once

#include <ostream>
#include <string>

namespace velorin::cli {

struct Context {
    std::ostream &out;
    std::ostream &err;
    std::string deviceDir;  // --device-dir: where boards are found (empty: the default place)
    bool trace = false;     // --trace: print every board call on standard error
    int exitCode = 0;
};

}  // namespace velorin::cli
