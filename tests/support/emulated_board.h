// An emulated board served in-process from a fresh temporary device directory, which the
// library is pointed at for the life of the object.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "sim/emulator.h"

namespace velorin::testing {

class EmulatedBoard {
  public:
    explicit EmulatedBoard(sim::BoardKind kind = sim::BoardKind::FourBlock,
                           const std::string &name = "board0", std::string eepromFile = {}) {
        char pattern[] = "/tmp/velorin-test-XXXXXX";
        const char *made = ::mkdtemp(pattern);
        root_ = made != nullptr ? made : "";
        dir_ = root_ + "/dev";
        ::setenv("VELORIN_DEVICE_DIR", dir_.c_str(), 1);
        sim::EmulatorOptions options;
        options.deviceDir = dir_;
        options.endpointName = name;
        options.kind = kind;
        options.eepromFile = std::move(eepromFile);
        emulator_ = std::make_unique<sim::Emulator>(options);
        std::string error;
        started_ = emulator_->Start(error);
        EXPECT_TRUE(started_) << error;
    }

    ~EmulatedBoard() {
        emulator_->Stop();
        std::error_code ignored;
        if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
    }

    EmulatedBoard(const EmulatedBoard &) = delete;
    EmulatedBoard &operator=(const EmulatedBoard &) = delete;

    bool Started() const { return started_; }
    sim::Emulator &Emulator() { return *emulator_; }
    const std::string &DeviceDir() const { return dir_; }
    const std::string &Root() const { return root_; }

  private:
    std::string root_;
    std::string dir_;
    std::unique_ptr<sim::Emulator> emulator_;
    bool started_ = false;
};

}  // namespace velorin::testing
