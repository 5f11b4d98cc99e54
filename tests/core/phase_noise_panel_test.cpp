// The phase-noise part of the loop-filter dialog without its window, and the noise model as the
// dialog's texts and as stored entries.
#include "core/loopfilter/phase_noise_panel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "core/loopfilter/noise_model_form.h"

namespace velorin::core {
namespace {

const LoopFilterRequest kRequest{400000, 80, 224e-6, 5, 12};

TEST(PhaseNoisePanel, NeedsTheInputFrequencyThenShowsBothLoops) {
    PhaseNoisePanelModel panel;
    const LoopFilterDesign design = DesignLoopFilter(kRequest);
    panel.SetPlan(0.0, 1);  // an empty input field reads as 0
    panel.Update(kRequest, design);
    EXPECT_EQ(panel.Notes(),
              (std::vector<std::string>{kNeedInputText,
                                        std::string("Noise model: ") + kNoiseDefaultsNote}));
    EXPECT_EQ(panel.Rows()[0].chosen, "none");
    EXPECT_FALSE(panel.CanSaveCurves());

    PhaseNoiseParameters mine;
    mine.pfdFomDbc = -226;
    panel.SetParameters(mine);
    panel.SetPlan(25.0, 1);
    panel.Update(kRequest, design);
    EXPECT_TRUE(panel.Notes().empty());  // a stable loop on the user's own model
    const std::vector<JitterRow> rows = panel.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].figure, "RMS jitter 12 kHz\u201320 MHz (fs)");
    EXPECT_EQ(rows[1].figure, "Integrated phase (deg)");
    EXPECT_NE(rows[0].ideal, "none");
    EXPECT_NE(rows[1].chosen, "none");
    EXPECT_EQ(rows[0].measured, "none");
    const NoisePlotData &plot = panel.Plot();
    EXPECT_EQ(plot.chosenTotal.x.size(), 121u);
    EXPECT_EQ(plot.r2.x.size(), 121u);
    EXPECT_GE(plot.highDbc, plot.chosenTotal.y.front());
    EXPECT_LE(plot.highDbc - plot.lowDbc, 120.0);
    EXPECT_TRUE(panel.CanSaveCurves());
}

TEST(PhaseNoisePanel, AMeasuredTraceThatCannotBeReadLeavesTheOldOne) {
    const std::string good = ::testing::TempDir() + "/good_trace.csv";
    const std::string bad = ::testing::TempDir() + "/bad_trace.csv";
    std::ofstream(good) << "Offset,dBc/Hz\n1e3,-100\n1e6,-140\n";
    std::ofstream(bad) << "1e3,-100\nnoise\n1e4,\n";
    PhaseNoisePanelModel panel;
    panel.SetPlan(25.0, 1);
    EXPECT_EQ(panel.LoadMeasured(good), "");
    EXPECT_NE(panel.LoadMeasured(bad).find("Line 3 \"1e4,\""), std::string::npos);
    panel.Update(kRequest, DesignLoopFilter(kRequest));
    EXPECT_EQ(panel.Plot().measured.x, (std::vector<double>{1e3, 1e6}));
    EXPECT_NE(panel.MeasuredFigures().find("good_trace.csv"), std::string::npos);
    EXPECT_NE(panel.MeasuredFigures().find("over 12 kHz\u20131 MHz"), std::string::npos);
    EXPECT_NE(panel.Rows()[0].measured, "none");
    std::remove(good.c_str());
    std::remove(bad.c_str());
}

TEST(NoiseModelForm, TextsRoundTripAndRowsAreSorted) {
    PhaseNoiseParameters p;
    p.pfdFomDbc = -225.5;
    NoiseModelTexts texts = NoiseModelToTexts(p);
    EXPECT_EQ(texts.pfdFom, "-225.5");
    texts.vcoRows.push_back({"", " "});        // blank: passed over
    texts.vcoRows.push_back({"3e5", "-120"});  // lands between 1e5 and 1e6
    const NoiseModelRead read = ReadNoiseModelTexts(texts);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.parameters.pfdFomDbc, -225.5);
    ASSERT_EQ(read.parameters.vcoPoints.size(), 6u);
    EXPECT_EQ(read.parameters.vcoPoints[2].offsetHz, 3e5);

    const struct {
        void (*spoil)(NoiseModelTexts &);
        const char *said;
    } cases[] = {
        {[](NoiseModelTexts &t) { t.temperature = "warm"; }, "Temperature (K) must be a number."},
        {[](NoiseModelTexts &t) { t.referenceRows[1].first = "-1"; }, "Reference noise, row 2"},
        {[](NoiseModelTexts &t) { t.vcoRows[1].first = "1e4"; },
         "the offset 10000 Hz is given twice"},
        {[](NoiseModelTexts &t) { t.bandHigh = "100"; }, "jitter band"},
    };
    for (const auto &c : cases) {
        NoiseModelTexts spoilt = NoiseModelToTexts({});
        c.spoil(spoilt);
        EXPECT_NE(ReadNoiseModelTexts(spoilt).error.find(c.said), std::string::npos) << c.said;
    }
}

TEST(NoiseModelForm, StoredEntriesThatCannotBeReadKeepTheirDefaults) {
    PhaseNoiseParameters p;
    p.temperatureK = 320;
    p.referencePoints = {{1e3, -150}};
    std::map<std::string, std::string> stored = NoiseModelToStored(p);
    EXPECT_EQ(NoiseModelFromStored(stored).referencePoints.size(), 1u);
    EXPECT_EQ(NoiseModelFromStored(stored).temperatureK, 320);

    stored["vcoPoints"] = "1e4:-84,garbage";
    stored["pfdFomDbc"] = "";
    const PhaseNoiseParameters read = NoiseModelFromStored(stored);
    EXPECT_EQ(read.vcoPoints.size(), PhaseNoiseParameters{}.vcoPoints.size());
    EXPECT_EQ(read.pfdFomDbc, -222);
    EXPECT_EQ(read.temperatureK, 320);

    stored["bandLowHz"] = "1e9";  // above the band's top: the whole set falls back
    EXPECT_EQ(NoiseModelFromStored(stored).temperatureK, 300);
}

}  // namespace
}  // namespace velorin::core
