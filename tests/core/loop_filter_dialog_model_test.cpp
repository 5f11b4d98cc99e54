// The loop-filter dialog's rules: construction, slider moves, OK, a failed design, and what the
// response panel shows.
#include "core/loopfilter/loop_filter_dialog_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/base/number_text.h"

namespace velorin::core {
namespace {

using ::testing::HasSubstr;

struct Codes {
    int c1, c2, c3, r2;
};

void ExpectCodes(const LoopFilterChoice &choice, Codes codes) {
    EXPECT_EQ(choice.c1Code, codes.c1);
    EXPECT_EQ(choice.c2Code, codes.c2);
    EXPECT_EQ(choice.c3Code, codes.c3);
    EXPECT_EQ(choice.r2Code, codes.r2);
}

TEST(LoopFilterDialogModel, DefaultOpeningShowsTheTableValuesAndWord) {
    const LoopFilterDialogModel model(LoopFilterRequest{400000, 80, 224e-6, 5, 12});
    EXPECT_EQ(model.BandwidthKHz(), 400);
    EXPECT_EQ(model.PhaseMarginInt(), 80);
    const LoopFilterLabels &l = model.Labels();
    EXPECT_EQ(l.c1, "1.5pf");
    EXPECT_EQ(l.c2, "210.0pf");
    EXPECT_EQ(l.c3, "0.0pf");
    EXPECT_EQ(l.r2, "24.0k");
    EXPECT_EQ(l.r3, "10.0k");
    EXPECT_EQ(model.Design().controlWord, 0x74Cu);
    ExpectCodes(model.Choice(), {1, 12, 0, 26});
    EXPECT_FALSE(model.DesignFailed());
    // What the caller writes from the choice: bits 0-18 replaced, bits 19-31 kept.
    EXPECT_EQ(StoreLoopFilterCodes(0xFFFFFFFFu, ChoiceCodes(model.Choice())), 0xFFF8074Cu);
}

TEST(LoopFilterDialogModel, ConstructionKeepsTheGivenValuesUnrounded) {
    // Outside the slider range too: the edit shows the truncated kHz, the components and the
    // result come from the bandwidth as given until a slider moves.
    for (double bandwidth : {123456.7, 1234567.0, 20999.9}) {
        const LoopFilterRequest request{bandwidth, 45.6, 112e-6, 3, 20};
        const LoopFilterDialogModel model(request);
        EXPECT_EQ(model.BandwidthKHz(), static_cast<int>(bandwidth / 1000)) << bandwidth;
        EXPECT_EQ(model.PhaseMarginInt(), 45);
        const LoopFilterCodes codes = DesignLoopFilter(request).selection.codes;
        const LoopFilterChoice choice = model.Choice();
        EXPECT_EQ(choice.bandwidthHz, bandwidth);
        EXPECT_EQ(choice.phaseMarginDeg, 45.6);
        ExpectCodes(choice, {codes.c1, codes.c2, codes.c3, codes.r2});
    }
}

TEST(LoopFilterDialogModel, SliderMovesRedesignFromWholeUnits) {
    LoopFilterDialogModel model(LoopFilterRequest{400000.5, 80.5, 56e-6, 2, 32});
    const std::string before = model.BodeCsv();
    model.MoveSlider(LoopFilterSlider::Bandwidth, 50);
    EXPECT_EQ(model.Choice().bandwidthHz, 50000.0);
    EXPECT_EQ(model.Choice().phaseMarginDeg, 80.0);  // the integer, not 80.5
    model.MoveSlider(LoopFilterSlider::PhaseMargin, 30);
    EXPECT_EQ(model.BandwidthKHz(), 50);
    EXPECT_EQ(model.PhaseMarginInt(), 30);
    ExpectCodes(model.Choice(), {31, 27, 8, 28});
    EXPECT_EQ(model.Labels().c1, "77.0pf");
    EXPECT_EQ(model.Labels().c2, "386.5pf");
    EXPECT_EQ(model.Labels().c3, "61.5pf");
    EXPECT_EQ(model.Labels().r2, "13.0k");
    // The response panel follows the move, as if opened there.
    const LoopFilterDialogModel there(LoopFilterRequest{50000, 30, 56e-6, 2, 32});
    EXPECT_NE(model.BodeCsv(), before);
    EXPECT_EQ(model.BodeCsv(), there.BodeCsv());
    EXPECT_EQ(model.StepCsv(), there.StepCsv());
}

TEST(LoopFilterDialogModel, EditFieldsReadBackAsIntegers) {
    struct Case {
        const char *text;
        std::optional<int> value;
    } cases[] = {{"12", 12},
                 {"  -3\t", -3},
                 {"+7", 7},
                 {"", std::nullopt},
                 {" ", std::nullopt},
                 {"12a", std::nullopt},
                 {"1.5", std::nullopt},
                 {"+-1", std::nullopt},
                 {"- 1", std::nullopt},
                 {"99999999999", std::nullopt}};
    for (const Case &c : cases) EXPECT_EQ(ReadIntegerField(c.text), c.value) << c.text;

    EXPECT_EQ(TruncateToInt(-2.9), -2);
    EXPECT_EQ(TruncateToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

TEST(LoopFilterDialogModel, ATypedValueMovesItsSliderThereAsASliderMoveWould) {
    using Typed = LoopFilterDialogModel::Typed;
    const LoopFilterRequest opening{400000, 80, 224e-6, 5, 12};
    struct Case {
        LoopFilterSlider field;
        const char *text;
        Typed typed;
        int position;  // where the slider goes, and what the field then shows
    } cases[] = {
        {LoopFilterSlider::Bandwidth, "200", Typed::Moved, 200},
        {LoopFilterSlider::Bandwidth, " 75 ", Typed::Moved, 75},
        {LoopFilterSlider::Bandwidth, "20", Typed::Moved, kBandwidthSliderMinKHz},
        {LoopFilterSlider::Bandwidth, "4000", Typed::Moved, kBandwidthSliderMaxKHz},
        {LoopFilterSlider::PhaseMargin, "45", Typed::Moved, 45},
        {LoopFilterSlider::PhaseMargin, "-5", Typed::Moved, kPhaseMarginSliderMinDeg},
        {LoopFilterSlider::PhaseMargin, "95", Typed::Moved, kPhaseMarginSliderMaxDeg},
        {LoopFilterSlider::Bandwidth, "200.5", Typed::NotInteger, 400},
        {LoopFilterSlider::PhaseMargin, "", Typed::NotInteger, 80},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        LoopFilterDialogModel typed(opening);
        LoopFilterDialogModel slid(opening);
        EXPECT_EQ(typed.TypeValue(c.field, c.text), c.typed);
        if (c.typed == Typed::Moved) slid.MoveSlider(c.field, c.position);
        const bool bandwidth = c.field == LoopFilterSlider::Bandwidth;
        EXPECT_EQ(bandwidth ? typed.BandwidthKHz() : typed.PhaseMarginInt(), c.position);
        const LoopFilterChoice a = typed.Choice(), b = slid.Choice();
        EXPECT_EQ(a.bandwidthHz, b.bandwidthHz);
        EXPECT_EQ(a.phaseMarginDeg, b.phaseMarginDeg);
        ExpectCodes(a, {b.c1Code, b.c2Code, b.c3Code, b.r2Code});
        EXPECT_EQ(typed.Labels().c2, slid.Labels().c2);
        EXPECT_EQ(typed.BodeCsv(), slid.BodeCsv());
    }
}

TEST(LoopFilterDialogModel, TheShownValueTypedAgainKeepsAnUnroundedOpening) {
    // Outside the slider range and not whole: visiting the field changes nothing.
    LoopFilterDialogModel model(LoopFilterRequest{1234567.8, 45.6, 112e-6, 3, 20});
    EXPECT_EQ(model.TypeValue(LoopFilterSlider::Bandwidth, "1234"),
              LoopFilterDialogModel::Typed::Unchanged);
    EXPECT_EQ(model.TypeValue(LoopFilterSlider::PhaseMargin, " 45"),
              LoopFilterDialogModel::Typed::Unchanged);
    EXPECT_EQ(model.AcceptEdits("1234", "45"), LoopFilterDialogModel::Accept::Ok);
    EXPECT_EQ(model.Choice().bandwidthHz, 1234567.8);
    EXPECT_EQ(model.Choice().phaseMarginDeg, 45.6);
}

TEST(LoopFilterDialogModel, OkRefusesANonIntegerAndOtherwiseUsesWhatTheFieldsShow) {
    LoopFilterDialogModel model(LoopFilterRequest{400000, 80, 224e-6, 5, 12});
    EXPECT_EQ(model.AcceptEdits("abc", "x"), LoopFilterDialogModel::Accept::BandwidthNotInteger);
    EXPECT_EQ(model.AcceptEdits("100", "4.5"),
              LoopFilterDialogModel::Accept::PhaseMarginNotInteger);
    // A refused OK changes nothing, not even the field that was an integer.
    EXPECT_EQ(model.BandwidthKHz(), 400);
    EXPECT_EQ(model.Choice().bandwidthHz, 400000.0);
    EXPECT_EQ(model.AcceptEdits("100", "45"), LoopFilterDialogModel::Accept::Ok);
    EXPECT_EQ(model.BandwidthKHz(), 100);
    EXPECT_EQ(model.Choice().bandwidthHz, 100000.0);
    EXPECT_EQ(model.Choice().phaseMarginDeg, 45.0);
    EXPECT_EQ(model.Labels().c2, DesignLoopFilter({100000, 45, 224e-6, 5, 12}).selection.labels.c2);
}

TEST(LoopFilterDialogModel, AFailedDesignKeepsThePreviousComponentsAndSaysSo) {
    LoopFilterDialogModel model(LoopFilterRequest{});
    const LoopFilterLabels before = model.Labels();
    const auto rowsBefore = model.ResponseRows();
    model.MoveSlider(LoopFilterSlider::Bandwidth, 0);  // no slider gives this; the model copes
    EXPECT_TRUE(model.DesignFailed());
    EXPECT_EQ(model.Labels().c2, before.c2);
    EXPECT_EQ(model.Labels().r2, before.r2);
    ExpectCodes(model.Choice(), {1, 12, 0, 26});
    ASSERT_FALSE(model.ResponseNotes().empty());
    EXPECT_THAT(model.ResponseNotes().front(), HasSubstr("previous ones"));
    EXPECT_EQ(model.ResponseRows()[0].chosen, rowsBefore[0].chosen);

    // Failing from the start: no components at all, no figures, nothing to plot.
    const LoopFilterDialogModel failed(LoopFilterRequest{400000, 95, 224e-6, 5, 12});
    EXPECT_TRUE(failed.DesignFailed());
    ExpectCodes(failed.Choice(), {0, 0, 0, 31});
    EXPECT_EQ(failed.Labels().r3, "10.0k");
    for (const LoopResponseRow &row : failed.ResponseRows()) {
        EXPECT_EQ(row.ideal, "none") << row.figure;
        EXPECT_EQ(row.chosen, "none") << row.figure;
    }
    EXPECT_TRUE(failed.BodePlot().chosenMagnitudeDb.x.empty());
    EXPECT_TRUE(failed.StepPlot().chosen.x.empty());
}

TEST(LoopFilterDialogModel, ResponsePanelShowsTheCoreAnalysis) {
    const LoopFilterRequest request{250000, 60, 168e-6, 4, 16};
    const LoopFilterDialogModel model(request);
    LoopAnalysisOptions options;
    options.lockTolerances = {1e-2, 1e-4, 1e-6};
    const LoopAnalysis a = AnalyzeLoopFilter(request, DesignLoopFilter(request), options);
    ASSERT_TRUE(a.chosen && a.chosen->crossoverHz && a.chosen->lockTimes[2].seconds);

    const auto rows = model.ResponseRows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].figure, "Crossover (kHz)");
    EXPECT_EQ(rows[0].ideal, FormatFixed(*a.ideal->crossoverHz / 1e3, 1));
    EXPECT_EQ(rows[0].chosen, FormatFixed(*a.chosen->crossoverHz / 1e3, 1));
    EXPECT_EQ(rows[1].chosen, FormatFixed(*a.chosen->phaseMarginDeg, 1));
    EXPECT_EQ(rows[8].figure, "Lock to 1e-6 (\u00b5s)");
    EXPECT_EQ(rows[8].chosen, FormatFixed(*a.chosen->lockTimes[2].seconds * 1e6, 2));

    const BodePlotData &bode = model.BodePlot();
    EXPECT_EQ(bode.chosenPhaseDeg.x.size(), 200u);
    ASSERT_TRUE(bode.chosenPhaseMargin);
    EXPECT_DOUBLE_EQ(bode.chosenPhaseMargin->x, *a.chosen->crossoverHz);
    EXPECT_DOUBLE_EQ(bode.chosenPhaseMargin->y1 - bode.chosenPhaseMargin->y0,
                     *a.chosen->phaseMarginDeg);

    const StepPlotData &step = model.StepPlot();
    ASSERT_EQ(step.chosen.x.size(), 300u);
    ASSERT_TRUE(step.chosenLock);
    EXPECT_DOUBLE_EQ(step.chosenLock->x, *a.chosen->lockTimes[0].seconds);
    // The window shows the settling to 1e-4 and the step starts at 0 and ends at 1.
    EXPECT_GT(step.stopS, *a.chosen->lockTimes[1].seconds);
    EXPECT_NEAR(step.chosen.y.front(), 0.0, 1e-9);
    EXPECT_NEAR(step.chosen.y.back(), 1.0, 1e-4);

    const std::string bodeCsv = model.BodeCsv(), stepCsv = model.StepCsv();
    EXPECT_EQ(std::count(bodeCsv.begin(), bodeCsv.end(), '\n'), 201);
    EXPECT_EQ(stepCsv.substr(0, stepCsv.find('\n')), "timeS,idealStep,chosenStep");
    EXPECT_EQ(std::count(stepCsv.begin(), stepCsv.end(), '\n'), 301);
}

TEST(LoopFilterDialogModel, NotesCarryTheCoreWarnings) {
    // Ideal R2 of about 288 kOhm lies beyond the R2 table.
    const LoopFilterDialogModel clamped(LoopFilterRequest{400000, 30, 56e-6, 5, 32});
    EXPECT_THAT(clamped.ResponseNotes(), ::testing::Contains(HasSubstr("Ideal R2")));

    const LoopFilterDialogModel noCurrent(LoopFilterRequest{400000, 80, 0, 5, 12});
    EXPECT_THAT(noCurrent.ResponseNotes(), ::testing::Contains(HasSubstr("Charge-pump current")));
    EXPECT_EQ(noCurrent.ResponseRows()[0].chosen, "none");
    EXPECT_TRUE(noCurrent.BodePlot().chosenMagnitudeDb.x.empty());
    const std::string csv = noCurrent.StepCsv();
    EXPECT_THAT(csv, HasSubstr("\n0,,\n"));  // no loop: the value columns stay empty
}

}  // namespace
}  // namespace velorin::core
