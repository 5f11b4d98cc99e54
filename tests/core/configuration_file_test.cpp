#include "core/device/configuration_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/base/file_io.h"
#include "core/base/profile_file.h"

namespace velorin::core {
namespace {

namespace fs = std::filesystem;

class ConfigurationFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velorin-config-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, ignored);
        fs::remove_all(dir_, ignored);
    }
    std::string Path(const std::string &name) const { return (dir_ / name).string(); }
    static void Put(const std::string &path, const std::string &content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Get(const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static RegisterImage Sample() {
        RegisterImage image;
        image.bytes = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB};
        return image;
    }

    fs::path dir_;
};

TEST_F(ConfigurationFileTest, RecordFormat) {
    EXPECT_EQ(FormatConfigurationValue(Sample()), "0123456789AB04");
    EXPECT_EQ(FormatConfigurationValue(RegisterImage{}), "00000000000000");
    RegisterImage image;
    image.bytes = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(FormatConfigurationValue(image), "FFFFFFFFFFFFFA");
}

TEST_F(ConfigurationFileTest, RejectedValuesLeaveTheImageUnchanged) {
    for (const char *value :
         {"0123456789AB05", "0123456789AB", "0123456789AB040000", "", "0123456789AG04",
          "0123456789AB0", " 123456789AB04", "0x23456789AB04", "0123456789AB0\xC4"}) {
        SCOPED_TRACE(value);
        RegisterImage image;
        image.bytes = {9, 8, 7, 6, 5, 4};
        const RegisterImage before = image;
        std::string why;
        EXPECT_FALSE(ParseConfigurationValue(value, image, &why));
        EXPECT_EQ(image, before);
        EXPECT_FALSE(why.empty());
    }
    RegisterImage image;
    EXPECT_TRUE(ParseConfigurationValue("0123456789ab04", image));
    EXPECT_EQ(image, Sample());
}

TEST_F(ConfigurationFileTest, SaveThenLoadRestoresTheBytes) {
    const std::string path = Path("Config.MXR817");
    std::string why;
    ASSERT_TRUE(SaveConfiguration(path, Sample(), &why)) << why;
    EXPECT_EQ(Get(path), "[MXR817]\r\nCONFIG=0123456789AB04\r\n");
    RegisterImage image;
    ASSERT_TRUE(LoadConfiguration(path, image, &why)) << why;
    EXPECT_EQ(image, Sample());
}

TEST_F(ConfigurationFileTest, SaveKeepsOtherSectionsAndPermissions) {
    const std::string path = Path("shared.ini");
    Put(path, "; settings\r\n[First]\r\nA=1\r\n[MXR817]\r\nCONFIG=00000000000000\r\n[Last]\nB=2\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(SaveConfiguration(path, Sample()));
    EXPECT_EQ(Get(path),
              "; settings\r\n[First]\r\nA=1\r\n[MXR817]\r\nCONFIG=0123456789AB04\r\n[Last]\nB=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ConfigurationFileTest, LoadFailuresKeepTheImage) {
    const RegisterImage before = Sample();
    struct Case {
        const char *name;
        const char *content;  // nullptr: no file
    };
    for (const Case &c :
         {Case{"missing", nullptr}, Case{"nosection", "[Other]\r\nCONFIG=00000000000000\r\n"},
          Case{"nokey", "[MXR817]\r\nCONFIGX=00000000000000\r\n"},
          Case{"checksum", "[MXR817]\r\nCONFIG=0123456789AB05\r\n"},
          Case{"short", "[MXR817]\r\nCONFIG=0123456789AB\r\n"},
          Case{"long", "[MXR817]\r\nCONFIG=0123456789AB040000\r\n"},
          Case{"binary", "\x01\x02\xFF\xFE"}}) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.name);
        if (c.content) Put(path, c.content);
        RegisterImage image = before;
        std::string why;
        EXPECT_FALSE(LoadConfiguration(path, image, &why));
        EXPECT_EQ(image, before);
        EXPECT_FALSE(why.empty());
    }
    RegisterImage image = before;
    EXPECT_FALSE(LoadConfiguration(dir_.string(), image));  // a directory
    EXPECT_EQ(image, before);
}

TEST_F(ConfigurationFileTest, FailedSavesReportAndKeepTheFile) {
    std::string why;
    EXPECT_FALSE(SaveConfiguration(Path("no/such/dir/file.ini"), Sample(), &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(SaveConfiguration("", Sample(), &why));
    EXPECT_FALSE(SaveConfiguration(dir_.string(), Sample(), &why));

    if (::geteuid() != 0) {  // root writes through any permission
        const std::string readOnly = Path("readonly.ini");
        Put(readOnly, "[MXR817]\r\nCONFIG=00000000000000\r\n");
        ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
        EXPECT_FALSE(SaveConfiguration(readOnly, Sample(), &why));
        EXPECT_EQ(Get(readOnly), "[MXR817]\r\nCONFIG=00000000000000\r\n");

        const std::string unreadable = Path("unreadable.ini");
        Put(unreadable, "[Keep]\r\nA=1\r\n");
        ASSERT_EQ(::chmod(unreadable.c_str(), 0200), 0);
        EXPECT_FALSE(SaveConfiguration(unreadable, Sample(), &why));
        ASSERT_EQ(::chmod(unreadable.c_str(), 0600), 0);
        EXPECT_EQ(Get(unreadable), "[Keep]\r\nA=1\r\n");

        ASSERT_EQ(::chmod(dir_.c_str(), 0500), 0);
        EXPECT_FALSE(SaveConfiguration(Path("new.ini"), Sample(), &why));
        ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
    }
}

TEST_F(ConfigurationFileTest, SaveFollowsSymbolicLinks) {
    const std::string target = Path("real.ini");
    Put(target, "[Keep]\r\nA=1\r\n");
    const std::string link = Path("link.ini");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(SaveConfiguration(link, Sample()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Get(target), "[Keep]\r\nA=1\r\n[MXR817]\r\nCONFIG=0123456789AB04\r\n");
}

TEST_F(ConfigurationFileTest, OversizedFilesAreRefusedWhole) {
    const std::string path = Path("big.ini");
    Put(path, std::string(kMaxProfileFileBytes + 1, 'x'));
    std::string value, why;
    EXPECT_EQ(ReadProfileValue(path, "MXR817", "CONFIG", value, &why), ProfileLookup::Unreadable);
    EXPECT_FALSE(SaveConfiguration(path, Sample(), &why));
    EXPECT_EQ(fs::file_size(path), kMaxProfileFileBytes + 1);
}

}  // namespace
}  // namespace velorin::core
