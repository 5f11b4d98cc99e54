// velorinctl usb: the USB devices this machine shows, measured against the configured board ids.
// Nothing here sends a request to a board.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "usb_ids.h"
#include "usb_transport.h"

namespace velorin::cli {

namespace {

using board::UsbId;

std::string IdList(const std::vector<UsbId> &ids) {
    if (ids.empty()) return "none";
    std::string text;
    for (const auto &id : ids) text += (text.empty() ? "" : ", ") + board::FormatUsbId(id);
    return text;
}

std::string Role(const board::UsbIdConfig &config, const UsbId &id) {
    if (board::Contains(config.board, id)) return "board";
    if (board::Contains(config.bootLoader, id)) return "boot loader";
    return "-";
}

std::string AccessText(int error) {
    if (error == 0) return "can be opened";
    if (error == EACCES) return "no access (EACCES: no udev rule for it yet?)";
    return std::string("cannot be opened (") + std::strerror(error) + ")";
}

void ListDevices(Context &context, bool json) {
    const board::UsbIdConfig config = board::LoadUsbIds();
    for (const auto &entry : config.invalid) {
        context.err << "velorinctl: ignoring \"" << entry << "\": not a vvvv:pppp id\n";
    }
    int error = 0;
    board::UsbContext usb = board::OpenUsbContext(error);
    if (!usb) {
        context.err << "velorinctl: USB is not available here (" << std::strerror(error) << ")\n";
        context.exitCode = 1;
        return;
    }
    const auto devices = board::ListUsbDevices(usb, error);
    nlohmann::json list = nlohmann::json::array();
    for (const auto &device : devices) {
        int openError = 0;
        // Opening and closing at once tells whether the user may use the device.
        libusb_device_handle *handle = nullptr;
        const int opened = libusb_open(device.Raw(), &handle);
        if (opened == 0) {
            libusb_close(handle);
        } else {
            openError = board::ErrnoFromLibusb(opened);
        }
        list.push_back({{"port", device.PortPath()},
                        {"device", device.NodePath()},
                        {"id", board::FormatUsbId(device.Id())},
                        {"role", Role(config, device.Id())},
                        {"opens", openError == 0},
                        {"error", openError},
                        {"access", AccessText(openError)}});
    }
    if (json) {
        nlohmann::json result{{"boardIds", nlohmann::json::array()},
                              {"bootLoaderIds", nlohmann::json::array()},
                              {"boardIdsFrom", config.boardSource},
                              {"devices", list}};
        for (const auto &id : config.board) result["boardIds"].push_back(board::FormatUsbId(id));
        for (const auto &id : config.bootLoader) {
            result["bootLoaderIds"].push_back(board::FormatUsbId(id));
        }
        context.out << result.dump(2) << "\n";
        return;
    }
    context.out << "Board ids (" << config.boardSource << "): " << IdList(config.board) << "\n";
    context.out << "Boot-loader ids (" << board::UsbIdFilePath()
                << "): " << IdList(config.bootLoader) << "\n";
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
    UsbId id;
    if (!board::ParseUsbId(text, id)) {
        context.err << "velorinctl: \"" << text << "\" is not a vvvv:pppp id\n";
        context.exitCode = 2;
        return;
    }
    const board::UsbIdConfig config = board::LoadUsbIds();
    const auto &ids = role == "board" ? config.board : config.bootLoader;
    context.exitCode = board::Contains(ids, id) ? 0 : 1;
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
