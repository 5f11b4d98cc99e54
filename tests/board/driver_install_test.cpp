// Driver registration: what is installed where, and exactly which messages appear.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "board_fixture.h"

namespace velorin::testing {
namespace {

namespace fs = std::filesystem;

struct Message {
    std::string text;
    std::string caption;
    int kind;
};
std::vector<Message> g_messages;

void Record(const char *text, const char *caption, int kind) {
    g_messages.push_back({text, caption, kind});
}

class DriverInstall : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velorin-driver-XXXXXX";
        root_ = ::mkdtemp(pattern);
        rules_ = root_ + "/rules.d";
        fs::create_directories(rules_);
        ::setenv("VELORIN_UDEV_RULES_DIR", rules_.c_str(), 1);
        ::setenv("VELORIN_UDEVADM", "", 1);
        system_ = root_ + "/system-rules.d";
        ::setenv("VELORIN_SYSTEM_UDEV_RULES_DIR", system_.c_str(), 1);
        g_messages.clear();
        Velorin_SetMessageHandler(Record);
    }
    void TearDown() override {
        Velorin_SetMessageHandler(nullptr);
        fs::remove_all(root_);
    }
    std::string AppDirWithPackages() {
        std::string app = root_ + "/app";
        fs::create_directories(app + "/Driver");
        std::ofstream(app + "/Driver/QvVelorin.rules") << "# main\n";
        std::ofstream(app + "/Driver/BootPrep.rules") << "# boot loader\n";
        return app;
    }
    static std::string Read(const std::string &path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string root_;
    std::string rules_;
    std::string system_;
};

const char *kBootMessage =
    "Please RESET or Disconnect and Re-Connect the USB cable to the EVAL Board!\n\nAfter a "
    "successfull USB Connection (green USB LED) Download the Firmware to the EVM\ngo to the menu "
    "option Tool->Download Firmware To EVM";

TEST_F(DriverInstall, ForceInstallRegistersTheMainPackageSilently) {
    std::string app = AppDirWithPackages();
    EXPECT_EQ(Velorin_ForceInstall(app.c_str()), 0);
    EXPECT_EQ(Read(rules_ + "/QvVelorin.rules"), "# main\n");
    EXPECT_TRUE(g_messages.empty());
    // Only the package itself: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(rules_), fs::directory_iterator()), 1);
}

TEST_F(DriverInstall, MissingDriverFolderIsReportedWithTheErrorCode) {
    EXPECT_EQ(Velorin_ForceInstall((root_ + "/empty").c_str()), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text, "Error installing Driver!\nError 2");
    EXPECT_EQ(g_messages[0].caption, "Driver Install Error!");
    EXPECT_EQ(g_messages[0].kind, 1);
}

TEST_F(DriverInstall, UnwritableRulesDirectoryIsReported) {
    std::string app = AppDirWithPackages();
    ::setenv("VELORIN_UDEV_RULES_DIR", (root_ + "/missing-rules").c_str(), 1);
    EXPECT_EQ(Velorin_Install_qv_driver(app.c_str()), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text, "Error installing Driver!\nError 2");
}

TEST_F(DriverInstall, BootLoaderPackageShowsExactlyOneMessageEitherWay) {
    std::string app = AppDirWithPackages();
    EXPECT_EQ(Velorin_Install_qv_driver(app.c_str()), 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text, kBootMessage);
    EXPECT_EQ(g_messages[0].caption, "Driver Install");
    EXPECT_EQ(g_messages[0].kind, 0);
    EXPECT_EQ(Read(rules_ + "/BootPrep.rules"), "# boot loader\n");

    g_messages.clear();
    EXPECT_EQ(Velorin_Install_qv_driver((root_ + "/nowhere").c_str()), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].caption, "Driver Install Error!");
}

TEST_F(DriverInstall, InstallOnlyWhenTheMainPackageWasNeverRegistered) {
    std::string app = AppDirWithPackages();
    std::ofstream(rules_ + "/QvVelorin.rules") << "# installed earlier\n";
    EXPECT_EQ(Velorin_Install(app.c_str()), 0);
    EXPECT_EQ(Read(rules_ + "/QvVelorin.rules"), "# installed earlier\n");

    fs::remove(rules_ + "/QvVelorin.rules");
    EXPECT_EQ(Velorin_Install(app.c_str()), 0);
    EXPECT_EQ(Read(rules_ + "/QvVelorin.rules"), "# main\n");

    fs::remove(rules_ + "/QvVelorin.rules");
    EXPECT_EQ(Velorin_Install((root_ + "/nowhere").c_str()), 0);  // failure goes unreported
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(DriverInstall, AVeryLongDirectoryIsHandledSafely) {
    std::string longDir = root_ + "/" + std::string(5000, 'd');
    EXPECT_EQ(Velorin_ForceInstall(longDir.c_str()), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text.rfind("Error installing Driver!\nError ", 0), 0u);
}

TEST_F(DriverInstall, WithoutAHandlerMessagesGoToStandardError) {
    Velorin_SetMessageHandler(nullptr);
    ::testing::internal::CaptureStderr();
    Velorin_ForceInstall((root_ + "/empty").c_str());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Driver Install Error!: Error installing Driver!\nError 2\n");
}

// A package already in force succeeds without writing: in the rules directory (the file is not
// replaced), or where the system package put it (nothing is written, even where the rules
// directory could not be written). Other content is still installed, or fails as before.
TEST_F(DriverInstall, SameContentAlreadyInstalledSucceedsWithoutWriting) {
    const std::string app = AppDirWithPackages();
    std::ofstream(rules_ + "/QvVelorin.rules") << "# main\n";
    struct stat before {};
    ::stat((rules_ + "/QvVelorin.rules").c_str(), &before);
    EXPECT_EQ(Velorin_ForceInstall(app.c_str()), 0);
    struct stat after {};
    ::stat((rules_ + "/QvVelorin.rules").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);

    fs::remove_all(rules_);  // a rules directory that cannot be written to
    fs::create_directories(system_);
    std::ofstream(system_ + "/BootPrep.rules") << "# boot loader\n";
    EXPECT_EQ(Velorin_Install_qv_driver(app.c_str()), 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].caption, "Driver Install");
    EXPECT_FALSE(fs::exists(rules_));

    g_messages.clear();
    std::ofstream(system_ + "/QvVelorin.rules") << "# older main\n";
    EXPECT_EQ(Velorin_ForceInstall(app.c_str()), 1);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].text, "Error installing Driver!\nError 2");

    // Installed by the package counts as registered.
    fs::create_directories(rules_);
    EXPECT_EQ(Velorin_Install(app.c_str()), 0);
    EXPECT_FALSE(fs::exists(rules_ + "/QvVelorin.rules"));
}

}  // namespace
}  // namespace velorin::testing
