// An emulated board in a fresh temporary folder, opened through the library, for benchmarks.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "sim/emulator.h"
#include "velorin.h"

namespace velorin::bench {

class BenchBoard {
  public:
    BenchBoard() {
        char pattern[] = "/tmp/velorin-bench-XXXXXX";
        const char *made = ::mkdtemp(pattern);
        dir_ = made != nullptr ? made : "";
        sim::EmulatorOptions options;
        options.deviceDir = dir_ + "/dev";
        emulator_ = std::make_unique<sim::Emulator>(options);
        std::string error;
        if (!emulator_->Start(error)) std::fprintf(stderr, "%s\n", error.c_str());
        ::setenv("VELORIN_DEVICE_DIR", options.deviceDir.c_str(), 1);
        // The library's discovery lines would mix with the benchmark table.
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ok_ = Velorin_OpenUsbDevice() == 0;
        std::fflush(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        ::close(null);
    }
    ~BenchBoard() {
        Velorin_CloseUsbDevice();
        emulator_->Stop();
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    BenchBoard(const BenchBoard &) = delete;
    BenchBoard &operator=(const BenchBoard &) = delete;

    bool ok() const { return ok_; }
    const std::string &dir() const { return dir_; }

  private:
    std::string dir_;
    std::unique_ptr<sim::Emulator> emulator_;
    bool ok_ = false;
};

}  // namespace velorin::bench
