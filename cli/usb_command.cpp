// velorinctl usb: the USB devices this machine shows, measured against the configured board ids.
// Nothing here sends a request to a board.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "velorin.h"

namespace velorin::cli {

namespace {

std::string FormatId(const VelorinUsbId &id) {
    char text[10];
    std::snprintf(text, sizeof(text), "%04x:%04x", id.vendor, id.product);
    return text;
}

std::vector<VelorinUsbId> ConfiguredIds(int role) {
    int32_t count = 0;
    std::vector<VelorinUsbId> ids;
    // The configuration is read afresh by each call: ask again should it have grown between.
    while (Velorin_GetUsbIds(role, ids.data(), static_cast<int32_t>(ids.size()), &count) == 0 &&
           static_cast<size_t>(count) > ids.size()) {
        ids.resize(static_cast<size_t>(count));
    }
    ids.resize(std::min(ids.size(), static_cast<size_t>(count)));
    return ids;
}

std::string Source(int role) {
    std::vector<char> text(256);
    while (Velorin_GetUsbIdSource(role, text.data(), static_cast<int32_t>(text.size())) != 0) {
        if (text.size() > 65536) return "";
        text.resize(text.size() * 2);
    }
    return text.data();
}

std::vector<std::string> InvalidEntries() {
    std::vector<char> text(1024);
    while (Velorin_GetInvalidUsbIds(text.data(), static_cast<int32_t>(text.size())) != 0) {
        if (text.size() > (1u << 20)) return {};
        text.resize(text.size() * 2);
    }
    std::vector<std::string> entries;
    std::string all = text.data();
    for (size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos;
         start = end + 1) {
        entries.push_back(all.substr(start, end - start));
    }
    return entries;
}

std::string IdList(const std::vector<VelorinUsbId> &ids) {
    if (ids.empty()) return "none";
    std::string text;
    for (const auto &id : ids) text += (text.empty() ? "" : ", ") + FormatId(id);
    return text;
}

const char *RoleText(int role) {
    if (role == VELORIN_USB_ROLE_BOARD) return "board";
    if (role == VELORIN_USB_ROLE_BOOT_LOADER) return "boot loader";
    return "-";
}

std::string AccessText(int error) {
    if (error == 0) return "can be opened";
    if (error == EACCES) return "no access (EACCES: no udev rule for it yet?)";
    return std::string("cannot be opened (") + std::strerror(error) + ")";
}

// Every device on the bus; false with `error` set when USB is not available.
bool ListUsb(std::vector<VelorinUsbDevice> &devices, int &error) {
    int32_t count = 0;
    for (;;) {
        if (Velorin_ListUsbDevices(devices.data(), static_cast<int32_t>(devices.size()), &count,
                                   &error) != 0) {
            return false;
        }
        if (static_cast<size_t>(count) <= devices.size()) break;
        devices.resize(static_cast<size_t>(count));
    }
    devices.resize(static_cast<size_t>(count));
    return true;
}

void ListDevices(Context &context, bool json) {
    for (const auto &entry : InvalidEntries()) {
        context.err << "velorinctl: ignoring \"" << entry << "\": not a vvvv:pppp id\n";
    }
    const auto boardIds = ConfiguredIds(VELORIN_USB_ROLE_BOARD);
    const auto bootLoaderIds = ConfiguredIds(VELORIN_USB_ROLE_BOOT_LOADER);
    std::vector<VelorinUsbDevice> devices;
    int error = 0;
    if (!ListUsb(devices, error)) {
        context.err << "velorinctl: USB is not available here (" << std::strerror(error) << ")\n";
        context.exitCode = 1;
        return;
    }
    nlohmann::json list = nlohmann::json::array();
    for (const auto &device : devices) {
        list.push_back({{"port", device.port},
                        {"device", device.node},
                        {"id", FormatId(device.id)},
                        {"role", RoleText(device.role)},
                        {"opens", device.openError == 0},
                        {"error", device.openError},
                        {"access", AccessText(device.openError)}});
    }
    if (json) {
        nlohmann::json result{{"boardIds", nlohmann::json::array()},
                              {"bootLoaderIds", nlohmann::json::array()},
                              {"boardIdsFrom", Source(VELORIN_USB_ROLE_BOARD)},
                              {"devices", list}};
        for (const auto &id : boardIds) result["boardIds"].push_back(FormatId(id));
        for (const auto &id : bootLoaderIds) result["bootLoaderIds"].push_back(FormatId(id));
        context.out << result.dump(2) << "\n";
        return;
    }
    context.out << "Board ids (" << Source(VELORIN_USB_ROLE_BOARD) << "): " << IdList(boardIds)
                << "\n";
    context.out << "Boot-loader ids (" << Source(VELORIN_USB_ROLE_BOOT_LOADER)
                << "): " << IdList(bootLoaderIds) << "\n";
    if (list.empty()) {
        context.out << "No USB devices.\n";
        return;
    }
    char line[160];
    std::snprintf(line, sizeof(line), "%-10s %-22s %-10s %-12s %s\n", "PORT", "DEVICE", "ID",
                  "ROLE", "ACCESS");
    context.out << line;
    for (const auto &entry : list) {
        std::snprintf(
            line, sizeof(line), "%-10s %-22s %-10s %-12s %s\n",
            entry["port"].get<std::string>().c_str(), entry["device"].get<std::string>().c_str(),
            entry["id"].get<std::string>().c_str(), entry["role"].get<std::string>().c_str(),
            entry["access"].get<std::string>().c_str());
        context.out << line;
    }
}

// For the udev rules: whether an id is configured for a role. Exit code only.
void MatchId(Context &context, const std::string &role, const std::string &text) {
    VelorinUsbId id{};
    if (Velorin_ParseUsbId(text.c_str(), &id) != 0) {
        context.err << "velorinctl: \"" << text << "\" is not a vvvv:pppp id\n";
        context.exitCode = 2;
        return;
    }
    const int which = role == "board" ? VELORIN_USB_ROLE_BOARD : VELORIN_USB_ROLE_BOOT_LOADER;
    context.exitCode = Velorin_IsUsbIdConfigured(which, id) == 0 ? 0 : 1;
}

}  // namespace

void AddUsbCommand(CLI::App &app, Context &context) {
    auto *usb = app.add_subcommand("usb", "USB devices and the board's configured USB ids");
    usb->require_subcommand(1);

    auto *list = usb->add_subcommand(
        "list", "List the USB devices, their ids, which are boards, and whether each opens");
    auto json = std::make_shared<bool>(false);
    list->add_flag("--json", *json, "Machine-readable output");
    list->callback([&context, json] { ListDevices(context, *json); });

    auto *match = usb->add_subcommand(
        "match", "Exit 0 when ID (vvvv:pppp) is configured for ROLE (used by the udev rules)");
    auto role = std::make_shared<std::string>();
    auto id = std::make_shared<std::string>();
    match->add_option("ROLE", *role, "board or bootloader")
        ->required()
        ->check(CLI::IsMember({"board", "bootloader"}));
    match->add_option("ID", *id, "vendor:product in hexadecimal")->required();
    match->callback([&context, role, id] { MatchId(context, *role, *id); });
}

}  // namespace velorin::cli
