// The SCPI status registers STATus:OPERation and STATus:QUEStionable of one client: a
// condition read from the instrument when a status query is answered, an event register that
// latches the condition's rising edges until it is read, and an enable mask whose summary
// reaches the Status Byte.
#pragma once

#include <cstdint>

namespace velorin::core::scpi {

// QUEStionable bits (SCPI 1999.0 fixes 0 and 5; 9 is the instrument's own).
constexpr uint16_t kQuesVoltage = 1u << 0;    // a block's supply reads off or faulty
constexpr uint16_t kQuesFrequency = 1u << 5;  // the block's VCO runs outside its range
constexpr uint16_t kQuesNoBoard = 1u << 9;    // the board does not answer

class StatusRegister {
  public:
    // A new reading of the condition: its rising edges latch into the event register.
    void Update(uint16_t condition);
    uint16_t Condition() const { return condition_; }
    // [:EVENt]? reads and clears.
    uint16_t TakeEvent();
    uint16_t Enable() const { return enable_; }
    void SetEnable(uint16_t mask) { enable_ = mask; }
    void ClearEvent() { event_ = 0; }
    bool Summary() const { return (event_ & enable_) != 0; }

  private:
    uint16_t condition_ = 0;
    uint16_t event_ = 0;
    uint16_t enable_ = 0;
};

struct StatusRegisters {
    StatusRegister operation;
    StatusRegister questionable;

    // STATus:PRESet: both enables to 0.
    void Preset() {
        operation.SetEnable(0);
        questionable.SetEnable(0);
    }
    // *CLS clears the event registers.
    void ClearEvents() {
        operation.ClearEvent();
        questionable.ClearEvent();
    }
};

}  // namespace velorin::core::scpi
