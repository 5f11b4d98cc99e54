#include "usb_transport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <utility>

namespace velorin::board {

int ErrnoFromLibusb(int libusbError) {
    switch (libusbError) {
        case LIBUSB_ERROR_IO:
            return EIO;
        case LIBUSB_ERROR_INVALID_PARAM:
            return EINVAL;
        case LIBUSB_ERROR_ACCESS:
            return EACCES;
        case LIBUSB_ERROR_NO_DEVICE:
            return ENODEV;
        case LIBUSB_ERROR_NOT_FOUND:
            return ENOENT;
        case LIBUSB_ERROR_BUSY:
            return EBUSY;
        case LIBUSB_ERROR_TIMEOUT:
            return ETIMEDOUT;
        case LIBUSB_ERROR_OVERFLOW:
            return EOVERFLOW;
        case LIBUSB_ERROR_PIPE:
            return EPIPE;
        case LIBUSB_ERROR_INTERRUPTED:
            return EINTR;
        case LIBUSB_ERROR_NO_MEM:
            return ENOMEM;
        case LIBUSB_ERROR_NOT_SUPPORTED:
            return ENOSYS;
        default:
            return EIO;
    }
}

uint8_t BoardRequestType(uint8_t answerLength) {
    const uint8_t direction = answerLength > 0 ? LIBUSB_ENDPOINT_IN : LIBUSB_ENDPOINT_OUT;
    return static_cast<uint8_t>(static_cast<unsigned>(LIBUSB_REQUEST_TYPE_VENDOR) |
                                static_cast<unsigned>(LIBUSB_RECIPIENT_DEVICE) | direction);
}

UsbContext OpenUsbContext(int &error) {
    libusb_context *context = nullptr;
    const int result = libusb_init(&context);
    if (result != 0) {
        error = ErrnoFromLibusb(result);
        return nullptr;
    }
    return UsbContext(context, [](libusb_context *c) { libusb_exit(c); });
}

UsbDevice::UsbDevice(UsbContext context, libusb_device *device)
    : context_(std::move(context)), device_(libusb_ref_device(device)) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device_, &descriptor) == 0) {
        id_ = {descriptor.idVendor, descriptor.idProduct};
    }
    bus_ = libusb_get_bus_number(device_);
    address_ = libusb_get_device_address(device_);
    uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device_, ports, sizeof(ports));
    if (depth > 0) ports_.assign(ports, ports + depth);
}

UsbDevice::~UsbDevice() {
    if (device_ != nullptr) libusb_unref_device(device_);
}

UsbDevice::UsbDevice(UsbDevice &&other) noexcept
    : context_(std::move(other.context_)),
      device_(std::exchange(other.device_, nullptr)),
      id_(other.id_),
      bus_(other.bus_),
      address_(other.address_),
      ports_(std::move(other.ports_)) {}

UsbDevice &UsbDevice::operator=(UsbDevice &&other) noexcept {
    if (this != &other) {
        if (device_ != nullptr) libusb_unref_device(device_);
        device_ = std::exchange(other.device_, nullptr);
        context_ = std::move(other.context_);
        id_ = other.id_;
        bus_ = other.bus_;
        address_ = other.address_;
        ports_ = std::move(other.ports_);
    }
    return *this;
}

std::string UsbDevice::NodePath() const {
    char path[32];
    std::snprintf(path, sizeof(path), "/dev/bus/usb/%03u/%03u", bus_, address_);
    return path;
}

std::string UsbDevice::PortPath() const {
    std::string path = std::to_string(bus_);
    for (size_t i = 0; i < ports_.size(); ++i) {
        path += (i == 0 ? "-" : ".") + std::to_string(ports_[i]);
    }
    return path;
}

std::vector<UsbDevice> ListUsbDevices(const UsbContext &context, int &error) {
    std::vector<UsbDevice> devices;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context.get(), &list);
    if (count < 0) {
        error = ErrnoFromLibusb(static_cast<int>(count));
        return devices;
    }
    devices.reserve(static_cast<size_t>(count));
    for (ssize_t i = 0; i < count; ++i) devices.emplace_back(context, list[i]);
    libusb_free_device_list(list, 1);
    std::sort(devices.begin(), devices.end(), [](const UsbDevice &a, const UsbDevice &b) {
        return std::make_tuple(a.Bus(), a.Ports(), a.Address()) <
               std::make_tuple(b.Bus(), b.Ports(), b.Address());
    });
    return devices;
}

std::unique_ptr<UsbTransport> UsbTransport::Open(const UsbDevice &device, int timeoutMs,
                                                 int &error) {
    libusb_device_handle *handle = nullptr;
    const int result = libusb_open(device.Raw(), &handle);
    if (result != 0) {
        error = ErrnoFromLibusb(result);
        return nullptr;
    }
    // Vendor requests to the device go over endpoint 0 and need no claimed interface, so other
    // programs (velorinctl beside the windowed program) may use the board too, as on endpoints.
    return std::unique_ptr<UsbTransport>(new UsbTransport(device.Context(), handle, timeoutMs));
}

UsbTransport::~UsbTransport() {
    libusb_close(handle_);
}

bool UsbTransport::Exchange(const BoardRequest &request, uint8_t *answer) {
    if (request.answerLength > 2) return false;
    uint8_t received[2] = {0, 0};
    // libusb waits at most the request timeout, and fails at once once the device is gone.
    const int result = libusb_control_transfer(
        handle_, BoardRequestType(request.answerLength), request.command, request.value,
        request.index, request.answerLength > 0 ? received : nullptr, request.answerLength,
        static_cast<unsigned>(timeoutMs_));
    if (result < 0) return false;
    if (answer != nullptr) std::memcpy(answer, received, request.answerLength);
    return true;
}

}  // namespace velorin::board
