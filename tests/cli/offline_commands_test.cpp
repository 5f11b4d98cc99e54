#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"
#include "velorin_version.h"

namespace velorin::cli {
namespace {

struct CtlResult {
    int code;
    std::string out;
    std::string err;
    nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

CtlResult Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), "velorinctl");
    std::vector<const char *> argv;
    argv.reserve(args.size());
    for (const std::string &arg : args) argv.push_back(arg.c_str());
    std::ostringstream out, err;
    const int code = RunVelorinCtl(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

TEST(VersionTest, VersionIsThePackageVersion) {
    std::ostringstream out, err;
    const char *argv[] = {"velorinctl", "--version"};
    EXPECT_EQ(RunVelorinCtl(2, argv, out, err), 0);
    EXPECT_EQ(out.str(), "velorinctl " VELORIN_PACKAGE_VERSION "\n");
    EXPECT_EQ(std::string(VELORIN_PACKAGE_VERSION).rfind("1.", 0), 0u);
}

TEST(PlanCommandTest, ListsOutputsForAnInput) {
    CtlResult run = Ctl({"plan", "--input", "38.333"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "766.70Mhz,VCO=2,OD=1,P=3,FBD=20");

    run = Ctl({"plan", "--input", "27.351", "--json"});
    ASSERT_EQ(run.code, 0);
    const auto json = run.Json();
    EXPECT_EQ(json["input"], 27.351);
    ASSERT_EQ(json["plans"].size(), 7u);
    const auto &first = json["plans"][0];
    EXPECT_EQ(first["row"], 1);
    EXPECT_EQ(first["vco"], 1);
    EXPECT_EQ(first["outputDivider"], 1);
    EXPECT_EQ(first["prescaler"], 2);
    EXPECT_EQ(first["feedbackDivider"], 32);
    EXPECT_NEAR(first["output"].get<double>(), 875.2, 1e-9);
    EXPECT_EQ(first["line"], "875.20Mhz,VCO=1,OD=1,P=2,FBD=32");
}

TEST(PlanCommandTest, UnsupportedInputsExitOne) {
    for (const char *input : {"25", "38.4", "25MHz", "0.0384GHz"}) {
        SCOPED_TRACE(input);
        CtlResult run = Ctl({"plan", "--input", input});
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.out, "input frequency not supported!\n");
    }
    CtlResult run = Ctl({"plan", "--input", "25", "--json"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.Json()["plans"].empty());
}

TEST(PlanCommandTest, FindsTheInputForAnOutput) {
    CtlResult run = Ctl({"plan", "--output", "10.9", "--json"});
    ASSERT_EQ(run.code, 0);
    auto plan = run.Json()["plan"];
    EXPECT_EQ(plan["row"], 37);
    EXPECT_NEAR(plan["requiredInput"].get<double>(), 29.0667, 1e-4);
    EXPECT_EQ(plan["vco"], 1);
    EXPECT_EQ(plan["outputDivider"], 32);
    EXPECT_EQ(plan["prescaler"], 5);
    EXPECT_EQ(plan["feedbackDivider"], 12);
    EXPECT_EQ(plan["line"],
              "10.86Mhz,VCO=1,OD=32,P=5,FBD=12");  // on the row's line, below its range

    run = Ctl({"plan", "--output", "1020"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("31.88Mhz"), std::string::npos);
    EXPECT_NE(run.out.find("VCO=2,OD=1,P=2,FBD=32"), std::string::npos);

    run = Ctl({"plan", "--output", "2000", "--json"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.Json()["plan"].is_null());
    EXPECT_EQ(Ctl({"plan", "--output", "10"}).code, 1);
}

TEST(PlanCommandTest, UsageErrors) {
    EXPECT_EQ(Ctl({"plan"}).code, 2);
    EXPECT_EQ(Ctl({"plan", "--input", "30", "--output", "100"}).code, 2);
    EXPECT_EQ(Ctl({"plan", "--bogus"}).code, 2);
    const CtlResult help = Ctl({"plan", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--output"), std::string::npos);
}

TEST(ImageCommandTest, DecodesEveryField) {
    CtlResult run = Ctl({"image", "decode", "c0 9e 27 02 80 a7", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto json = run.Json();
    EXPECT_EQ(json["vcoSelect"], 0);
    EXPECT_EQ(json["prescalerCode"], 0);
    EXPECT_EQ(json["outputDividerCode"], 0);
    EXPECT_EQ(json["outputType"], 1);
    EXPECT_EQ(json["calDelayCount"], 1);
    EXPECT_EQ(json["c2Code"], 30);
    EXPECT_EQ(json["r2Code"], 28);
    EXPECT_EQ(json["c1Code"], 9);
    EXPECT_EQ(json["c3Code"], 4);
    EXPECT_EQ(json["chargePumpCode"], 0);
    EXPECT_EQ(json["vcoCalWord"], 0);
    EXPECT_EQ(json["vcoCalOverride"], 0);
    EXPECT_EQ(json["vcoCalEnable"], 1);
    EXPECT_EQ(json["testSelect"], 7);
    EXPECT_EQ(json["loopFilterWord"], "02279E");

    run = Ctl({"image", "decode", "3F", "FF", "FFFF", "FF", "FF", "--json"});
    ASSERT_EQ(run.code, 0);
    EXPECT_EQ(run.Json()["loopFilterWord"], "07FFFF");
    EXPECT_EQ(run.Json()["outputDividerCode"], 7);
    EXPECT_EQ(run.Json()["chargePumpCode"], 15);
    EXPECT_EQ(run.Json()["calDelayCount"], 2);

    run = Ctl({"image", "decode", "C09E270280A7"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("02279E"), std::string::npos);
}

TEST(ImageCommandTest, MalformedHexIsAUsageError) {
    for (const char *hex : {"C09E270280", "C09E270280A7FF", "C09E270280AG", "0xC09E270280"}) {
        SCOPED_TRACE(hex);
        const CtlResult run = Ctl({"image", "decode", hex});
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(Ctl({"image", "decode"}).code, 2);
    EXPECT_EQ(Ctl({"image"}).code, 2);
}

TEST(ReadBackCommandTest, TextsMatchTheDialog) {
    CtlResult run = Ctl({"readback", "decode", "0000000000000000", "--json"});
    ASSERT_EQ(run.code, 0);
    auto json = run.Json();
    EXPECT_EQ(json.size(), 30u);
    EXPECT_EQ(json["raw"], "111 111111 1 1 11111111 11111111 11111111 11111111 11111111 11111111");
    EXPECT_EQ(json["chargePumpText"],
              "224 \xC2\xB5"
              "A");
    EXPECT_EQ(json["prescalerText"], "/ 2");
    EXPECT_EQ(json["outputDividerText"], "");
    EXPECT_EQ(json["r2Text"], "0.0 kOhm");
    EXPECT_NE(run.out.find("224 \xC2\xB5"
                           "A"),
              std::string::npos);  // UTF-8, not escaped

    run = Ctl({"readback", "decode", "80 00 00 00 00 00 10 1F", "--invert", "--json"});
    ASSERT_EQ(run.code, 0);
    json = run.Json();
    EXPECT_EQ(json["deviceRevision"], "1");
    EXPECT_EQ(json["calDelayCount"], "1");
    EXPECT_EQ(json["calDelayText"], "16,384");
    EXPECT_EQ(json["r2Text"], "127.6 kOhm");
    EXPECT_EQ(json["prescalerText"], "/ 5");
    EXPECT_EQ(json["vcoSelectText"], "VCO 1");

    EXPECT_EQ(Ctl({"readback", "decode", "00000000000000"}).code, 2);
    EXPECT_EQ(Ctl({"readback", "decode", "0000000000000000", "--json", "--nope"}).code, 2);
}

class ConfigCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velorin-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char *name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(ConfigCommandTest, WriteThenRead) {
    const std::string path = Path("Config.MXR817");
    { std::ofstream(path, std::ios::binary) << "[Keep]\r\nA=1\r\n"; }
    CtlResult run = Ctl({"config", "write", path, "01 23 45 67 89 ab"});
    ASSERT_EQ(run.code, 0) << run.err;
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "[Keep]\r\nA=1\r\n[MXR817]\r\nCONFIG=0123456789AB04\r\n");

    run = Ctl({"config", "read", path});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "0123456789AB\n");
    run = Ctl({"config", "read", path, "--json"});
    EXPECT_EQ(run.Json()["image"], "0123456789AB");
}

TEST_F(ConfigCommandTest, FailuresSayWhy) {
    CtlResult run = Ctl({"config", "read", Path("missing")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());

    const std::string corrupt = Path("corrupt");
    { std::ofstream(corrupt, std::ios::binary) << "[MXR817]\r\nCONFIG=0123456789AB05\r\n"; }
    run = Ctl({"config", "read", corrupt, "--json"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("checksum"), std::string::npos);

    run = Ctl({"config", "write", Path("no/dir/file"), "0123456789AB"});
    EXPECT_EQ(run.code, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(Ctl({"config", "write", Path("x"), "0123"}).code, 2);
    EXPECT_FALSE(std::filesystem::exists(Path("x")));
    EXPECT_EQ(Ctl({"config", "write", Path("x")}).code, 2);
}

}  // namespace
}  // namespace velorin::cli
