#include "core/device/board_link.h"

#include "core/device/board_ports.h"

namespace velorin::core {

bool BoardLink::IsFourBlockBoard() const {
    return core::IsFourBlockBoard(identity_);
}

std::optional<uint8_t> BoardLink::LastPort(uint16_t port) const {
    return port < ports_.size() ? ports_[port] : std::nullopt;
}

bool BoardLink::Connect() {
    uint8_t id = 0;
    // A board that opens but does not name itself is of no use: it counts as lost.
    lost_ = !(board_.Open() && board_.GetEvmId(id));
    if (!lost_) identity_ = id;
    return !lost_;
}

bool BoardLink::ReconnectIfLost() {
    if (!lost_) return true;
    board_.Close();
    return Connect();
}

bool BoardLink::Reopen() {
    board_.Close();
    lost_ = !board_.Open();
    return !lost_;
}

bool BoardLink::ReadIdentity() {
    uint8_t id = 0;
    if (!board_.GetEvmId(id)) return false;
    identity_ = id;
    return true;
}

std::optional<uint8_t> BoardLink::ReadPort(uint16_t port) {
    uint8_t value = 0;
    if (!board_.ReadPort(port, value)) return std::nullopt;
    if (port < ports_.size()) ports_[port] = value;
    return value;
}

BoardLink::Watch BoardLink::WatchControlPort(bool readAgain) {
    Watch watch;
    watch.controlPort = ReadPort(kControlPort);
    if (watch.controlPort) {
        lost_ = false;
        return watch;
    }
    watch.reachable = Reopen();
    if (watch.reachable && readAgain) watch.controlPort = ReadPort(kControlPort);
    return watch;
}

}  // namespace velorin::core
