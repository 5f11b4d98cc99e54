#include "core/trace/poll_scope.h"

namespace velorin::core {

namespace {
// Board calls are made on the window's thread; a poll run from a nested event loop inside
// another poll restores the outer one's mark when it ends.
thread_local bool inPoll = false;
}  // namespace

PollScope::PollScope() : outer_(inPoll) {
    inPoll = true;
}

PollScope::~PollScope() {
    inPoll = outer_;
}

bool PollScope::Active() {
    return inPoll;
}

}  // namespace velorin::core
