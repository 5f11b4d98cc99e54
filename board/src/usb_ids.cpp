#include "usb_ids.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifndef VELORIN_USB_IDS_FILE
#define VELORIN_USB_IDS_FILE "/etc/velorin/usb-ids"
#endif

namespace velorin::board {

namespace {

std::string Trim(const std::string &text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool ParseHex16(const std::string &text, uint16_t &value) {
    if (text.empty() || text.size() > 4) return false;
    unsigned result = 0;
    for (char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
        result = result * 16 + digit;
    }
    value = static_cast<uint16_t>(result);
    return true;
}

}  // namespace

bool ParseUsbId(const std::string &text, UsbId &id) {
    const std::string trimmed = Trim(text);
    const auto colon = trimmed.find(':');
    if (colon == std::string::npos) return false;
    UsbId parsed;
    if (!ParseHex16(trimmed.substr(0, colon), parsed.vendor) ||
        !ParseHex16(trimmed.substr(colon + 1), parsed.product)) {
        return false;
    }
    id = parsed;
    return true;
}

std::string FormatUsbId(const UsbId &id) {
    char text[10];
    std::snprintf(text, sizeof(text), "%04x:%04x", id.vendor, id.product);
    return text;
}

void ParseUsbIdList(const std::string &text, std::vector<UsbId> &ids,
                    std::vector<std::string> &invalid) {
    std::stringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ',')) {
        if (Trim(entry).empty()) continue;
        UsbId id;
        if (ParseUsbId(entry, id)) {
            if (!Contains(ids, id)) ids.push_back(id);
        } else {
            invalid.push_back(Trim(entry));
        }
    }
}

UsbIdConfig ParseUsbIdFile(const std::string &text) {
    UsbIdConfig config;
    std::stringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        if (Trim(line).empty()) continue;
        const auto equals = line.find('=');
        const std::string key = Trim(line.substr(0, equals));
        if (equals == std::string::npos || (key != "board" && key != "bootloader")) {
            config.invalid.push_back(Trim(line));
            continue;
        }
        auto &ids = key == "board" ? config.board : config.bootLoader;
        ParseUsbIdList(line.substr(equals + 1), ids, config.invalid);
    }
    return config;
}

std::string UsbIdFilePath() {
    return VELORIN_USB_IDS_FILE;
}

UsbIdConfig LoadUsbIds() {
    UsbIdConfig config;
    const std::string path = UsbIdFilePath();
    if (std::ifstream file(path); file) {
        std::stringstream text;
        text << file.rdbuf();
        config = ParseUsbIdFile(text.str());
    }
    config.boardSource = path;
    if (const char *overridden = std::getenv("VELORIN_USB_IDS"); overridden != nullptr) {
        config.board.clear();
        ParseUsbIdList(overridden, config.board, config.invalid);
        config.boardSource = "VELORIN_USB_IDS";
    }
    return config;
}

bool Contains(const std::vector<UsbId> &ids, const UsbId &id) {
    for (const auto &known : ids) {
        if (known == id) return true;
    }
    return false;
}

}  // namespace velorin::board
