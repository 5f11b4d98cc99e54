#include "core/scpi/status_registers.h"

namespace velorin::core::scpi {

void StatusRegister::Update(uint16_t condition) {
    event_ = static_cast<uint16_t>(event_ | (condition & ~condition_));
    condition_ = condition;
}

uint16_t StatusRegister::TakeEvent() {
    const uint16_t value = event_;
    event_ = 0;
    return value;
}

}  // namespace velorin::core::scpi
