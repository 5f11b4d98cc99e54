// Velorin_OpenUsbDevice and Velorin_CloseUsbDevice.
#include <cerrno>
#include <cstdio>

#include "device_directory.h"
#include "endpoint_transport.h"
#include "library_state.h"
#include "velorin.h"

using namespace velorin::board;

extern "C" int Velorin_OpenUsbDevice(void) {
    auto &state = State();
    int lastError = ENOENT;
    std::unique_ptr<Transport> opened;
    const int timeoutMs = RequestTimeoutMs();
    for (const auto &path : ListEndpoints(DeviceDirectory(), lastError)) {
        state.devicePath = path;
        std::printf("Attempting to open %s\n", path.c_str());
        std::fflush(stdout);
        int error = 0;
        opened = EndpointTransport::Connect(path, timeoutMs, error);
        if (opened) break;
        lastError = error;
        std::printf("FAILED to open %s\n", path.c_str());
        std::fflush(stdout);
    }
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
