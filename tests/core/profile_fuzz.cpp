#include "core/profile_fuzz.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/base/private_profile.h"
#include "core/device/configuration_file.h"

namespace velorin::core {

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The edit may rewrite one line in place or add up to two lines at one place; everything
// before and after the edit must be the original lines.
bool KeepsOtherLines(std::string_view before, std::string_view after) {
    const auto old = SplitLines(before);
    const auto now = SplitLines(after);
    size_t prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
        ++suffix;
    }
    return old.size() - prefix - suffix <= 1 && now.size() - prefix - suffix <= 2;
}

}  // namespace

bool FuzzProfileOnce(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const PrivateProfile profile = PrivateProfile::Parse(text);
    if (profile.Serialize() != text) return false;

    RegisterImage image;
    image.bytes = {0x5A, 0xA5, 0x01, 0x80, 0xFF, 0x00};
    const RegisterImage before = image;
    if (const auto value = profile.GetValue(kConfigSection, kConfigKey)) {
        if (!ParseConfigurationValue(*value, image) && image != before) return false;
    }

    PrivateProfile edited = profile;
    const std::string record = FormatConfigurationValue(before);
    edited.SetValue(kConfigSection, kConfigKey, record);
    const std::string written = edited.Serialize();
    const PrivateProfile reread = PrivateProfile::Parse(written);
    if (reread.GetValue(kConfigSection, kConfigKey) != record) return false;
    RegisterImage loaded;
    if (!ParseConfigurationValue(record, loaded) || loaded != before) return false;
    return KeepsOtherLines(text, written);
}

}  // namespace velorin::core
