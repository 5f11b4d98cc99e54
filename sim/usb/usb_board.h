// An emulated board on an emulated USB bus (umockdev): the same board model as the endpoint
// emulator answers the vendor control transfers that reach the device node. Only programs run
// with umockdev's preload library see the bus; tests and benchmarks use it in-process.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/board_model.h"

namespace velorin::sim {

// One USB control transfer's setup packet as the device received it.
struct SetupPacket {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;
    bool operator==(const SetupPacket &) const = default;
};

struct UsbTransferEntry {
    uint64_t number = 0;  // 1-based, counted since the log was last cleared
    SetupPacket setup;
    bool stalled = false;
};

// A fake /sys and /dev for the process, removed with the object.
class UsbTestbed {
  public:
    UsbTestbed();
    ~UsbTestbed();
    UsbTestbed(const UsbTestbed &) = delete;
    UsbTestbed &operator=(const UsbTestbed &) = delete;

    // Whether the process runs with the preload library, so that the testbed is what it sees.
    bool Active() const;
    std::string RootDir() const;
    void *Raw() const { return testbed_; }

  private:
    void *testbed_ = nullptr;
};

struct UsbBoardOptions {
    uint16_t vendor = 0;
    uint16_t product = 0;
    uint8_t bus = 1;
    uint8_t address = 2;
    std::vector<uint8_t> ports{1};
    BoardKind kind = BoardKind::FourBlock;
};

class UsbBoard {
  public:
    UsbBoard(UsbTestbed &testbed, UsbBoardOptions options);
    ~UsbBoard();
    UsbBoard(const UsbBoard &) = delete;
    UsbBoard &operator=(const UsbBoard &) = delete;

    // Plugs the board in at `address` (a replugged device gets a new address, as on a real bus).
    bool Plug(uint8_t address, std::string &error);
    bool Plug(std::string &error) { return Plug(options_.address, error); }
    // Pulls the cable: every further request on an open handle fails with ENODEV, the "remove"
    // event goes out and the device leaves the bus.
    void Unplug();
    bool Plugged() const { return plugged_; }

    // "/dev/bus/usb/BBB/DDD" of the device as plugged now.
    std::string NodePath() const;
    // Takes every permission off the device node (only a privileged process can still open
    // it), or gives them back.
    bool SetAccessible(bool accessible);

    // Transfer `n` (counted like the log) stalls; the unplug fault pulls the cable when transfer
    // `n` arrives, which then fails like the rest.
    void StallTransfer(uint64_t n);
    void UnplugAtTransfer(uint64_t n);
    void ClearFaults();

    std::vector<UsbTransferEntry> Log() const;
    void ClearLog();

    template <typename F>
    auto WithBoard(F &&f) {
        std::lock_guard lock(mutex_);
        return f(board_);
    }

    // Called from umockdev's thread.
    bool HandleIoctl(void *client);

  private:
    std::string Record(uint8_t address) const;
    bool HandleSubmit(void *client, void *arg);
    bool HandleReap(void *client, void *arg);
    void DropPending();

    UsbTestbed &testbed_;
    UsbBoardOptions options_;
    uint8_t address_;
    bool plugged_ = false;
    void *handler_ = nullptr;

    // Shared with umockdev's thread.
    mutable std::mutex mutex_;
    BoardModel board_;
    bool cut_ = false;
    uint64_t counter_ = 0;
    uint64_t stallAt_ = 0;
    uint64_t unplugAt_ = 0;
    std::vector<UsbTransferEntry> log_;
    std::vector<void *> completed_;  // URBs answered at submit, waiting to be reaped
};

}  // namespace velorin::sim
