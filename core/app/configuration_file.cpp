#include "core/app/configuration_file.h"

#include <cstdio>

#include "core/app/profile_file.h"

namespace velorin::core {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Reject(std::string *why, const std::string &reason) {
    if (why) *why = reason;
    return false;
}

std::string Hex2(unsigned value) {
    char text[4];
    std::snprintf(text, sizeof(text), "%02X", value & 0xFFu);
    return text;
}

}  // namespace

uint8_t ConfigurationChecksum(const RegisterImage &image) {
    unsigned sum = 0;
    for (uint8_t byte : image.bytes) sum += byte;
    return static_cast<uint8_t>(sum);
}

std::string FormatConfigurationValue(const RegisterImage &image) {
    std::string value;
    for (uint8_t byte : image.bytes) value += Hex2(byte);
    return value + Hex2(ConfigurationChecksum(image));
}

bool ParseConfigurationValue(std::string_view value, RegisterImage &image, std::string *why) {
    if (value.size() != kConfigValueDigits) {
        return Reject(why, "the value has " + std::to_string(value.size()) +
                               " characters instead of 14 hexadecimal digits");
    }
    uint8_t digits[kConfigValueDigits / 2];
    for (size_t i = 0; i < kConfigValueDigits; i += 2) {
        const int high = HexDigit(value[i]);
        const int low = HexDigit(value[i + 1]);
        if (high < 0 || low < 0) return Reject(why, "the value holds a non-hexadecimal character");
        digits[i / 2] = static_cast<uint8_t>(high << 4 | low);
    }
    RegisterImage candidate;
    for (size_t i = 0; i < candidate.bytes.size(); ++i) candidate.bytes[i] = digits[i];
    if (ConfigurationChecksum(candidate) != digits[6]) {
        return Reject(why, "the checksum " + Hex2(digits[6]) + " does not match the bytes (" +
                               Hex2(ConfigurationChecksum(candidate)) + ")");
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
