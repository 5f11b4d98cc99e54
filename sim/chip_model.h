// One clock chip as the emulator models it: RAM, EEPROM, lock, and the read-back stream.
#pragma once

#include <array>
#include <cstdint>

namespace velorin::sim {

using ImageBytes = std::array<uint8_t, 6>;

class ChipModel {
  public:
    explicit ChipModel(int block) : block_(block) {}

    void CommitToRam(const ImageBytes &staged) { ram_ = staged; }
    // A command word written with WriteOneWord (address, value).
    void CommandWord(uint16_t address, uint8_t value);
    void UnlockCommand();

    // The 32 bytes the board returns after a read-back command; bytes 0-7 go out complemented.
    std::array<uint8_t, 32> ReadBackBuffer() const;

    const ImageBytes &Ram() const { return ram_; }
    const ImageBytes &Eeprom() const { return eeprom_; }
    bool Written() const { return written_; }
    bool Locked() const { return locked_; }
    bool Idle() const { return idle_; }
    uint8_t Revision() const { return kRevision; }
    // The calibration word the chip reports for its RAM section.
    uint8_t RamCalibrationWord() const;

    void SetEeprom(const ImageBytes &image, bool written, bool locked);

  private:
    static constexpr uint8_t kRevision = 2;
    int block_;
    ImageBytes ram_{};
    ImageBytes eeprom_{};
    bool written_ = false;
    bool locked_ = false;
    bool unlockArmed_ = false;
    bool idle_ = false;
};

}  // namespace velorin::sim
