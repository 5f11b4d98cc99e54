// What every command writes to and the global options they share.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace velorin::cli {

// The terminal a command may talk to: where questions are answered (none: not interactive)
// and whether standard output is a terminal (progress bars instead of plain lines).
struct TerminalIo {
    std::istream *input = nullptr;
    bool outputIsTerminal = false;
};

struct Context {
    std::ostream &out;
    std::ostream &err;
    std::string deviceDir;  // --device-dir: where boards are found (empty: the default place)
    bool trace = false;     // --trace: print every board call on standard error
    int exitCode = 0;
    TerminalIo terminal;
};

}  // namespace velorin::cli
