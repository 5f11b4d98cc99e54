// Board firmware download: the image goes byte by byte into the board EEPROM from address 0,
// then every byte is read back and compared. One board request per byte and phase, no waits,
// no retries; the first failure ends the download with its message.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "core/app/firmware_image.h"
#include "core/base/prompts.h"
#include "core/device/board.h"

namespace velorin::core {

constexpr const char *kFirmwareInitialStatus = "Downloading firmware update";
constexpr const char *kFirmwareWritingStatus = "Writing to eeprom";
constexpr const char *kFirmwareVerifyingStatus = "Verifying eeprom";
constexpr const char *kFirmwareFinishedStatus = "   ";

constexpr const char *kFirmwareOpenError = "Unable to open firmware file!";
constexpr const char *kFirmwareTooLarge =
    "Firmware file is larger than 65,536 bytes and does not fit into the eeprom!";
constexpr const char *kFirmwareFileReadError = "Unable to read firmware file!";
constexpr const char *kFirmwareWriteError = "Unable to write firmware to eeprom!";
constexpr const char *kFirmwareReadBackError = "Unable to read back firmware from eeprom!";
constexpr const char *kFirmwareVerifyError = "Verification failed!";
constexpr const char *kFirmwareSuccess = "Firmware download successfull!";

enum class FirmwareOutcome {
    Succeeded,
    OpenFailed,      // nothing sent; the dialog keeps its initial text until closed
    TooLarge,        // refused before anything is sent, like OpenFailed
    FileReadFailed,  // the file could not be read to its end; nothing sent, like OpenFailed
    WriteFailed,     // bytes before `address` are written; no verify
    ReadBackFailed,  // the whole image is written; verify stopped at `address`
    VerifyFailed,    // the whole image is written; `address` holds a different byte
};

struct FirmwareResult {
    FirmwareOutcome outcome = FirmwareOutcome::Succeeded;
    size_t address = 0;  // where a board phase failed
};

// The bar's position in percent: done * 100 / size, rounded down. The write phase passes the
// address of the byte just written, the verify phase the number of bytes verified, so writing
// ends at (size - 1) * 100 / size and verifying at 100.
int FirmwareProgress(size_t done, size_t size);

struct FirmwareObserver {
    std::function<void(const std::string &)> status;
    // Called with the bar's position, but only when it differs from the last one given, so
    // that a caller that repaints does so at most 101 times per phase.
    std::function<void(int)> progress;
    // Bytes done of the image in the current phase: 0 before each phase starts (ahead of its
    // status text), then after every byte, ahead of that byte's progress.
    std::function<void(size_t done, size_t size)> bytes = nullptr;
};

// "done of size bytes, m:ss" for the elapsed time beside the status text.
std::string FirmwareTallyText(size_t done, size_t size, std::chrono::milliseconds elapsed);

// The file chooser of the download command: the name box holds the image file pattern, and
// there is no type list.
FileRequest FirmwareFileRequest();

// The whole download of the file at `path`. Files that cannot be opened or read, or that are
// larger than the EEPROM, are refused with a message before anything is sent.
FirmwareResult DownloadFirmware(Board &board, Prompts &prompts, const std::string &path,
                                const FirmwareObserver &observer);

// The board part, for an image already in memory (at most 65,536 bytes).
FirmwareResult DownloadFirmwareImage(Board &board, Prompts &prompts, std::span<const uint8_t> image,
                                     const FirmwareObserver &observer);

}  // namespace velorin::core
