// The vendor:product ids under which the board (and its boot loader) appears on USB. This project
// cannot know them: they come from a configuration file installed with the suite, and the board
// ids can be overridden with $VELORIN_USB_IDS.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velorin::board {

struct UsbId {
    uint16_t vendor = 0;
    uint16_t product = 0;
    bool operator==(const UsbId &) const = default;
};

struct UsbIdConfig {
    std::vector<UsbId> board;          // the ids the library opens as boards
    std::vector<UsbId> bootLoader;     // the board while it waits for firmware; never opened
    std::vector<std::string> invalid;  // entries that are not vvvv:pppp, as written
    std::string boardSource;           // where the board ids came from, for velorinctl
};

// "vvvv:pppp" in hexadecimal (1 to 4 digits each side), surrounding blanks allowed.
bool ParseUsbId(const std::string &text, UsbId &id);
std::string FormatUsbId(const UsbId &id);

// A comma-separated list of ids; entries that do not parse go to `invalid`, empty ones are
// passed over.
void ParseUsbIdList(const std::string &text, std::vector<UsbId> &ids,
                    std::vector<std::string> &invalid);

// The configuration file's text: lines "board = LIST" and "bootloader = LIST", '#' comments.
// Lines of other keys are reported in `invalid` too, so that a typo does not go unnoticed.
UsbIdConfig ParseUsbIdFile(const std::string &text);

// Path of the installed configuration file.
std::string UsbIdFilePath();

// The file's ids, with the board ids replaced by $VELORIN_USB_IDS when that is set (an empty
// value means no USB board). A missing file means no ids.
UsbIdConfig LoadUsbIds();

bool Contains(const std::vector<UsbId> &ids, const UsbId &id);

}  // namespace velorin::board
