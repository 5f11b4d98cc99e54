// The main view's rules against the emulated board: the bytes a setting change stages, the
// port bits by board kind, the poll, block B's crystal and the calculator bars.
#include "core/planning/main_view_model.h"

#include <gtest/gtest.h>

#include "board_run.h"
#include "core/ui/control_ids.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::testing {
namespace {

using core::MainViewModel;

struct ViewRun {
    explicit ViewRun(sim::BoardKind kind = sim::BoardKind::FourBlock)
        : run(kind), sleeper([this] { return run.Log().size(); }) {
        model.InitialUpdate();
        run.Emulator().ClearLog();
    }
    std::vector<Request> Sent() { return Requests(run.Log()); }
    uint8_t Port(int port) {
        return run.WithBoard([port](sim::BoardModel &b) { return b.Port(port); });
    }

    BoardRun run;
    ScriptedPrompts prompts;
    RecordingSleeper sleeper;
    core::RegisterImage image;
    MainViewModel model{run.Board(), prompts, sleeper, image};
};

TEST(MainViewModelTest, PrescalerChoiceRightAfterStartStagesTheImageTwiceAroundTheRestart) {
    struct Case {
        int command;
        uint8_t byte0;
        const char *prescaler;
        const char *feedback;
    };
    for (const Case &c : {Case{ids::kPrescaler5, 0x00, "/ 5", "/ 12"},
                          Case{ids::kPrescaler2, 0x06, "/ 2", "/ 32"}}) {
        ViewRun v;
        ASSERT_TRUE(v.model.RunSettingCommand(c.command));
        EXPECT_EQ(v.model.Display().prescalerText, c.prescaler);
        EXPECT_EQ(v.model.Display().feedbackDividerText, c.feedback);
        EXPECT_EQ(v.Sent(), Concat({RamWrite(0, {c.byte0, 0x9E, 0x27, 0x7A, 0x00, 0x00}),
                                    RamWrite(0, {c.byte0, 0x9E, 0x27, 0x7A, 0x80, 0x00}),
                                    {PortRead(1), PortWrite(1, 0x02)}}));
        EXPECT_EQ(v.sleeper.waits, (std::vector<Wait>{{50, 7}}));
    }
}

TEST(MainViewModelTest, WithoutCalibrationOneSettingChangeIsSevenRequestsAndThePortPair) {
    ViewRun v;
    v.model.State().vcoCalibrationOn = false;
    v.model.SetChargePump(4, true);
    EXPECT_EQ(core::ChargePumpCode(v.image), 15);
    EXPECT_EQ(v.Sent(), Concat({RamWrite(0, {0x00, 0x9E, 0x27, 0x7A, 0x00, 0x00}),
                                {PortRead(1), PortWrite(1, 0x02)}}));
    EXPECT_TRUE(v.sleeper.waits.empty());
}

TEST(MainViewModelTest, OutputBlockSwitchesTypeAndTheTerminationBitOfTheBoardKind) {
    for (auto kind : {sim::BoardKind::FourBlock, sim::BoardKind::ThreeBlock}) {
        ViewRun v(kind);
        const uint8_t bit = kind == sim::BoardKind::FourBlock ? 0x10 : 0x20;
        v.model.ToggleOutputType();
        EXPECT_EQ(v.model.Display().outputTypeText, "LVPECL       ");
        EXPECT_TRUE(v.model.State().terminationOn);
        EXPECT_TRUE(v.model.Display().terminationPictureVisible);
        EXPECT_EQ(v.image.Byte(0) & 0x40, 0x40);
        EXPECT_EQ(v.Port(0) & 0xF0, bit);
        EXPECT_EQ(v.model.Display().blockDVisible, kind == sim::BoardKind::FourBlock);

        v.model.ToggleOutputType();
        EXPECT_EQ(v.model.Display().outputTypeText, "LVDS        ");
        EXPECT_FALSE(v.model.State().terminationOn);
        EXPECT_EQ(v.Port(0) & 0xF0, 0);
        EXPECT_EQ(v.image.Byte(0) & 0x40, 0);
    }
}

TEST(MainViewModelTest, PollComputesOutputAndClampedVcoFromTheInput) {
    struct Case {
        const char *input;
        int prescalerCommand;
        bool vco2;
        const char *output;
        const char *vcoText;
        bool warning;
    };
    const Case cases[] = {
        {"30", ids::kPrescaler2, false, "960.00", "1920 Mhz", false},
        {"30", ids::kPrescaler2, true, "960.00", "2187 Mhz", true},
        {"40", ids::kPrescaler5, false, "480.00", "2187 Mhz", true},
        {"30,5", ids::kPrescaler2, false, "960.00", "1920 Mhz", false},  // a comma ends the number
        {"abc", ids::kPrescaler2, false, "0.00", "1894 Mhz", true},
    };
    for (const Case &c : cases) {
        ViewRun v;
        v.model.RunSettingCommand(c.prescalerCommand);
        if (c.vco2) v.model.ToggleVco();
        v.model.State().inputText = c.input;
        v.model.PollBoard();
        EXPECT_EQ(v.model.State().outputText, c.output) << c.input;
        EXPECT_EQ(v.model.Display().vcoText, c.vcoText) << c.input;
        EXPECT_EQ(v.model.Display().rangeWarningVisible, c.warning) << c.input;
    }

    ViewRun empty;
    empty.model.State().outputText = "typed";
    empty.model.PollBoard();
    EXPECT_EQ(empty.model.State().outputText, "typed");
    EXPECT_EQ(empty.model.Display().vcoText, "1894 MHz");
    EXPECT_EQ(empty.Sent(), (std::vector<Request>{PortRead(0), Identity(), PortRead(3),
                                                  PortWrite(0, 0x00), PortRead(3)}));
}

TEST(MainViewModelTest, PollFollowsSuppliesPowerAndAnUnpluggedBoard) {
    ViewRun v;
    v.model.State().terminationOn = true;
    v.run.WithBoard([](sim::BoardModel &b) { b.SetSupplyFault(2, true); });
    v.model.PollBoard();
    EXPECT_EQ(v.model.Display().vddLedLit, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(v.Port(0) & 0x10, 0x10);  // block A's termination kept on
    EXPECT_TRUE(v.model.State().powerOn);

    v.run.Emulator().Unplug();
    v.model.PollBoard();
    EXPECT_TRUE(v.model.Display().usbLedLit);
    v.model.PollBoard();
    EXPECT_TRUE(v.model.Display().usbLedLit);
    ASSERT_TRUE(v.run.Emulator().Replug());
    v.model.PollBoard();
    EXPECT_FALSE(v.model.Display().usbLedLit);
    EXPECT_TRUE(v.model.StatusMessage().empty()) << v.model.StatusMessage();
}

TEST(MainViewModelTest, FailedSilentWritesAreNamedUntilTheNextSuccess) {
    ViewRun v;
    v.run.SetFaults(sim::Faults::FailCommand(0xA0));
    v.model.SetOutputDivider(2, true);
    EXPECT_EQ(v.model.Display().outputDividerText, "/ 4");  // the form keeps the new value
    EXPECT_EQ(core::OutputDividerCode(v.image), 2);
    EXPECT_EQ(core::VcoCalEnable(v.image), 0);  // the first staging failed
    EXPECT_TRUE(v.prompts.shown.empty());
    EXPECT_EQ(v.model.StatusMessage(),
              "The chip of block A does not hold the settings shown: the write failed.");

    v.run.SetFaults(sim::Faults::FailCommand(0x97));
    v.model.State().powerOn = false;
    v.model.ApplyPowerEnable();
    EXPECT_NE(v.model.StatusMessage().find("on-board power was not switched"), std::string::npos);

    v.run.Emulator().ClearFaults();
    v.model.SetOutputDivider(1, true);
    v.model.ApplyPowerEnable();
    EXPECT_EQ(v.model.StatusMessage(), "");
}

TEST(MainViewModelTest, BlockBOfAFourBlockBoardTakesTheCrystalRecord) {
    ViewRun v;
    v.run.WithBoard([](sim::BoardModel &b) {
        const char record[] = "30.000";
        for (size_t i = 0; i < sizeof(record); ++i)
            b.Eeprom().Write(static_cast<uint16_t>(0xB000 + i), static_cast<uint8_t>(record[i]));
    });
    v.model.State().blockIndex = 1;
    EXPECT_EQ(v.model.SelectBlock(), std::optional<std::string>("30.000"));
    EXPECT_FALSE(v.model.Display().inputEditEnabled);
    EXPECT_EQ(v.model.State().inputText, "30.000");
    const auto outputs = MainViewModel::CalculateOutputs(v.model.State().inputText);
    EXPECT_EQ(outputs.lines.size(), 19u);
    EXPECT_EQ(outputs.fieldText, "959.99Mhz,VCO=1,OD=1,P=2,FBD=32");

    v.model.State().blockIndex = 2;
    EXPECT_EQ(v.model.SelectBlock(), std::nullopt);
    EXPECT_TRUE(v.model.Display().inputEditEnabled);

    ViewRun three(sim::BoardKind::ThreeBlock);
    three.model.State().blockIndex = 1;
    EXPECT_EQ(three.model.SelectBlock(), std::nullopt);
    EXPECT_TRUE(three.Sent().empty());
}

TEST(MainViewModelTest, CrystalDialogStoresInRangeEntriesOnly) {
    ViewRun v;
    EXPECT_FALSE(v.model.SaveCrystalFrequency("38.3331"));
    EXPECT_EQ(v.prompts.Texts(),
              std::vector<std::string>{"XTAL frequency is beyond vco input range!"});
    EXPECT_TRUE(v.model.SaveCrystalFrequency("30"));
    v.model.LoadCrystalFrequency();
    EXPECT_EQ(v.model.State().inputText, "30.000");
}

TEST(MainViewModelTest, CalculatorBarsAndTheirApply) {
    EXPECT_EQ(MainViewModel::CalculateOutputs("25").fieldText, "input frequency not supported!");
    EXPECT_TRUE(MainViewModel::CalculateOutputs("38.4").lines.empty());

    struct Case {
        const char *wanted;
        const char *result;
        const char *input;
        const char *output;
        const char *prescaler;
        const char *feedback;
        const char *divider;
        int vcoSelect;
    };
    const Case cases[] = {
        {"1000", "31.25Mhz", "31.250", "1000.00", "/ 2", "/ 32", "/ 1", 0},
        {"1020", "31.88Mhz", "31.875", "1020.00", "/ 2", "/ 32", "/ 1", 1},
        {"156.25", "31.25Mhz", "31.250", "156.27", "/ 3", "/ 20", "/ 4", 0},
        {"100", "33.33Mhz", "33.333", "100.00", "/ 5", "/ 12", "/ 4", 0},
        {"10.9", "29.07Mhz", "29.067", "10.86", "/ 5", "/ 12", "/ 32", 0},
    };
    for (const Case &c : cases) {
        ViewRun v;
        EXPECT_EQ(v.model.CalculateInput(c.wanted), std::optional<std::string>(c.result));
        v.model.ApplyInputCalculation();
        const auto &s = v.model.State();
        const auto &d = v.model.Display();
        EXPECT_EQ(s.inputText, c.input) << c.wanted;
        EXPECT_EQ(s.outputText, c.output) << c.wanted;
        EXPECT_EQ(d.prescalerText, c.prescaler) << c.wanted;
        EXPECT_EQ(d.feedbackDividerText, c.feedback) << c.wanted;
        EXPECT_EQ(d.outputDividerText, c.divider) << c.wanted;
        EXPECT_EQ(s.vcoSelect, c.vcoSelect) << c.wanted;
        EXPECT_EQ(core::VcoSelect(v.image), c.vcoSelect) << c.wanted;
        // Nothing found: the remembered plan stays and Apply repeats it.
        EXPECT_EQ(v.model.CalculateInput("2000"), std::nullopt);
        v.model.ApplyInputCalculation();
        EXPECT_EQ(v.model.State().inputText, c.input);
    }

    ViewRun typed;
    typed.model.ApplyOutputCalculation("33.3333", "100Mhz,VCO=2,OD=4,P=5");
    EXPECT_EQ(typed.model.State().outputText, "100.00");
    EXPECT_EQ(typed.model.State().inputText, "33.333");
    EXPECT_EQ(typed.model.State().vcoSelect, 1);
    EXPECT_EQ(typed.model.Display().outputDividerText, "/ 4");
    typed.model.ApplyOutputCalculation("30", "959.99Mhz,VCO=1,OD=3,P=2");
    EXPECT_EQ(typed.model.Display().outputDividerText, "/ 4");  // OD 3 is no divider
    EXPECT_EQ(typed.model.Display().prescalerText, "/ 2");
    typed.run.Emulator().ClearLog();
    typed.model.ApplyOutputCalculation("30", "input frequency not supported!");
    EXPECT_TRUE(typed.Sent().empty());
}

TEST(MainViewModelTest, TakeBackOfTheDeviceSettingsDialog) {
    ViewRun v;
    core::SetPrescalerCode(v.image, 1);
    core::SetOutputDividerCode(v.image, 7);  // no divider of the table: the block keeps "/ 1"
    core::SetChargePumpCode(v.image, 5);     // not a thermometer code: "0"
    v.model.TakeBackAdvancedControl(2, 1, 1);
    const auto &d = v.model.Display();
    EXPECT_EQ(v.model.State().blockIndex, 2);
    EXPECT_EQ(d.outputTypeText, "LVPECL       ");
    EXPECT_TRUE(v.model.State().terminationOn);
    EXPECT_EQ(d.vcoCaption, "VC0 2");
    EXPECT_EQ(d.prescalerText, "/ 3");
    EXPECT_EQ(d.feedbackDividerText, "/ 20");
    EXPECT_EQ(d.outputDividerText, "/ 1");
    EXPECT_EQ(d.chargePumpText, "0");
    EXPECT_EQ(v.Port(0) & 0xF0, 0x40);  // block C on a four-block board: bit 6
    EXPECT_EQ(v.Port(1) & 0x20, 0x20);
    EXPECT_EQ(v.run.WithBoard([](sim::BoardModel &b) { return b.Chip(2).Ram()[0]; }),
              v.image.Byte(0));
}

TEST(MainViewModelTest, LoopFilterOkWritesBits0To18AndKeepsTheRest) {
    ViewRun v;
    const uint32_t before = v.image.ControlWord();
    v.model.ApplyLoopFilter({123456.7, 55.5, 17, 3, 11, 22});  // C1, C2, C3, R2
    EXPECT_EQ(core::C1Code(v.image), 17);
    EXPECT_EQ(core::C2Code(v.image), 3);
    EXPECT_EQ(core::C3Code(v.image), 11);
    EXPECT_EQ(core::R2Code(v.image), 22);
    EXPECT_EQ(v.image.ControlWord() & ~0x7FFFFu, before & ~0x7FFFFu);
    EXPECT_DOUBLE_EQ(v.model.State().loopBandwidth, 123456.7);
    EXPECT_EQ(v.Sent().size(), 16u);
}

// File New and Open run the initial update again over what the file or the user left.
TEST(MainViewModelTest, InitialUpdateAgainKeepsTheFileFieldsAndTheCalibrationBox) {
    ViewRun v;
    v.model.SetPrescaler(3, false);
    v.model.ToggleVco();
    v.image.SetByte(0, 0xFF);
    v.image.SetControlWord(0x00012345);        // a file's loop-filter codes, charge pump 0
    v.model.State().vcoCalibrationOn = false;  // the user's box, as the form shows it

    v.model.InitialUpdate();
    EXPECT_EQ(v.image.Byte(0), 0x81);  // bits 1-6 cleared, VCO select and bit 7 kept
    EXPECT_EQ(core::ChargePumpCode(v.image), 15);
    EXPECT_EQ(v.image.ControlWord() & 0x7FFFF, 0x12345u);
    const auto &d = v.model.Display();
    EXPECT_EQ(d.prescalerText, "/ 5");
    EXPECT_EQ(d.feedbackDividerText, "/ 12");
    EXPECT_EQ(d.outputDividerText, "/ 1");
    EXPECT_EQ(d.chargePumpText, "224 µA");
    EXPECT_EQ(d.vcoCaption, "VCO 1");
    EXPECT_EQ(v.model.State().vcoSelect, 0);
    EXPECT_FALSE(v.model.State().vcoCalibrationOn);

    v.run.Emulator().ClearLog();
    v.model.SetOutputDivider(1, true);
    EXPECT_EQ(v.Sent().size(), 9u);  // staged once: the calibration stays off
}

TEST(MainViewModelTest, StatusNotesClearWhenTheBoardTakesTheSameWriteAgain) {
    ViewRun v;
    v.run.SetFaults(sim::Faults::FailCommand(0x97));
    v.model.ApplyPowerEnable();
    EXPECT_EQ(v.model.StatusMessage(), "The on-board power was not switched.");
    v.run.Emulator().ClearFaults();
    v.model.PollBoard();
    EXPECT_EQ(v.model.StatusMessage(), "");

    // A failed store stays named after the load that follows it succeeds.
    v.run.SetFaults(sim::Faults::FailCommand(0x93));
    EXPECT_TRUE(v.model.SaveCrystalFrequency("30"));
    v.run.Emulator().ClearFaults();
    v.model.LoadCrystalFrequency();
    EXPECT_EQ(v.model.StatusMessage(),
              "The crystal-frequency record of block B could not be written.");
}

TEST(MainViewModelTest, BlankCrystalRecordReadsAsLatin1Text) {
    ViewRun v;
    v.model.LoadCrystalFrequency();
    std::string blank;
    for (int i = 0; i < 10; ++i) blank += "\u00ff";
    EXPECT_EQ(v.model.State().inputText, blank);
}

}  // namespace
}  // namespace velorin::testing
