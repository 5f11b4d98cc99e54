// Velorin_OpenUsbDevice and Velorin_CloseUsbDevice.
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "device_directory.h"
#include "endpoint_transport.h"
#include "library_state.h"
#include "usb_transport.h"
#include "velorin.h"

using namespace velorin::board;

namespace {

void Line(const char *format, const std::string &path) {
    std::printf(format, path.c_str());
    std::fflush(stdout);
}

std::unique_ptr<Transport> OpenEndpoint(LibraryState &state, int timeoutMs, int &lastError) {
    for (const auto &path : ListEndpoints(DeviceDirectory(), lastError)) {
        state.devicePath = path;
        Line("Attempting to open %s\n", path);
        int error = 0;
        if (auto opened = EndpointTransport::Connect(path, timeoutMs, error)) return opened;
        lastError = error;
        Line("FAILED to open %s\n", path);
    }
    return nullptr;
}

// VELORIN_USB_PORT=BUS-PORT ("1-3", as the kernel names the port) restricts the USB boards to
// the one on that port, so that several servers on one host each serve their own board.
bool OnWantedPort(const UsbDevice &device) {
    const char *wanted = std::getenv("VELORIN_USB_PORT");
    return wanted == nullptr || *wanted == '\0' || device.PortPath() == wanted;
}

bool IsSet(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// A process that asked for the USB board on one port wants that board, not an emulated one
// that happens to serve in the default device directory; a device directory it names itself
// is still searched.
bool EndpointsWanted() {
    return !IsSet("VELORIN_USB_PORT") || IsSet("VELORIN_DEVICE_DIR");
}

// The devices with a configured board id, in bus and port order. Without configured ids
// libusb is not started at all.
std::unique_ptr<Transport> OpenUsbBoard(LibraryState &state, int timeoutMs, int &lastError) {
    const UsbIdConfig ids = LoadUsbIds();
    if (ids.board.empty()) return nullptr;
    int error = 0;
    UsbContext context = OpenUsbContext(error);
    if (!context) {
        lastError = error;
        return nullptr;
    }
    std::vector<UsbDevice> devices = ListUsbDevices(context, error);
    if (error != 0) lastError = error;
    for (const auto &device : devices) {
        if (!Contains(ids.board, device.Id()) || !OnWantedPort(device)) continue;
        state.devicePath = device.NodePath();
        Line("Attempting to open %s\n", state.devicePath);
        if (auto opened = UsbTransport::Open(device, timeoutMs, error)) return opened;
        lastError = error;
        Line("FAILED to open %s\n", state.devicePath);
    }
    return nullptr;
}

}  // namespace

extern "C" int Velorin_OpenUsbDevice(void) {
    auto &state = State();
    int lastError = ENOENT;
    const int timeoutMs = RequestTimeoutMs();
    std::unique_ptr<Transport> opened;
    if (EndpointsWanted()) opened = OpenEndpoint(state, timeoutMs, lastError);
    if (!opened) opened = OpenUsbBoard(state, timeoutMs, lastError);
    if (!opened) {
        std::printf("Failed to open (%s) = %d", state.devicePath.c_str(), lastError);
    } else {
        std::printf("DeviceName = (%s)\n", state.devicePath.c_str());
    }
    std::fflush(stdout);

    // The result replaces any earlier connection; that one is released rather than leaked.
    state.connection = std::move(opened);
    if (!state.connection) return 1;
    state.i2cDeviceAddress = 0xA0;
    return 0;
}

extern "C" int Velorin_CloseUsbDevice(void) {
    auto &state = State();
    if (!state.connection) return 1;
    state.connection.reset();
    return 0;
}
