#include "sim/usb/usb_board.h"

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <umockdev.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velorin::sim {

namespace {

constexpr uint8_t kVendorRequest = 0x40;  // type vendor, recipient device
constexpr uint8_t kDirectionIn = 0x80;

UMockdevTestbed *Bed(void *raw) {
    return static_cast<UMockdevTestbed *>(raw);
}

gboolean OnIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer board) {
    return static_cast<UsbBoard *>(board)->HandleIoctl(client) ? TRUE : FALSE;
}

std::string Hex16(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof(text), "%04x", value);
    return text;
}

std::string HexByte(unsigned value) {
    char text[4];
    std::snprintf(text, sizeof(text), "%02x", value & 0xFF);
    return text;
}

}  // namespace

UsbTestbed::UsbTestbed() : testbed_(umockdev_testbed_new()) {}

UsbTestbed::~UsbTestbed() {
    if (testbed_ != nullptr) g_object_unref(Bed(testbed_));
}

bool UsbTestbed::Active() const {
    // Asked only now that the testbed exists: umockdev keeps its first answer.
    return testbed_ != nullptr && umockdev_in_mock_environment();
}

std::string UsbTestbed::RootDir() const {
    gchar *root = umockdev_testbed_get_root_dir(Bed(testbed_));
    std::string result = root != nullptr ? root : "";
    g_free(root);
    return result;
}

UsbBoard::UsbBoard(UsbTestbed &testbed, UsbBoardOptions options)
    : testbed_(testbed),
      options_(std::move(options)),
      address_(options_.address),
      board_(options_.kind) {
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect_after(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), this);
}

UsbBoard::~UsbBoard() {
    if (plugged_) Unplug();
    umockdev_testbed_detach_ioctl(Bed(testbed_.Raw()), NodePath().c_str(), nullptr);
    DropPending();
    g_object_unref(handler_);
}

std::string UsbBoard::NodePath() const {
    char path[32];
    std::snprintf(path, sizeof(path), "/dev/bus/usb/%03u/%03u", options_.bus, address_);
    return path;
}

// The sysfs record of the device: as the kernel shows a full-speed vendor-class device with one
// configuration and one interface.
std::string UsbBoard::Record(uint8_t address) const {
    std::string name = std::to_string(options_.bus);
    std::string devicePath = "/devices/pci0000:00/0000:00:14.0/usb" + name;
    for (size_t i = 0; i < options_.ports.size(); ++i) {
        name += (i == 0 ? "-" : ".") + std::to_string(options_.ports[i]);
        devicePath += "/" + name;
    }
    char node[32];
    std::snprintf(node, sizeof(node), "bus/usb/%03u/%03u", options_.bus, address);
    const unsigned minor = (options_.bus - 1u) * 128u + (address - 1u);
    const std::string descriptors = "12010002ff000040" + HexByte(options_.vendor) +
                                    HexByte(options_.vendor >> 8u) + HexByte(options_.product) +
                                    HexByte(options_.product >> 8u) + "000101020001" +
                                    "09021200010100803209040000" + "00ff000000";
    char product[32];
    std::snprintf(product, sizeof(product), "%x/%x/100", options_.vendor, options_.product);
    std::string record;
    record += "P: " + devicePath + "\n";
    record += std::string("N: ") + node + "\n";
    record += std::string("E: DEVNAME=/dev/") + node + "\n";
    record += "E: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nE: DRIVER=usb\n";
    record += std::string("E: PRODUCT=") + product + "\n";
    record +=
        "E: BUSNUM=" + std::string(node + 8, 3) + "\nE: DEVNUM=" + std::string(node + 12, 3) + "\n";
    record += "A: busnum=" + std::to_string(options_.bus) + "\\n\n";
    record += "A: devnum=" + std::to_string(address) + "\\n\n";
    record += "A: dev=189:" + std::to_string(minor) + "\\n\n";
    record += "A: idVendor=" + Hex16(options_.vendor) + "\\n\n";
    record += "A: idProduct=" + Hex16(options_.product) + "\\n\n";
    record += "A: bConfigurationValue=1\\n\nA: speed=12\\n\n";
    record += "H: descriptors=" + descriptors + "\n";
    return record;
}

bool UsbBoard::Plug(uint8_t address, std::string &error) {
    if (plugged_) return true;
    auto *bed = Bed(testbed_.Raw());
    umockdev_testbed_detach_ioctl(bed, NodePath().c_str(), nullptr);
    {
        std::lock_guard lock(mutex_);
        cut_ = false;
        DropPending();
    }
    address_ = address;
    GError *failure = nullptr;
    // The handler is in place before the device appears, so an open right after "add" works.
    if (!umockdev_testbed_attach_ioctl(bed, NodePath().c_str(), UMOCKDEV_IOCTL_BASE(handler_),
                                       &failure) ||
        !umockdev_testbed_add_from_string(bed, Record(address).c_str(), &failure)) {
        error = failure != nullptr ? failure->message : "umockdev refused the device";
        if (failure != nullptr) g_error_free(failure);
        return false;
    }
    plugged_ = true;
    return true;
}

void UsbBoard::Unplug() {
    if (!plugged_) return;
    {
        std::lock_guard lock(mutex_);
        cut_ = true;
        DropPending();
    }
    auto *bed = Bed(testbed_.Raw());
    std::string sysPath = "/sys/devices/pci0000:00/0000:00:14.0/usb" + std::to_string(options_.bus);
    std::string name = std::to_string(options_.bus);
    for (size_t i = 0; i < options_.ports.size(); ++i) {
        name += (i == 0 ? "-" : ".") + std::to_string(options_.ports[i]);
        sysPath += "/" + name;
    }
    // "remove" first: once the device is gone there is nothing left to send it about.
    umockdev_testbed_uevent(bed, sysPath.c_str(), "remove");
    umockdev_testbed_remove_device(bed, sysPath.c_str());
    plugged_ = false;
}

bool UsbBoard::SetAccessible(bool accessible) {
    const std::string node = testbed_.RootDir() + NodePath();
    return ::chmod(node.c_str(), accessible ? 0666 : 0) == 0;
}

void UsbBoard::StallTransfer(uint64_t n) {
    std::lock_guard lock(mutex_);
    stallAt_ = n;
}

void UsbBoard::UnplugAtTransfer(uint64_t n) {
    std::lock_guard lock(mutex_);
    unplugAt_ = n;
}

void UsbBoard::ClearFaults() {
    std::lock_guard lock(mutex_);
    stallAt_ = 0;
    unplugAt_ = 0;
}

std::vector<UsbTransferEntry> UsbBoard::Log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void UsbBoard::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    counter_ = 0;
}

void UsbBoard::DropPending() {
    for (void *urb : completed_) umockdev_ioctl_data_unref(static_cast<UMockdevIoctlData *>(urb));
    completed_.clear();
}

bool UsbBoard::HandleIoctl(void *rawClient) {
    auto *client = static_cast<UMockdevIoctlClient *>(rawClient);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    {
        std::lock_guard lock(mutex_);
        if (cut_) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            return true;
        }
    }
    switch (request) {
        case USBDEVFS_GET_CAPABILITIES: {
            UMockdevIoctlData *caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(guint32), nullptr);
            if (caps == nullptr) break;
            const guint32 value = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                  USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
            std::memcpy(caps->data, &value, sizeof(value));
            umockdev_ioctl_client_complete(client, 0, 0);
            umockdev_ioctl_data_unref(caps);
            return true;
        }
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_RELEASEINTERFACE:
        case USBDEVFS_CLEAR_HALT:
        case USBDEVFS_RESETEP:
            umockdev_ioctl_client_complete(client, 0, 0);
            return true;
        case USBDEVFS_SUBMITURB:
            return HandleSubmit(client, arg);
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY:
            return HandleReap(client, arg);
        default:
            break;
    }
    umockdev_ioctl_client_complete(client, -1, ENOTTY);
    return true;
}

// Every control URB is answered at once; the answer waits in `completed_` until it is reaped.
bool UsbBoard::HandleSubmit(void *rawClient, void *rawArg) {
    auto *client = static_cast<UMockdevIoctlClient *>(rawClient);
    auto *arg = static_cast<UMockdevIoctlData *>(rawArg);
    UMockdevIoctlData *urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
    if (urbData == nullptr) {
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return true;
    }
    auto *urb = reinterpret_cast<usbdevfs_urb *>(urbData->data);
    UMockdevIoctlData *buffer =
        urb->type == USBDEVFS_URB_TYPE_CONTROL && urb->buffer_length >= 8
            ? umockdev_ioctl_data_resolve(urbData, G_STRUCT_OFFSET(usbdevfs_urb, buffer),
                                          static_cast<gsize>(urb->buffer_length), nullptr)
            : nullptr;
    if (buffer == nullptr) {
        umockdev_ioctl_data_unref(urbData);
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return true;
    }
    const uint8_t *bytes = buffer->data;
    UsbTransferEntry entry;
    entry.setup = {bytes[0], bytes[1], static_cast<uint16_t>(bytes[2] | bytes[3] << 8),
                   static_cast<uint16_t>(bytes[4] | bytes[5] << 8),
                   static_cast<uint16_t>(bytes[6] | bytes[7] << 8)};
    const SetupPacket &setup = entry.setup;

    std::unique_lock lock(mutex_);
    entry.number = ++counter_;
    if (unplugAt_ != 0 && entry.number >= unplugAt_) {
        cut_ = true;
        DropPending();
        lock.unlock();
        umockdev_ioctl_data_unref(buffer);
        umockdev_ioctl_data_unref(urbData);
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return true;
    }
    // The board takes vendor requests to the device only: IN with 1 or 2 answer bytes, OUT
    // without data. Anything else, and whatever the board model refuses, stalls.
    const bool in = (setup.requestType & kDirectionIn) != 0;
    const bool wellFormed = (setup.requestType & 0x7F) == kVendorRequest &&
                            (in ? setup.length >= 1 && setup.length <= 2 : setup.length == 0) &&
                            static_cast<int>(setup.length) + 8 <= urb->buffer_length;
    BoardAnswer answer;
    if (wellFormed && entry.number != stallAt_) {
        answer = board_.Handle(
            {setup.request, 0, setup.value, setup.index, static_cast<uint8_t>(setup.length)});
    }
    entry.stalled = !answer.completed;
    log_.push_back(entry);
    if (answer.completed && in) std::memcpy(buffer->data + 8, answer.bytes.data(), setup.length);
    urb->status = answer.completed ? 0 : -EPIPE;
    urb->actual_length = answer.completed && in ? setup.length : 0;
    completed_.push_back(urbData);
    lock.unlock();
    umockdev_ioctl_data_unref(buffer);
    umockdev_ioctl_client_complete(client, 0, 0);
    return true;
}

bool UsbBoard::HandleReap(void *rawClient, void *rawArg) {
    auto *client = static_cast<UMockdevIoctlClient *>(rawClient);
    auto *arg = static_cast<UMockdevIoctlData *>(rawArg);
    UMockdevIoctlData *urbData = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (!completed_.empty()) {
            urbData = static_cast<UMockdevIoctlData *>(completed_.front());
            completed_.erase(completed_.begin());
        }
    }
    if (urbData == nullptr) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return true;
    }
    UMockdevIoctlData *pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(gpointer), nullptr);
    if (pointer != nullptr) umockdev_ioctl_data_set_ptr(pointer, 0, urbData);
    umockdev_ioctl_client_complete(client, pointer != nullptr ? 0 : -1,
                                   pointer != nullptr ? 0 : EFAULT);
    if (pointer != nullptr) umockdev_ioctl_data_unref(pointer);
    umockdev_ioctl_data_unref(urbData);
    return true;
}

}  // namespace velorin::sim
