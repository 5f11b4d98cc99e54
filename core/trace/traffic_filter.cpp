#include "core/trace/traffic_filter.h"

#include "core/trace/call_decoding.h"

namespace velorin::core {

bool TrafficFilter::Shows(const BoardCall &call) const {
    if (hidePoll && call.fromPoll) return false;
    if (failuresOnly && call.ok) return false;
    if (block >= 0) {
        const int addressed = CallBlock(call);
        if (addressed >= 0 && addressed != block) return false;
    }
    return true;
}

}  // namespace velorin::core
