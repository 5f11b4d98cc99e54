// One value of an initialisation file on disk, read or written by section and key.
#pragma once

#include <string>

namespace velorin::core {

// Larger files are refused instead of being read into memory.
constexpr size_t kMaxProfileFileBytes = 4u << 20;

enum class ProfileLookup { Found, NoFile, NoSection, NoKey, Unreadable };

ProfileLookup ReadProfileValue(const std::string &path, const std::string &section,
                               const std::string &key, std::string &value,
                               std::string *why = nullptr);

// Creates the file when missing and leaves every other line as it was. A file that exists but
// cannot be read is not replaced, since that would lose its other contents.
bool WriteProfileValue(const std::string &path, const std::string &section, const std::string &key,
                       const std::string &value, std::string *why = nullptr);

}  // namespace velorin::core
