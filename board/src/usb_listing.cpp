// The USB listing exports: configured ids and the devices on the bus, for velorinctl usb and
// the udev rules.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "usb_ids.h"
#include "usb_transport.h"
#include "velorin.h"

using namespace velorin::board;

namespace {

const std::vector<UsbId> *IdsOf(const UsbIdConfig &config, int role) {
    if (role == VELORIN_USB_ROLE_BOARD) return &config.board;
    if (role == VELORIN_USB_ROLE_BOOT_LOADER) return &config.bootLoader;
    return nullptr;
}

UsbId FromC(VelorinUsbId id) {
    return {id.vendor, id.product};
}

// Copies the whole of `text` with its NUL, or fails leaving an empty (terminated) buffer.
int CopyText(const std::string &text, char *out, int32_t size) {
    if (out == nullptr || size <= 0) return 1;
    if (text.size() >= static_cast<size_t>(size)) {
        out[0] = '\0';
        return 1;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return 0;
}

void CopyField(const std::string &text, char *out, size_t size) {
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

int OpenError(const UsbDevice &device) {
    // Opening and closing at once tells whether the user may use the device.
    libusb_device_handle *handle = nullptr;
    const int opened = libusb_open(device.Raw(), &handle);
    if (opened != 0) return ErrnoFromLibusb(opened);
    libusb_close(handle);
    return 0;
}

}  // namespace

extern "C" int Velorin_ParseUsbId(const char *text, VelorinUsbId *id) {
    UsbId parsed;
    if (text == nullptr || id == nullptr || !ParseUsbId(text, parsed)) return 1;
    *id = {parsed.vendor, parsed.product};
    return 0;
}

extern "C" int Velorin_GetUsbIds(int role, VelorinUsbId *ids, int32_t capacity, int32_t *count) {
    const UsbIdConfig config = LoadUsbIds();
    const std::vector<UsbId> *configured = IdsOf(config, role);
    if (configured == nullptr || count == nullptr || (ids == nullptr && capacity > 0)) return 1;
    *count = static_cast<int32_t>(configured->size());
    for (int32_t i = 0; i < capacity && i < *count; ++i) {
        ids[i] = {(*configured)[static_cast<size_t>(i)].vendor,
                  (*configured)[static_cast<size_t>(i)].product};
    }
    return 0;
}

extern "C" int Velorin_GetUsbIdSource(int role, char *text, int32_t size) {
    if (role == VELORIN_USB_ROLE_BOARD) return CopyText(LoadUsbIds().boardSource, text, size);
    if (role == VELORIN_USB_ROLE_BOOT_LOADER) return CopyText(UsbIdFilePath(), text, size);
    return 1;
}

extern "C" int Velorin_GetInvalidUsbIds(char *text, int32_t size) {
    std::string lines;
    for (const auto &entry : LoadUsbIds().invalid) lines += entry + "\n";
    return CopyText(lines, text, size);
}

extern "C" int Velorin_IsUsbIdConfigured(int role, VelorinUsbId id) {
    const UsbIdConfig config = LoadUsbIds();
    const std::vector<UsbId> *configured = IdsOf(config, role);
    return configured != nullptr && Contains(*configured, FromC(id)) ? 0 : 1;
}

extern "C" int Velorin_ListUsbDevices(VelorinUsbDevice *devices, int32_t capacity, int32_t *count,
                                      int *error) {
    if (count == nullptr || error == nullptr || (devices == nullptr && capacity > 0)) return 1;
    *count = 0;
    *error = 0;
    UsbContext context = OpenUsbContext(*error);
    if (!context) return 1;
    const std::vector<UsbDevice> found = ListUsbDevices(context, *error);
    if (*error != 0) return 1;
    const UsbIdConfig config = LoadUsbIds();
    *count = static_cast<int32_t>(found.size());
    for (int32_t i = 0; i < capacity && i < *count; ++i) {
        const UsbDevice &device = found[static_cast<size_t>(i)];
        VelorinUsbDevice &out = devices[i];
        CopyField(device.PortPath(), out.port, sizeof(out.port));
        CopyField(device.NodePath(), out.node, sizeof(out.node));
        out.id = {device.Id().vendor, device.Id().product};
        out.role = Contains(config.board, device.Id())        ? VELORIN_USB_ROLE_BOARD
                   : Contains(config.bootLoader, device.Id()) ? VELORIN_USB_ROLE_BOOT_LOADER
                                                              : VELORIN_USB_ROLE_NONE;
        out.openError = OpenError(device);
    }
    return 0;
}
