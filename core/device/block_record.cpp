#include "core/device/block_record.h"

#include "core/device/board_eeprom_map.h"

namespace velorin::core {

BlockRecord MakeBlockRecord(const RegisterImage &image, bool outputEnable, bool terminate,
                            int block) {
    BlockRecord record{};
    for (int i = 0; i < 6; ++i) record[static_cast<size_t>(i)] = image.Byte(i);
    record[6] = outputEnable ? 1 : 0;
    record[7] = terminate ? 1 : 0;
    record[8] = static_cast<uint8_t>(block);
    unsigned sum = 0;
    for (size_t i = 0; i < 9; ++i) sum += record[i];
    record[9] = static_cast<uint8_t>(sum - 1);
    return record;
}

SequenceResult SaveBlockRecord(Board &board, const BlockRecord &record) {
    board.SetI2CDeviceAddress(kBoardEepromDevice, kDataRecordOption);
    std::array<uint8_t, 1> scratch{};
    board.ReadI2C(kBlockRecordAddress, scratch);
    return ResultOf(board.WriteI2C(kBlockRecordAddress, record));
}

}  // namespace velorin::core
