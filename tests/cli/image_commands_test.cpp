// velorinctl image set and image export, loopfilter --image, and numbers with units on the
// frequency and current options.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "ctl_run.h"

namespace velorin::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char *kImage = "159E27028003";

nlohmann::json Json(const CtlResult &run) {
    return nlohmann::json::parse(run.out);
}

std::string Read(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The compiler of that name on PATH, or nothing.
std::optional<fs::path> FindProgram(const std::string &name) {
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const fs::path candidate = fs::path(dir.empty() ? "." : dir) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

class ImageFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velorin-image-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    // Runs the command line in the folder, its output in `log`; true on exit status 0.
    bool Shell(const std::string &command) const {
        const std::string line = "cd '" + dir_.string() + "' && " + command + " >log 2>&1";
        return std::system(line.c_str()) == 0;
    }
    fs::path dir_;
};

// Each field's rule is tested in the core; here the command's arguments and outputs.
TEST(ImageSetTest, EditsFieldsByKeyAndFriendlyNameAndPrintsBytesOrDecodedJson) {
    const struct {
        std::vector<std::string> edits;
        const char *bytes;
    } cases[] = {
        {{}, kImage},
        {{"prescaler=2", "outputDivider=32", "vco=1"}, "2E9E27028003"},
        {{"chargePump=224\xC2\xB5"
          "A",
          "calDelayCount=3"},
         "959E27FA8003"},
        {{"loopFilterWord=00074C", "testSelect=15"}, "154C0700800F"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {"image", "set", "15 9E 27 02 80 03"};
        args.insert(args.end(), c.edits.begin(), c.edits.end());
        const CtlResult run = RunCtl(args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, std::string(c.bytes) + "\n");
    }
    const CtlResult json = RunCtl({"image", "set", kImage, "outputDivider=4", "--json"});
    ASSERT_EQ(json.code, 0);
    EXPECT_EQ(Json(json), Json(RunCtl({"image", "decode", "159E27028003", "--json"})));
}

TEST(ImageSetTest, BadFieldsAndValuesAreUsageErrorsThatSayWhat) {
    const struct {
        std::vector<std::string> args;
        const char *says;
    } cases[] = {
        {{"image", "set", kImage, "prescaler=2", "bogus=1"}, "prescalerCode, outputDividerCode"},
        {{"image", "set", kImage, "r2Code=32"}, "r2Code takes 0 to 31, not \"32\""},
        {{"image", "set", "159E270280", "vco=1"}, "12 hexadecimal digits"},
    };
    for (const auto &c : cases) {
        const CtlResult run = RunCtl(c.args);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

TEST(ImageExportTest, JsonAndCsvParseToEveryFieldOfTheImage) {
    const CtlResult json = RunCtl({"image", "export", kImage, "--format", "json", "--block", "b"});
    ASSERT_EQ(json.code, 0) << json.err;
    const auto exported = Json(json);
    EXPECT_EQ(exported["block"], "B");
    EXPECT_EQ(exported["bytes"], kImage);
    // Every field is named by its key in image decode --json and holds the code found there.
    const auto decoded = Json(RunCtl({"image", "decode", kImage, "--json"}));
    ASSERT_EQ(exported["fields"].size(), 15u);
    for (const auto &field : exported["fields"]) {
        EXPECT_EQ(decoded.at(field["name"].get<std::string>()), field["code"]) << field;
    }

    const CtlResult csv = RunCtl({"image", "export", kImage, "--format", "csv"});
    ASSERT_EQ(csv.code, 0);
    // RFC 4180: CRLF after each record, quoted fields with their commas.
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < csv.out.size(); ++i) {
        const char c = csv.out[i];
        if (c == '"') {
            quoted = !quoted;  // no field of the image holds a quote
        } else if (!quoted && c == ',') {
            rows.back().emplace_back();
        } else if (!quoted && csv.out.compare(i, 2, "\r\n") == 0) {
            rows.emplace_back(1);
            ++i;
        } else {
            rows.back().back() += c;
        }
    }
    ASSERT_EQ(rows.back(), std::vector<std::string>{""});  // the last record ends in CRLF
    rows.pop_back();
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"field", "bits", "code", "meaning"}));
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 4u);
        const auto &field = exported["fields"][i - 1];
        EXPECT_EQ(rows[i][0], field["name"]);
        EXPECT_EQ(rows[i][1], field["bits"]);
        EXPECT_EQ(rows[i][2], std::to_string(field["code"].get<int>()));
        EXPECT_EQ(rows[i][3], field["text"]);
    }
}

TEST_F(ImageFilesTest, CHeaderCompilesAsC99AndCxxAndHoldsTheImage) {
    const auto cc = FindProgram("cc");
    const auto cxx = FindProgram("c++");
    if (!cc && !cxx) GTEST_SKIP() << "neither cc nor c++ is on PATH";
    const CtlResult run = RunCtl({"image", "export", kImage, "--format", "c", "--name", "bench_cfg",
                                  "-o", (dir_ / "bench_cfg.h").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    {
        std::ofstream program(dir_ / "main.c");
        program << "#include <stdio.h>\n#include \"bench_cfg.h\"\n#include \"bench_cfg.h\"\n"
                   "int main(void) {\n"
                   "    unsigned i;\n"
                   "    for (i = 0; i < sizeof bench_cfg; ++i) printf(\"%02X\", bench_cfg[i]);\n"
                   "    printf(\" %08lX\\n\", (unsigned long)BENCH_CFG_CONTROL_WORD);\n"
                   "    return 0;\n}\n";
    }
    const std::string strict = " -Wall -Wextra -Wpedantic -Werror ";
    if (cc) {
        ASSERT_TRUE(Shell(cc->string() + " -std=c99" + strict + "-o c99 main.c"))
            << Read(dir_ / "log");
        ASSERT_TRUE(Shell("./c99"));
        EXPECT_EQ(Read(dir_ / "log"), "159E27028003 8002279E\n");
    }
    if (cxx) {
        ASSERT_TRUE(Shell(cxx->string() + " -x c++" + strict + "-o cxx main.c"))
            << Read(dir_ / "log");
        ASSERT_TRUE(Shell("./cxx"));
        EXPECT_EQ(Read(dir_ / "log"), "159E27028003 8002279E\n");
    }
}

TEST_F(ImageFilesTest, OutputFileIsReplacedWholeOrKeptAndNamesMustBeIdentifiers) {
    const fs::path file = dir_ / "settings.json";
    { std::ofstream(file) << "old"; }
    ASSERT_EQ(RunCtl({"image", "export", kImage, "--format", "json", "-o", file.string()}).code, 0);
    EXPECT_EQ(nlohmann::json::parse(Read(file))["controlWord"], "8002279E");

    const CtlResult unwritable = RunCtl(
        {"image", "export", kImage, "--format", "csv", "-o", (dir_ / "no/such.csv").string()});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_NE(unwritable.err.find("not written"), std::string::npos);
    const CtlResult badName =
        RunCtl({"image", "export", kImage, "--format", "c", "--name", "1st", "-o", file.string()});
    EXPECT_EQ(badName.code, 2);
    EXPECT_NE(badName.err.find("--name"), std::string::npos);
    EXPECT_EQ(RunCtl({"image", "export", kImage, "--format", "xml"}).code, 2);
    EXPECT_EQ(nlohmann::json::parse(Read(file))["controlWord"], "8002279E");  // untouched
}

std::vector<std::string> Design(const std::string &bandwidth, const std::string &icp,
                                std::vector<std::string> more = {}) {
    std::vector<std::string> args = {
        "loopfilter", "--bandwidth", bandwidth, "--phase-margin",     "80", "--charge-pump",
        icp,          "--prescaler", "5",       "--feedback-divider", "12", "--json"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(LoopFilterImageTest, PlacesTheDesignedWordInTheImage) {
    const CtlResult run = RunCtl(Design("400000", "224e-6", {"--image", "15 9E 27 02 80 03"}));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Json(run)["controlWord"], "00074C");
    EXPECT_EQ(Json(run)["image"], "154C07008003");
    EXPECT_FALSE(Json(RunCtl(Design("400000", "224e-6"))).contains("image"));

    std::vector<std::string> none = Design("400000", "224e-6", {"--image", kImage});
    none[4] = "95";  // no design for a phase margin beyond 90 degrees
    const CtlResult failed = RunCtl(none);
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(Json(failed)["image"].is_null());
    EXPECT_EQ(RunCtl(Design("400000", "224e-6", {"--image", "15 9E"})).code, 2);
}

TEST(UnitOptionsTest, EveryWayOfWritingAValueGivesTheSameResult) {
    const std::vector<std::vector<std::string>> same[] = {
        {{"plan", "--output", "156.25"},
         {"plan", "--output", "156.25MHz"},
         {"plan", "--output", "156.25mhz"},
         {"plan", "--output", "0.15625GHz"},
         {"plan", "--output", "156250kHz"},
         {"plan", "--output", "156250000Hz"}},
        // The ends of the crystal range stay inside it whatever the unit.
        {{"plan", "--input", "38.333"},
         {"plan", "--input", "38333kHz"},
         {"plan", "--input", "0.038333GHz"}},
        {{"plan", "--input", "27.351"}, {"plan", "--input", "27351000 Hz"}},
        {Design("400000", "224e-6"), Design("400kHz", "224uA"),
         Design("0.4MHz",
                "224\xC2\xB5"
                "A"),
         Design("400000Hz", "0.224mA")},
    };
    for (const auto &group : same) {
        const CtlResult first = RunCtl(group.front());
        ASSERT_EQ(first.code, 0) << group.front()[2];
        for (const auto &args : group) {
            SCOPED_TRACE(args[2] + " " + args[6 < args.size() ? 6 : 2]);
            const CtlResult run = RunCtl(args);
            EXPECT_EQ(run.code, 0) << run.err;
            EXPECT_EQ(run.out, first.out);
        }
    }
    EXPECT_EQ(RunCtl({"plan", "--output", "156.25GHz"}).code, 1);  // no plan makes 156 GHz
}

TEST(UnitOptionsTest, AnythingElseIsAUsageErrorNamingTheOptionAndItsUnits) {
    const struct {
        std::vector<std::string> args;
        const char *says;
    } cases[] = {
        {{"plan", "--output", "abc"}, "--output: \"abc\" is not a frequency"},
        {{"plan", "--input", "38.333MHzz"}, "Hz, kHz, MHz or GHz"},
        {Design("400000", "156.25MHz"), "--charge-pump: \"156.25MHz\" is not a current"},
        {Design("400000", "224uAx"), "A, mA or uA"},
        {Design("400mA", "224e-6"), "a number of Hz"},
        {Design("400000", "224e-6", {"--analyze", "--input", "30uA"}), "--input"},
        {{"xtal", "set", "38MHz!"}, "mhz"},
    };
    for (const auto &c : cases) {
        const CtlResult run = RunCtl(c.args);
        SCOPED_TRACE(c.says);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace velorin::testing
