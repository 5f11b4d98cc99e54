#include "core/scpi/client_status.h"

#include "core/scpi/status_bits.h"

namespace velorin::core::scpi {

void ErrorQueue::Push(Error error) {
    if (entries_.size() < kCapacity) {
        entries_.push_back(std::move(error));
        return;
    }
    entries_.back() = Error{kQueueOverflow, {}};
}

Error ErrorQueue::Pop() {
    if (entries_.empty()) return Error{};
    Error oldest = std::move(entries_.front());
    entries_.pop_front();
    return oldest;
}

void ClientStatus::Report(Error error) {
    esr_ |= EventBitOf(error.code);
    if (errors_.Count() == ErrorQueue::kCapacity) esr_ |= EventBitOf(kQueueOverflow);
    errors_.Push(std::move(error));
}

uint8_t ClientStatus::TakeEventStatus() {
    const uint8_t value = esr_;
    esr_ = 0;
    return value;
}

void ClientStatus::SetServiceRequestEnable(uint8_t mask) {
    sre_ = static_cast<uint8_t>(mask & ~kStbRequestService);
}

uint8_t ClientStatus::StatusByte(bool messageAvailable, bool questionable, bool operation) const {
    uint8_t stb = 0;
    if (questionable) stb |= kStbQuestionable;
    if (operation) stb |= kStbOperation;
    if (errors_.Count() > 0) stb |= kStbErrorQueue;
    if (messageAvailable) stb |= kStbMessageAvailable;
    if ((esr_ & ese_) != 0) stb |= kStbEventSummary;
    if ((stb & sre_) != 0) stb |= kStbRequestService;
    return stb;
}

void ClientStatus::Clear() {
    esr_ = 0;
    errors_.Clear();
}

}  // namespace velorin::core::scpi
