// Library tests against boards on an emulated USB bus. The program runs with umockdev's preload
// library (the test's environment sets it), so libusb sees only the testbed's devices.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "sim/usb/usb_board.h"
#include "velorin.h"

namespace velorin::testing {

// Ids that no real device uses in these tests: the board, and a device that is not a board.
inline constexpr uint16_t kVendor = 0xfeed;
inline constexpr uint16_t kBoardProduct = 0x0817;
inline constexpr uint16_t kOtherProduct = 0x0001;

class UsbBoardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("VELORIN_USB_IDS", "feed:0817", 1);
        // An empty device directory: no endpoint comes before the USB boards.
        char pattern[] = "/tmp/velorin-usb-test-XXXXXX";
        const char *made = ::mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        root_ = made;
        ::setenv("VELORIN_DEVICE_DIR", (root_ + "/dev").c_str(), 1);
        testbed_ = std::make_unique<sim::UsbTestbed>();
        ASSERT_TRUE(testbed_->Active())
            << "run under umockdev (LD_PRELOAD=libumockdev-preload.so.0 or umockdev-wrapper)";
    }

    void TearDown() override {
        Velorin_CloseUsbDevice();
        boards_.clear();
        testbed_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
        ::unsetenv("VELORIN_USB_IDS");
    }

    sim::UsbBoard &AddBoard(uint8_t address, uint8_t port, uint16_t product = kBoardProduct) {
        sim::UsbBoardOptions options;
        options.vendor = kVendor;
        options.product = product;
        options.address = address;
        options.ports = {port};
        boards_.push_back(std::make_unique<sim::UsbBoard>(*testbed_, options));
        std::string error;
        EXPECT_TRUE(boards_.back()->Plug(error)) << error;
        return *boards_.back();
    }

    // Opens and returns the library's discovery lines.
    std::string Open(int &result) {
        ::testing::internal::CaptureStdout();
        result = Velorin_OpenUsbDevice();
        return ::testing::internal::GetCapturedStdout();
    }

    std::string root_;
    std::unique_ptr<sim::UsbTestbed> testbed_;
    std::vector<std::unique_ptr<sim::UsbBoard>> boards_;
};

}  // namespace velorin::testing
