// The USB tests run under umockdev's preload library, so that libusb sees only the testbed. The
// program starts itself again with it when it was started without; under AddressSanitizer the
// preload library then comes before the sanitizer's runtime, which it is told to accept.
#include <gmock/gmock.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char **argv) {
    constexpr const char *kPreload = "libumockdev-preload.so.0";
    const char *preload = std::getenv("LD_PRELOAD");
    if (preload == nullptr || std::strstr(preload, "libumockdev-preload") == nullptr) {
        std::string libraries = kPreload;
        if (preload != nullptr && *preload != '\0') libraries += std::string(":") + preload;
        ::setenv("LD_PRELOAD", libraries.c_str(), 1);
        const char *asan = std::getenv("ASAN_OPTIONS");
        std::string options = asan != nullptr && *asan != '\0' ? std::string(asan) + ":" : "";
        ::setenv("ASAN_OPTIONS", (options + "verify_asan_link_order=0").c_str(), 1);
        ::execv("/proc/self/exe", argv);
        std::perror("test_usb: cannot start again under umockdev");
        return 1;
    }
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
