// Entry point for fuzzing the profile reader and the configuration record with arbitrary bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin::core {

// Parses the bytes as a profile, reads the configuration record from it, stores a record and
// parses the result again. Returns false when an invariant breaks: the bytes do not serialise
// back unchanged, a rejected record changed the image, the stored record does not read back, or
// a line other than the record's was lost or changed.
bool FuzzProfileOnce(const uint8_t *data, size_t size);

}  // namespace velorin::core
