// Configuration files: the six register-image bytes and their checksum as one key of an
// initialisation file, "CONFIG" in section "MXR817".
#pragma once

#include <string>
#include <string_view>

#include "core/device/register_image.h"

namespace velorin::core {

constexpr const char *kConfigSection = "MXR817";
constexpr const char *kConfigKey = "CONFIG";
constexpr size_t kConfigValueDigits = 14;

// Names the program's file choosers and documents use for these files.
constexpr const char *kConfigDocumentTitle = "Config";
constexpr const char *kConfigDocumentFilter = "QVMXRG817A Files (*.MXR817A)";
constexpr const char *kConfigDocumentExtension = ".MXRG817A";
constexpr const char *kConfigDialogExtension = "MXR817";
constexpr const char *kConfigDialogFileName = "Config.MXR817";

// The sum of the six bytes modulo 256.
uint8_t ConfigurationChecksum(const RegisterImage &image);

// Twelve upper-case hexadecimal digits of the bytes, Byte0 first, then two of the checksum.
std::string FormatConfigurationValue(const RegisterImage &image);

// Accepts exactly 14 hexadecimal digits (either case) with a matching checksum. The image is
// changed only when the value is accepted.
bool ParseConfigurationValue(std::string_view value, RegisterImage &image,
                             std::string *why = nullptr);

// Reads the record into the image; on any failure (no file, no section or key, a rejected
// value) the image keeps its bytes and why says what went wrong.
bool LoadConfiguration(const std::string &path, RegisterImage &image, std::string *why = nullptr);

// Stores the record, keeping every other line of the file; false (with why) when the file could
// not be written, in which case the file on disk is as it was.
bool SaveConfiguration(const std::string &path, const RegisterImage &image,
                       std::string *why = nullptr);

}  // namespace velorin::core
