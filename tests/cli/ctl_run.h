// Running velorinctl in-process against an emulated board.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"
#include "support/emulated_board.h"

namespace velorin::testing {

struct CtlResult {
    int code = 0;
    std::string out;
    std::string err;
};

inline CtlResult RunCtl(std::vector<std::string> args, const cli::TerminalIo &terminal = {}) {
    args.insert(args.begin(), "velorinctl");
    std::vector<const char *> argv;
    argv.reserve(args.size());
    for (const auto &a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    CtlResult run;
    run.code = cli::RunVelorinCtl(static_cast<int>(argv.size()), argv.data(), out, err, terminal);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A board for command tests: every command is given its device directory.
class CtlBoardTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(board_.Started()); }

    CtlResult Ctl(std::vector<std::string> args, const cli::TerminalIo &terminal = {}) {
        board_.Emulator().ClearLog();
        args.insert(args.begin(), {"--device-dir", board_.DeviceDir()});
        return RunCtl(std::move(args), terminal);
    }

    template <typename F>
    auto WithBoard(F &&f) {
        return board_.Emulator().WithBoard(std::forward<F>(f));
    }
    std::vector<sim::LogEntry> Log() { return board_.Emulator().Log(); }

    EmulatedBoard board_;
};

}  // namespace velorin::testing
