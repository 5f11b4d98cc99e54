#include "core/planning/crystal_record.h"

#include <array>
#include <cstdint>
#include <vector>

#include "core/base/number_text.h"
#include "core/device/board_eeprom_map.h"

namespace velorin::core {

namespace {

constexpr size_t kRecordReadLength = 10;

}  // namespace

bool CrystalFrequencyInRange(std::string_view typed) {
    const double mhz = LeadingNumber(typed);
    return mhz >= kCrystalLowMhz && mhz <= kCrystalHighMhz;
}

std::string CrystalRecordText(std::string_view typed) {
    return FormatFixed(LeadingNumber(typed), 3);
}

CrystalSaveOutcome SaveCrystalFrequency(Board &board, Prompts &prompts, std::string_view typed) {
    if (!CrystalFrequencyInRange(typed)) {
        prompts.ShowMessage(
            Message{kCrystalRangeMessage, {}, MessageButtons::Ok, MessageIcon::Default});
        return CrystalSaveOutcome::OutOfRange;
    }
    const std::string text = CrystalRecordText(typed);
    board.SetI2CDeviceAddress(kBoardEepromDevice, kDataRecordOption);
    std::array<uint8_t, 1> scratch{};
    const bool readOk = board.ReadI2C(kCrystalRecordAddress, scratch);
    std::vector<uint8_t> record(text.begin(), text.end());
    record.push_back(0);
    const bool writeOk = board.WriteI2C(kCrystalRecordAddress, record);
    return readOk && writeOk ? CrystalSaveOutcome::Stored : CrystalSaveOutcome::BoardFailed;
}

CrystalLoad LoadCrystalFrequency(Board &board) {
    board.SetI2CDeviceAddress(kBoardEepromDevice, kDataRecordOption);
    std::array<uint8_t, kRecordReadLength> bytes{};
    CrystalLoad load;
    load.ok = board.ReadI2C(kCrystalRecordAddress, bytes);
    for (uint8_t b : bytes) {
        if (b == 0) break;
        load.text.push_back(static_cast<char>(b));
    }
    return load;
}

}  // namespace velorin::core
