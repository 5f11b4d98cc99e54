#include "core/base/profile_file.h"

#include "core/base/file_io.h"
#include "core/base/private_profile.h"

namespace velorin::core {

ProfileLookup ReadProfileValue(const std::string &path, const std::string &section,
                               const std::string &key, std::string &value, std::string *why) {
    std::string content;
    switch (ReadWholeFile(path, content, kMaxProfileFileBytes, why)) {
        case ReadFileResult::Ok:
            break;
        case ReadFileResult::Missing:
            return ProfileLookup::NoFile;
        case ReadFileResult::Failed:
            return ProfileLookup::Unreadable;
    }
    const PrivateProfile profile = PrivateProfile::Parse(content);
    if (!profile.HasSection(section)) {
        if (why) *why = "no section [" + section + "] in " + path;
        return ProfileLookup::NoSection;
    }
    const auto found = profile.GetValue(section, key);
    if (!found) {
        if (why) *why = "no key " + key + " in section [" + section + "] of " + path;
        return ProfileLookup::NoKey;
    }
    value = *found;
    return ProfileLookup::Found;
}

bool WriteProfileValue(const std::string &path, const std::string &section, const std::string &key,
                       const std::string &value, std::string *why) {
    std::string content;
    if (ReadWholeFile(path, content, kMaxProfileFileBytes, why) == ReadFileResult::Failed) {
        return false;
    }
    PrivateProfile profile = PrivateProfile::Parse(content);
    profile.SetValue(section, key, value);
    return WriteFileAtomically(path, profile.Serialize(), why);
}

}  // namespace velorin::core
