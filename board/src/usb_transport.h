// A board on USB, reached through libusb-1.0. Each request is one vendor control transfer to
// the device: bRequest = command, wValue = value, wIndex = index; an answer of 1 or 2 bytes is
// an IN transfer of that length, no answer an OUT transfer without data. The reserved byte has
// no place in the setup packet and is not sent.
#pragma once

#include <libusb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "transport.h"
#include "usb_ids.h"

namespace velorin::board {

using UsbContext = std::shared_ptr<libusb_context>;

// A new libusb context, or nullptr with `error` set (errno style) when libusb cannot start,
// for example on a machine without a USB bus.
UsbContext OpenUsbContext(int &error);

// One device on the bus, holding a reference to it.
class UsbDevice {
  public:
    UsbDevice(UsbContext context, libusb_device *device);
    ~UsbDevice();
    UsbDevice(UsbDevice &&other) noexcept;
    UsbDevice &operator=(UsbDevice &&other) noexcept;
    UsbDevice(const UsbDevice &) = delete;
    UsbDevice &operator=(const UsbDevice &) = delete;

    UsbId Id() const { return id_; }
    uint8_t Bus() const { return bus_; }
    uint8_t Address() const { return address_; }
    const std::vector<uint8_t> &Ports() const { return ports_; }
    // "/dev/bus/usb/BBB/DDD"
    std::string NodePath() const;
    // "B-P.P.P", as the kernel names the device
    std::string PortPath() const;

    libusb_device *Raw() const { return device_; }
    const UsbContext &Context() const { return context_; }

  private:
    UsbContext context_;
    libusb_device *device_ = nullptr;
    UsbId id_;
    uint8_t bus_ = 0;
    uint8_t address_ = 0;
    std::vector<uint8_t> ports_;
};

// Every device libusb sees, in bus and port order.
std::vector<UsbDevice> ListUsbDevices(const UsbContext &context, int &error);

class UsbTransport : public Transport {
  public:
    // Opens the device. On failure returns nullptr and sets `error` to the errno that matches
    // libusb's error (EACCES for a node the user may not open).
    static std::unique_ptr<UsbTransport> Open(const UsbDevice &device, int timeoutMs, int &error);
    ~UsbTransport() override;
    UsbTransport(const UsbTransport &) = delete;
    UsbTransport &operator=(const UsbTransport &) = delete;

    bool Exchange(const BoardRequest &request, uint8_t *answer) override;

  private:
    UsbTransport(UsbContext context, libusb_device_handle *handle, int timeoutMs)
        : context_(std::move(context)), handle_(handle), timeoutMs_(timeoutMs) {}

    UsbContext context_;  // outlives the handle
    libusb_device_handle *handle_;
    int timeoutMs_;
};

// The errno that best says what a libusb error means.
int ErrnoFromLibusb(int libusbError);

// The setup packet's request type for a board request of `answerLength` bytes.
uint8_t BoardRequestType(uint8_t answerLength);

}  // namespace velorin::board
