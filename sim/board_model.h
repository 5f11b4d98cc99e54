// The emulated evaluation board: identity, ports, four chips and the board EEPROM.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/board_eeprom.h"
#include "sim/chip_model.h"

namespace velorin::sim {

enum class BoardKind { FourBlock, ThreeBlock };

// One request as it arrives on the wire.
struct WireRequest {
    uint8_t command = 0;
    uint8_t reserved = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint8_t answerLength = 0;
};

struct BoardAnswer {
    bool completed = false;
    std::array<uint8_t, 2> bytes{};
};

class BoardModel {
  public:
    explicit BoardModel(BoardKind kind);

    BoardAnswer Handle(const WireRequest &request);

    BoardKind Kind() const { return kind_; }
    uint8_t Identity() const { return kind_ == BoardKind::FourBlock ? 0x04 : 0x01; }
    int BlockCount() const { return kind_ == BoardKind::FourBlock ? 4 : 3; }

    uint8_t Port(int port) const;
    void SetPort(int port, uint8_t value);
    void SetSupplyFault(int block, bool fault);

    ChipModel &Chip(int block) { return chips_.at(static_cast<size_t>(block)); }
    const ChipModel &Chip(int block) const { return chips_.at(static_cast<size_t>(block)); }
    BoardEeprom &Eeprom() { return eeprom_; }
    const BoardEeprom &Eeprom() const { return eeprom_; }
    const ImageBytes &Staging() const { return staging_; }

  private:
    std::optional<int> BlockOf(uint8_t command, uint8_t base) const;
    bool I2CAddressed(uint16_t value) const { return (value >> 8) == kI2CDevice; }

    static constexpr uint8_t kI2CDevice = 0xA0;
    static constexpr int kPortCount = 8;

    BoardKind kind_;
    std::array<uint8_t, kPortCount> ports_{};
    std::array<bool, 4> supplyFault_{};
    ImageBytes staging_{};
    std::array<ChipModel, 4> chips_{ChipModel(0), ChipModel(1), ChipModel(2), ChipModel(3)};
    std::array<uint8_t, 32> readBack_{};
    BoardEeprom eeprom_;
    uint16_t wordDevice_ = 0;
};

}  // namespace velorin::sim
