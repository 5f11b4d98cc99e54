// Which of the view's silent board writes last failed. The view shows no box for them, so the
// status bar says that the board does not hold what the form shows until a write of the same
// kind succeeds again.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velorin::core {

enum class BoardWrite {
    Chip,          // the register image into a block's chip
    Termination,   // a block's LVPECL termination bit
    OutputEnable,  // a block's output-enable bit
    Power,         // the on-board power
    CrystalWrite,  // storing the crystal-frequency record of block B
    CrystalRead,   // loading it back
    Poll,          // the poll's reads and its port-0 write
};

class BoardWriteStatus {
  public:
    // Remembers a failure of that kind for the block, or forgets it after a success. Kinds that
    // concern the whole board ignore the block.
    void Record(BoardWrite kind, int block, bool ok);
    // One line for the status bar; empty while nothing has failed.
    std::string Message() const;

  private:
    static constexpr int kKinds = 7;
    std::array<uint8_t, kKinds> failedBlocks_{};  // one bit per block
};

}  // namespace velorin::core
