// Loading firmware image files: sizes up to the EEPROM's and the ways a file can fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app/firmware_image.h"

namespace velorin::core {
namespace {

class FirmwareFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velorin-fw-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string &name, size_t size) {
        auto path = (dir_ / name).string();
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < size; ++i) out.put(static_cast<char>(i * 7 + 3));
        return path;
    }

    std::filesystem::path dir_;
};

TEST_F(FirmwareFileTest, ReadsEveryByteUpToTheEepromSize) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{200}, kMaxFirmwareSize}) {
        const auto file = LoadFirmwareFile(Write("fw.bin", size));
        ASSERT_EQ(file.status, FirmwareFileStatus::Loaded) << size;
        ASSERT_EQ(file.bytes.size(), size);
        for (size_t i = 0; i < size; ++i) {
            ASSERT_EQ(file.bytes[i], static_cast<uint8_t>(i * 7 + 3));
        }
    }
}

TEST_F(FirmwareFileTest, RefusesWhatDoesNotFitOrCannotBeRead) {
    EXPECT_EQ(LoadFirmwareFile(Write("big.bin", kMaxFirmwareSize + 1)).status,
              FirmwareFileStatus::TooLarge);
    EXPECT_EQ(LoadFirmwareFile((dir_ / "none.bin").string()).status,
              FirmwareFileStatus::OpenFailed);
    // A directory opens but every read of it fails.
    const auto read = LoadFirmwareFile(dir_.string());
    EXPECT_EQ(read.status, FirmwareFileStatus::ReadFailed);
    EXPECT_TRUE(read.bytes.empty());
}

}  // namespace
}  // namespace velorin::core
