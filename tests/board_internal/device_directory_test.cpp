// Where endpoints are looked for and which directory entries count as boards.
#include "device_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "endpoint_transport.h"
#include "support/stale_socket.h"

namespace velorin::board {
namespace {

namespace fs = std::filesystem;

TEST(DeviceDirectory, ExplicitDirectoryThenRuntimeDirectoryThenTmp) {
    ::setenv("VELORIN_DEVICE_DIR", "/some/where", 1);
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(DeviceDirectory(), "/some/where");
    ::setenv("VELORIN_DEVICE_DIR", "", 1);
    EXPECT_EQ(DeviceDirectory(), "/run/user/1000/velorin");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DeviceDirectory(), "/tmp/velorin-" + std::to_string(::getuid()));
}

TEST(DeviceDirectory, ListsOnlySocketsInByteOrder) {
    char pattern[] = "/tmp/velorin-dir-XXXXXX";
    std::string dir = ::mkdtemp(pattern);
    testing::MakeStaleSocket(dir + "/b");
    testing::MakeStaleSocket(dir + "/B");
    testing::MakeStaleSocket(dir + "/a10");
    testing::MakeStaleSocket(dir + "/a2");
    std::ofstream(dir + "/a1") << "plain file";
    fs::create_directory(dir + "/a0");
    int error = 0;
    auto endpoints = ListEndpoints(dir, error);
    EXPECT_EQ(endpoints,
              (std::vector<std::string>{dir + "/B", dir + "/a10", dir + "/a2", dir + "/b"}));
    fs::remove_all(dir);

    endpoints = ListEndpoints(dir, error);
    EXPECT_TRUE(endpoints.empty());
    EXPECT_EQ(error, ENOENT);
}

TEST(RequestTimeout, DefaultsUnlessAPositiveNumberIsGiven) {
    ::unsetenv("VELORIN_REQUEST_TIMEOUT_MS");
    EXPECT_EQ(RequestTimeoutMs(), 2000);
    ::setenv("VELORIN_REQUEST_TIMEOUT_MS", "150", 1);
    EXPECT_EQ(RequestTimeoutMs(), 150);
    for (const char *bad : {"0", "-5", "12ms", "", "99999999999"}) {
        ::setenv("VELORIN_REQUEST_TIMEOUT_MS", bad, 1);
        EXPECT_EQ(RequestTimeoutMs(), 2000) << bad;
    }
    ::unsetenv("VELORIN_REQUEST_TIMEOUT_MS");
}

}  // namespace
}  // namespace velorin::board
