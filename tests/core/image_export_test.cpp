// The image in the forms a firmware build takes, and File > Export Settings... behind the
// prompts.
#include "core/device/image_export.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/device/image_fields.h"
#include "core/device/settings_export.h"
#include "support/scripted_prompts.h"

namespace velorin::core {
namespace {

namespace fs = std::filesystem;

// VCO 2, prescaler 4, output divider 4, LVDS; the default loop filter; VCO calibration
// enabled; test select 3.
const RegisterImage kImage{{0x15, 0x9E, 0x27, 0x02, 0x80, 0x03}};

ImageExport How(ExportFormat format, int block = 0) {
    return {format, block, DefaultExportName(block), {"2026-12-08", "velorinctl 9.9"}};
}

// The rows' words; the command-line tests check that every form carries every field.
TEST(ImageExportTest, FieldsCarryTheirBitsCodeAndMeaning) {
    const auto json = nlohmann::json::parse(ExportImage(kImage, How(ExportFormat::Json, 2)));
    EXPECT_EQ(json["block"], "C");
    const struct {
        size_t row;
        const char *name;
        const char *bits;
        int code;
        const char *text;
    } rows[] = {
        {0, "vcoSelect", "Byte0 0", 1, "VCO 2"},
        {1, "prescalerCode", "Byte0 2:1", 2, "/ 4"},
        {4, "calDelayCount", "word 23, Byte0 7", 0, "8,192"},
        {6, "r2Code", "word 9:5", 28, "13.0 kOhm"},
        {12, "vcoCalEnable", "word 31", 1, "enabled"},
        {13, "testSelect", "Byte5 3:0", 3, "0011 vb"},
        {14, "spareBits", "Byte5 7:4", 0, "0"},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(json["fields"][r.row],
                  nlohmann::json(
                      {{"name", r.name}, {"bits", r.bits}, {"code", r.code}, {"text", r.text}}));
    }
}

TEST(ImageExportTest, CHeaderCommentIsPlainAsciiWithBlockDateAndProgram) {
    RegisterImage loud = kImage;
    SetChargePumpCode(loud, 15);
    const std::string header = ExportImage(loud, How(ExportFormat::CHeader, 1));
    EXPECT_NE(header.find("for Block B"), std::string::npos);
    EXPECT_NE(header.find("Written 2026-12-08 by velorinctl 9.9."), std::string::npos);
    EXPECT_NE(header.find("224 uA"), std::string::npos);
    EXPECT_TRUE(std::all_of(header.begin(), header.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

TEST(ImageExportTest, NamesMustBeCIdentifiers) {
    for (const char *good : {"cfg", "Block_A", "a1", "mxrg817a_block_d", "integer"}) {
        EXPECT_TRUE(IsCIdentifier(good)) << good;
    }
    for (const char *bad : {"", "1a", "_hidden", "block-a", "block a", "int", "static", "class",
                            "main", "caf\xC3\xA9"}) {
        EXPECT_FALSE(IsCIdentifier(bad)) << bad;
    }
}

TEST(ImageExportTest, FormatsByNameAndByExtension) {
    EXPECT_EQ(ExportFormatNamed("C"), std::nullopt);
    EXPECT_EQ(ExportFormatForPath("/tmp/x.H"), ExportFormat::CHeader);
    EXPECT_EQ(ExportFormatForPath("a.b/settings.Json"), ExportFormat::Json);
    EXPECT_EQ(ExportFormatForPath("a.csv/settings"), std::nullopt);
}

class ExportSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velorin-export-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char *name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    ExportOutcome Export(const std::optional<std::string> &answer, int block = 3) {
        prompts_.files.push_back(answer);
        return ExportSettings(prompts_, kImage, block, {"2026-12-08", "test"});
    }

    fs::path dir_;
    testing::ScriptedPrompts prompts_;
};

TEST_F(ExportSettingsTest, OffersTheThreeTypesAndWritesTheChosenOne) {
    ASSERT_EQ(Export(Path("board.csv")), ExportOutcome::Written);
    const FileRequest &request = prompts_.saveRequests.at(0);
    ASSERT_EQ(request.filters.size(), 3u);
    EXPECT_EQ(request.filters[2].pattern, "*.csv");
    EXPECT_EQ(request.initialName, "mxrg817a_block_d.h");
    EXPECT_EQ(Read(Path("board.csv")), ExportImage(kImage, How(ExportFormat::Csv, 3)));

    // A header is named after its file when it can be.
    ASSERT_EQ(Export(Path("board_d.h")), ExportOutcome::Written);
    EXPECT_NE(Read(Path("board_d.h")).find("uint8_t board_d[6]"), std::string::npos);
    ASSERT_EQ(Export(Path("board-d.h")), ExportOutcome::Written);
    EXPECT_NE(Read(Path("board-d.h")).find("uint8_t mxrg817a_block_d[6]"), std::string::npos);
    EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(ExportSettingsTest, CancelWritesNothingAndFailuresAreToldWithTheOldFileKept) {
    EXPECT_EQ(Export(std::nullopt), ExportOutcome::Cancelled);
    EXPECT_TRUE(prompts_.shown.empty());

    EXPECT_EQ(Export(Path("settings.txt")), ExportOutcome::Failed);
    EXPECT_FALSE(fs::exists(Path("settings.txt")));
    EXPECT_EQ(Export(Path("missing/settings.h")), ExportOutcome::Failed);
    ASSERT_EQ(prompts_.shown.size(), 2u);
    EXPECT_NE(prompts_.shown[0].text.find(".h, .json or .csv"), std::string::npos);
    EXPECT_NE(prompts_.shown[1].text.find("could not be exported"), std::string::npos);

    // A directory in the way of the new file: the write fails and what was there stays.
    fs::create_directory(Path("taken.json"));
    { std::ofstream(Path("taken.json/keep"), std::ios::binary) << "kept"; }
    EXPECT_EQ(Export(Path("taken.json")), ExportOutcome::Failed);
    EXPECT_EQ(Read(Path("taken.json/keep")), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace velorin::core
