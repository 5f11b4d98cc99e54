// Under LeakSanitizer: Qt keeps some of what it made for a window until the process ends (the
// accessibility interface cache once a window has answered accessibility queries, and the
// scene items of charts that were laid out in a dialog walked through or resized). A test that
// drives such a window holds one of these while it does; AddressSanitizer's other checks stay
// on, and each window's own tests still count its leaks.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace velorin::testing {

struct QtRetainedAllocations {
#if defined(__SANITIZE_ADDRESS__)
    QtRetainedAllocations() {
        __lsan_disable();
    }
    ~QtRetainedAllocations() {
        __lsan_enable();
    }
#else
    QtRetainedAllocations() = default;
#endif
    QtRetainedAllocations(const QtRetainedAllocations &) = delete;
    QtRetainedAllocations &operator=(const QtRetainedAllocations &) = delete;
};

}  // namespace velorin::testing
