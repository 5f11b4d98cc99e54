#include "core/device/configuration_file.h"

#include "core/base/hex_text.h"
#include "core/base/profile_file.h"

namespace velorin::core {

namespace {

bool Reject(std::string *why, const std::string &reason) {
    if (why) *why = reason;
    return false;
}

}  // namespace

uint8_t ConfigurationChecksum(const RegisterImage &image) {
    unsigned sum = 0;
    for (uint8_t byte : image.bytes) sum += byte;
    return static_cast<uint8_t>(sum);
}

std::string FormatConfigurationValue(const RegisterImage &image) {
    return FormatHexBytes(image.bytes.data(), image.bytes.size()) +
           FormatHex(ConfigurationChecksum(image), 2);
}

bool ParseConfigurationValue(std::string_view value, RegisterImage &image, std::string *why) {
    if (value.size() != kConfigValueDigits) {
        return Reject(why, "the value has " + std::to_string(value.size()) +
                               " characters instead of 14 hexadecimal digits");
    }
    uint8_t digits[kConfigValueDigits / 2];
    if (!ParseHexBytes(value, digits, sizeof(digits))) {
        return Reject(why, "the value holds a non-hexadecimal character");
    }
    RegisterImage candidate;
    for (size_t i = 0; i < candidate.bytes.size(); ++i) candidate.bytes[i] = digits[i];
    if (ConfigurationChecksum(candidate) != digits[6]) {
        return Reject(why, "the checksum " + FormatHex(digits[6], 2) +
                               " does not match the bytes (" +
                               FormatHex(ConfigurationChecksum(candidate), 2) + ")");
    }
    image = candidate;
    return true;
}

bool LoadConfiguration(const std::string &path, RegisterImage &image, std::string *why) {
    std::string value;
    if (ReadProfileValue(path, kConfigSection, kConfigKey, value, why) != ProfileLookup::Found) {
        return false;
    }
    std::string reason;
    if (!ParseConfigurationValue(value, image, &reason)) {
        return Reject(why, "rejected configuration record in " + path + ": " + reason);
    }
    return true;
}

bool SaveConfiguration(const std::string &path, const RegisterImage &image, std::string *why) {
    return WriteProfileValue(path, kConfigSection, kConfigKey, FormatConfigurationValue(image),
                             why);
}

}  // namespace velorin::core
