#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"

namespace velorin::cli {
namespace {

struct CtlResult {
    int code = 0;
    std::string out;
    std::string err;
};

CtlResult Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), "velorinctl");
    std::vector<const char *> argv;
    argv.reserve(args.size());
    for (const auto &a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    CtlResult run;
    run.code = RunVelorinCtl(static_cast<int>(argv.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> Design(const std::string &bandwidth, const std::string &margin,
                                const std::string &icp) {
    return {"loopfilter", "--bandwidth", bandwidth, "--phase-margin",     margin, "--charge-pump",
            icp,          "--prescaler", "5",       "--feedback-divider", "12"};
}

TEST(LoopFilterCommandTest, JsonOfTheDefaultDesign) {
    auto args = Design("400000", "80", "224e-6");
    args.push_back("--json");
    const CtlResult run = Ctl(args);
    ASSERT_EQ(run.code, 0) << run.err;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["status"], 0);
    EXPECT_NEAR(j["ideal"]["c1"].get<double>(), 1.056e-12, 0.001e-12);
    EXPECT_NEAR(j["ideal"]["c2"].get<double>(), 202.1e-12, 0.05e-12);
    EXPECT_NEAR(j["ideal"]["c3"].get<double>(), 1.112e-12, 0.001e-12);
    EXPECT_NEAR(j["ideal"]["r2"].get<double>(), 22520, 5);
    EXPECT_EQ(j["ideal"]["r3"].get<double>(), 10000);
    EXPECT_EQ(j["codes"], nlohmann::json({{"c1", 1}, {"c2", 12}, {"c3", 0}, {"r2", 26}}));
    EXPECT_EQ(j["labels"], nlohmann::json({{"c1", "1.5pf"},
                                           {"c2", "210.0pf"},
                                           {"c3", "0.0pf"},
                                           {"r2", "24.0k"},
                                           {"r3", "10.0k"}}));
    EXPECT_EQ(j["controlWord"], "00074C");
    EXPECT_FALSE(j.contains("analysis"));
}

TEST(LoopFilterCommandTest, ReadableTextNamesCodesLabelsAndWord) {
    const CtlResult run = Ctl(Design("400000", "80", "224e-6"));
    ASSERT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("R2 code 26 (24.0k)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("00074C"), std::string::npos);
}

TEST(LoopFilterCommandTest, NoDesignIsExitOneAndUsageErrorsExitTwo) {
    auto args = Design("400000", "90", "224e-6");
    args.push_back("--json");
    const CtlResult failed = Ctl(args);
    EXPECT_EQ(failed.code, 1);
    EXPECT_FALSE(failed.err.empty());
    const auto j = nlohmann::json::parse(failed.out);
    EXPECT_EQ(j["status"], -1);
    EXPECT_TRUE(j["codes"].is_null());

    EXPECT_EQ(Ctl({"loopfilter", "--bandwidth", "400000"}).code, 2);
    EXPECT_EQ(Ctl(Design("fast", "80", "224e-6")).code, 2);
}

TEST(LoopFilterCommandTest, NoChargePumpWritesInfiniteR2AsNull) {
    auto args = Design("400000", "80", "0");
    args.push_back("--json");
    const CtlResult run = Ctl(args);
    ASSERT_EQ(run.code, 0);
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_TRUE(j["ideal"]["r2"].is_null());
    EXPECT_EQ(j["codes"]["r2"], 0);
    EXPECT_EQ(j["labels"]["r2"], "127.6k");
}

std::vector<std::string> With(std::vector<std::string> args,
                              std::initializer_list<std::string> more) {
    args.insert(args.end(), more);
    return args;
}

TEST(LoopFilterCommandTest, AnalyzeAddsBothLoopsAndWarnings) {
    const CtlResult run =
        Ctl(With(Design("400000", "80", "224e-6"), {"--json", "--analyze", "--input", "3"}));
    ASSERT_EQ(run.code, 0) << run.err;
    const auto a = nlohmann::json::parse(run.out).at("analysis");
    for (const char *key :
         {"crossoverHz", "phaseMarginDeg", "gainMarginDb", "closedLoopBandwidthHz", "peakingDb",
          "peakingHz", "overshootPct", "lockTimeS"}) {
        EXPECT_TRUE(a["ideal"].contains(key)) << key;
        EXPECT_TRUE(a["chosen"].contains(key)) << key;
    }
    EXPECT_NEAR(a["chosen"]["crossoverHz"].get<double>(), 424.0e3, 50);
    EXPECT_NEAR(a["chosen"]["lockTimeS"].get<double>(), 10.5e-6, 0.05e-6);
    EXPECT_TRUE(a["chosen"]["gainMarginDb"].is_null());
    EXPECT_TRUE(a["ideal"]["gainMarginDb"].is_number());
    ASSERT_EQ(a["warnings"].size(), 2u);
    EXPECT_NE(a["warnings"][1].get<std::string>().find("comparison frequency"), std::string::npos);

    const CtlResult failed = Ctl(With(Design("400000", "95", "224e-6"), {"--json", "--analyze"}));
    EXPECT_EQ(failed.code, 1);
    const auto f = nlohmann::json::parse(failed.out).at("analysis");
    EXPECT_TRUE(f["ideal"].is_null());
    EXPECT_FALSE(f["warnings"].empty());
}

TEST(LoopFilterCommandTest, InputNeedsAnalyzeAndMustBePositive) {
    EXPECT_EQ(Ctl(With(Design("400000", "80", "224e-6"), {"--input", "30"})).code, 2);
    EXPECT_EQ(Ctl(With(Design("400000", "80", "224e-6"), {"--analyze", "--input", "-1"})).code, 2);
}

class BodeFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velorin-bode-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        chmod(dir_.c_str(), 0700);
        std::filesystem::remove_all(dir_);
    }
    std::string dir_;
};

TEST_F(BodeFileTest, WritesHeaderAndPointsAndReplacesAnOldFile) {
    const std::string path = dir_ + "/bode.csv";
    std::ofstream(path) << "old contents\n";
    chmod(path.c_str(), 0640);
    const CtlResult run = Ctl(With(Design("400000", "80", "224e-6"), {"--bode", path}));
    ASSERT_EQ(run.code, 0) << run.err;
    std::ifstream in(path);
    std::string header, line;
    std::getline(in, header);
    EXPECT_EQ(header.rfind("frequencyHz,", 0), 0u);
    int lines = 0;
    while (std::getline(in, line)) ++lines;
    EXPECT_EQ(lines, 200);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(BodeFileTest, UnwritablePlaceOrNoDesignIsExitOneAndNoFile) {
    const std::string missing = dir_ + "/no/such/dir/bode.csv";
    const CtlResult run = Ctl(With(Design("400000", "80", "224e-6"), {"--bode", missing}));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("Cannot write"), std::string::npos);

    const std::string path = dir_ + "/bode.csv";
    EXPECT_EQ(Ctl(With(Design("400000", "90", "224e-6"), {"--bode", path})).code, 1);
    EXPECT_FALSE(std::filesystem::exists(path));
}

std::vector<std::string> Noise(std::initializer_list<std::string> more) {
    return With(With(Design("400000", "80", "224e-6"), {"--analyze", "--input", "25", "--noise"}),
                more);
}

TEST_F(BodeFileTest, NoiseAddsJitterFiguresCurvesAndTheMeasuredTrace) {
    const std::string trace = dir_ + "/trace.csv", curves = dir_ + "/noise.csv";
    std::ofstream(trace) << "Offset (Hz);dBc/Hz\n1000;-100\n1000000;-140\n";
    const CtlResult run = Ctl(Noise({"--json", "--output-divider", "2", "--measured", trace,
                                     "--noise-csv", curves, "--jitter-band", "12e3,20e6"}));
    ASSERT_EQ(run.code, 0) << run.err;
    const auto n = nlohmann::json::parse(run.out).at("noise");
    EXPECT_EQ(n["outputHz"], 150e6);
    EXPECT_EQ(n["vcoHz"], 1.5e9);
    EXPECT_EQ(n["pfdHz"], 25e6);
    EXPECT_EQ(n["band"], nlohmann::json({{"lowHz", 12e3}, {"highHz", 20e6}}));
    for (const char *loop : {"ideal", "chosen"}) {
        EXPECT_GT(n[loop]["rmsJitterFs"].get<double>(), 0) << loop;
        ASSERT_EQ(n[loop]["points"].size(), 121u);
        const auto &first = n[loop]["points"][0];
        EXPECT_EQ(first["offsetHz"], 100.0);
        for (const char *key :
             {"totalDbc", "pfdDbc", "flickerDbc", "referenceDbc", "vcoDbc", "r2Dbc", "r3Dbc"}) {
            EXPECT_TRUE(first[key].is_number()) << key;
        }
    }
    EXPECT_EQ(n["measured"]["coveredLowHz"], 12e3);
    EXPECT_EQ(n["measured"]["coveredHighHz"], 1e6);
    std::ifstream in(curves);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header.rfind("offsetHz,idealTotalDbc,", 0), 0u);

    const CtlResult text = Ctl(Noise({}));
    ASSERT_EQ(text.code, 0);
    EXPECT_NE(text.out.find("RMS jitter 12 kHz-20 MHz (fs)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Integrated phase (deg)"), std::string::npos);
}

TEST_F(BodeFileTest, NoiseUsageAndFileErrors) {
    EXPECT_EQ(Ctl(With(Design("400000", "80", "224e-6"), {"--analyze", "--noise"})).code, 2);
    EXPECT_EQ(Ctl(Noise({"--vco-noise", "1e4:-84,1e3:-90"})).code, 2);
    EXPECT_EQ(Ctl(Noise({"--jitter-band", "20e6,12e3"})).code, 2);
    EXPECT_EQ(Ctl(With(Design("400000", "80", "224e-6"), {"--temperature", "300"})).code, 2);

    const std::string trace = dir_ + "/bad.csv";
    std::ofstream(trace) << "Offset,dBc\n1000,-100\n2000,oops\n";
    const CtlResult bad = Ctl(Noise({"--measured", trace}));
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Line 3 \"2000,oops\""), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace velorin::cli
