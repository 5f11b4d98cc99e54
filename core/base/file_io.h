// Whole-file reading with a size limit, and replacing a file atomically.
#pragma once

#include <string>

namespace velorin::core {

enum class ReadFileResult { Ok, Missing, Failed };

// Reads at most maxBytes; a larger file fails rather than being cut short.
ReadFileResult ReadWholeFile(const std::string &path, std::string &content, size_t maxBytes,
                             std::string *why = nullptr);

// Writes the content to a temporary file beside the target and renames it over the target, so
// that the old file stays intact until the new one is complete on disk. An existing file keeps
// its permissions; a read-only file is refused. A symbolic link is followed, not replaced.
bool WriteFileAtomically(const std::string &path, const std::string &content,
                         std::string *why = nullptr);

}  // namespace velorin::core
