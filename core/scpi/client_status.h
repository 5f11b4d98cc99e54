// One client's IEEE 488.2 status model: the error queue, the Standard Event Status Register
// with its enable mask, and the Service Request Enable mask behind the Status Byte.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "core/scpi/scpi_error.h"

namespace velorin::core::scpi {

class ErrorQueue {
  public:
    static constexpr size_t kCapacity = 10;

    // Appends the error; when the queue is full its last entry becomes "Queue overflow".
    void Push(Error error);
    // The oldest entry, removed; "No error" when empty.
    Error Pop();
    size_t Count() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

  private:
    std::deque<Error> entries_;
};

class ClientStatus {
  public:
    // Queues the error and sets the event bit of its class.
    void Report(Error error);
    void SetEvent(uint8_t bits) { esr_ |= bits; }

    // *ESR? reads and clears.
    uint8_t TakeEventStatus();
    uint8_t EventStatusEnable() const { return ese_; }
    void SetEventStatusEnable(uint8_t mask) { ese_ = mask; }
    uint8_t ServiceRequestEnable() const { return sre_; }
    // Bit 6 of the mask has no meaning and is kept clear.
    void SetServiceRequestEnable(uint8_t mask);
    // *STB?: the summaries of the QUEStionable and OPERation registers, error queue, message
    // available, event summary and the request-service summary.
    uint8_t StatusByte(bool messageAvailable, bool questionable, bool operation) const;

    // *CLS: the event register and the error queue; the enable masks stay.
    void Clear();

    ErrorQueue &Errors() { return errors_; }

  private:
    ErrorQueue errors_;
    uint8_t esr_ = 0;
    uint8_t ese_ = 0;
    uint8_t sre_ = 0;
};

}  // namespace velorin::core::scpi
