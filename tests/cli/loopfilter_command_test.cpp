#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velorin::cli
