#include "core/app/firmware_download.h"

#include <array>
#include <cstdio>

#include "core/app/firmware_image.h"
#include "core/device/board_eeprom_map.h"

namespace velorin::core {

namespace {

class Reporter {
  public:
    explicit Reporter(const FirmwareObserver &observer) : observer_(observer) {}

    void Status(const char *text) {
        if (observer_.status) observer_.status(text);
    }
    void Progress(int percent) {
        if (percent == last_) return;
        last_ = percent;
        if (observer_.progress) observer_.progress(percent);
    }
    void Bytes(size_t done, size_t size) {
        if (observer_.bytes) observer_.bytes(done, size);
    }

  private:
    const FirmwareObserver &observer_;
    int last_ = -1;
};

void Tell(Prompts &prompts, const char *text) {
    prompts.ShowMessage(Message{text, {}, MessageButtons::Ok, MessageIcon::Exclamation});
}

FirmwareResult Finish(Reporter &reporter, FirmwareOutcome outcome, size_t address) {
    reporter.Status(kFirmwareFinishedStatus);
    return FirmwareResult{outcome, address};
}

}  // namespace

int FirmwareProgress(size_t done, size_t size) {
    return size == 0 ? 0 : static_cast<int>(done * 100 / size);
}

std::string FirmwareTallyText(size_t done, size_t size, std::chrono::milliseconds elapsed) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    char clock[32];
    std::snprintf(clock, sizeof(clock), "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return std::to_string(done) + " of " + std::to_string(size) + " bytes, " + clock;
}

FileRequest FirmwareFileRequest() {
    FileRequest request;
    request.defaultExtension = "bin";
    request.initialName = "MXR817_Eval_Fw*.bin";
    request.overwritePrompt = false;
    return request;
}

FirmwareResult DownloadFirmware(Board &board, Prompts &prompts, const std::string &path,
                                const FirmwareObserver &observer) {
    const FirmwareFile file = LoadFirmwareFile(path);
    switch (file.status) {
        case FirmwareFileStatus::OpenFailed:
            Tell(prompts, kFirmwareOpenError);
            return FirmwareResult{FirmwareOutcome::OpenFailed, 0};
        case FirmwareFileStatus::TooLarge:
            Tell(prompts, kFirmwareTooLarge);
            return FirmwareResult{FirmwareOutcome::TooLarge, 0};
        case FirmwareFileStatus::ReadFailed:
            Tell(prompts, kFirmwareFileReadError);
            return FirmwareResult{FirmwareOutcome::FileReadFailed, 0};
        case FirmwareFileStatus::Loaded:
            break;
    }
    return DownloadFirmwareImage(board, prompts, file.bytes, observer);
}

FirmwareResult DownloadFirmwareImage(Board &board, Prompts &prompts, std::span<const uint8_t> image,
                                     const FirmwareObserver &observer) {
    Reporter reporter(observer);
    if (image.size() > kMaxFirmwareSize) {
        Tell(prompts, kFirmwareTooLarge);
        return FirmwareResult{FirmwareOutcome::TooLarge, 0};
    }
    const size_t size = image.size();
    reporter.Bytes(0, size);
    reporter.Status(kFirmwareWritingStatus);
    reporter.Progress(0);

    board.SetI2CDeviceAddress(kBoardEepromDevice, kFirmwareOption);
    std::array<uint8_t, 1> byte{};
    board.ReadI2C(0, byte);

    for (size_t address = 0; address < size; ++address) {
        if (!board.WriteI2C(static_cast<uint16_t>(address), image.subspan(address, 1))) {
            Tell(prompts, kFirmwareWriteError);
            return Finish(reporter, FirmwareOutcome::WriteFailed, address);
        }
        reporter.Bytes(address + 1, size);
        reporter.Progress(FirmwareProgress(address, size));
    }

    reporter.Bytes(0, size);
    reporter.Status(kFirmwareVerifyingStatus);
    reporter.Progress(0);
    for (size_t address = 0; address < size; ++address) {
        byte[0] = 0;
        if (!board.ReadI2C(static_cast<uint16_t>(address), byte)) {
            Tell(prompts, kFirmwareReadBackError);
            return Finish(reporter, FirmwareOutcome::ReadBackFailed, address);
        }
        if (byte[0] != image[address]) {
            Tell(prompts, kFirmwareVerifyError);
            return Finish(reporter, FirmwareOutcome::VerifyFailed, address);
        }
        reporter.Bytes(address + 1, size);
        reporter.Progress(FirmwareProgress(address + 1, size));
    }
    Tell(prompts, kFirmwareSuccess);
    return Finish(reporter, FirmwareOutcome::Succeeded, size);
}

}  // namespace velorin::core
