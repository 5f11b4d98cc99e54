// Under LeakSanitizer: Qt keeps the accessibility interfaces it made for a window until the
// process ends, once the window has answered accessibility queries. A test that asks them holds
// one of these while it does; AddressSanitizer's other checks stay on, and each window's own
// tests still count its leaks.
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
