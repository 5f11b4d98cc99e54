#include "core/app/firmware_image.h"

#include <cstdio>

namespace velorin::core {

FirmwareFile LoadFirmwareFile(const std::string &path) {
    FirmwareFile file;
    std::FILE *stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) return file;
    file.bytes.resize(kMaxFirmwareSize + 1);
    size_t filled = 0;
    while (filled < file.bytes.size()) {
        const size_t got =
            std::fread(file.bytes.data() + filled, 1, file.bytes.size() - filled, stream);
        filled += got;
        if (got == 0) break;
    }
    const bool readError = std::ferror(stream) != 0;
    std::fclose(stream);
    file.bytes.resize(filled);
    if (readError) {
        file.status = FirmwareFileStatus::ReadFailed;
        file.bytes.clear();
    } else if (filled > kMaxFirmwareSize) {
        file.status = FirmwareFileStatus::TooLarge;
        file.bytes.clear();
    } else {
        file.status = FirmwareFileStatus::Loaded;
    }
    return file;
}

}  // namespace velorin::core
