// The device-settings dialog's rules without its widgets: building and showing the image, the
// list safety, the refresh, and the buttons against the emulated board.
#include "core/device/device_settings_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/device/configuration_file.h"
#include "sequence_run.h"

namespace velorin::testing {
namespace {

using core::DeviceSettingsModel;
using core::DeviceSettingsState;
using core::SettingsList;
using Bytes = std::array<uint8_t, 6>;

struct ModelRun {
    explicit ModelRun(const Bytes &bytes = {}, int block = 1) : image{bytes} {
        model = std::make_unique<DeviceSettingsModel>(s.run.Board(), s.prompts, s.sleeper, image,
                                                      block);
    }
    // What a user does in the dialog: change some controls, and the dialog hands them over.
    template <typename F>
    void Change(F &&f) {
        DeviceSettingsState controls = model->State();
        f(controls);
        model->TakeControls(controls);
    }

    SequenceRun s;
    core::RegisterImage image;
    std::unique_ptr<DeviceSettingsModel> model;
};

TEST(DeviceSettingsModelTest, ConstructionDefaultsBuildC0AndCalibrationEnable) {
    ModelRun m;
    EXPECT_EQ(m.model->State().loopFilterText, "02279E");
    EXPECT_EQ(m.model->State().feedbackDividerText, "12");
    m.model->BuildRegisterImage();
    EXPECT_EQ(m.image.bytes, (Bytes{0xC0, 0, 0, 0, 0x80, 0}));
    EXPECT_EQ(m.model->State().byteTexts[0], "Byte0 = C0");
    EXPECT_EQ(m.model->State().byteTexts[4], "Byte4 = 80");
    EXPECT_EQ(m.model->State().loopFilterText, "000000");
    EXPECT_EQ(m.model->ImageDigits(), "C00000008000");
    EXPECT_EQ(m.s.Sent(), std::vector<Request>{});
}

TEST(DeviceSettingsModelTest, ListEntries) {
    EXPECT_EQ(core::ListEntries(SettingsList::ChargePump)[1],
              "056 \xC2\xB5"
              "A");
    EXPECT_EQ(core::ListEntries(SettingsList::VcoCalWord).size(), 64u);
    EXPECT_EQ(core::ListEntries(SettingsList::C2)[30], "461.0 pF");
    EXPECT_EQ(core::ListEntries(SettingsList::R2)[0], "127.6 kOhm");
    EXPECT_EQ(core::ListEntries(SettingsList::C3).size(), 16u);
    // A code without a divider gets one entry of its own, after the dividers.
    EXPECT_EQ(core::ListEntries(SettingsList::OutputDivider).size(), 6u);
    EXPECT_EQ(core::ListEntries(SettingsList::OutputDivider, 7).back(), "none (code 7)");
    EXPECT_EQ(core::OutputDividerRow(7), 6);
    EXPECT_EQ(core::OutputDividerRow(4), 4);
}

TEST(DeviceSettingsModelTest, BuildWritesEachFieldByMasking) {
    ModelRun m({0x00, 0x00, 0x00, 0x80, 0x00, 0xA0});  // word bit 23 set, Byte5 high nibble
    m.Change([](DeviceSettingsState &c) {
        c.chargePump = 4;
        c.outputType = 0;
        c.vcoCalEnable = 0;
        c.vcoCalOverride = 1;
        c.vcoSelect = 1;
        c.prescaler = 3;
        c.outputDividerCode = 5;
        c.vcoCalWord = 63;
        c.testSelect = 3;
        c.c1 = 9;
        c.c2 = 30;
        c.c3 = 4;
        c.r2 = 28;
    });
    m.model->BuildRegisterImage();
    const core::RegisterImage &image = m.image;
    EXPECT_EQ(core::ChargePumpCode(image), 15);
    EXPECT_EQ(core::CalDelayCount(image), 1);  // bit 23 cleared, Byte0 bit 7 set
    EXPECT_EQ(image.Byte(0), 0xAF);            // 1 0 101 11 1
    EXPECT_EQ(image.ControlWord(), 0x7F7A279Eu);
    EXPECT_EQ(image.Byte(5), 0xA3);
    EXPECT_EQ(m.model->State().loopFilterText, "02279E");
    EXPECT_EQ(m.model->State().byteTexts[5], "Byte5 = A3");
}

TEST(DeviceSettingsModelTest, ShowingAnImageSelectsItsFieldsAndNormalises) {
    // Charge-pump code 5 has no entry and selects "000 uA"; test select 7 with the spare bits.
    core::RegisterImage loaded{{0x5B, 0x9E, 0x27, 0xAA, 0x7F, 0xA7}};
    ModelRun m(loaded.bytes);
    m.model->ShowRegisterImage();
    const DeviceSettingsState &s = m.model->State();
    EXPECT_EQ((std::vector<int>{s.chargePump, s.testSelect, s.prescaler, s.outputDividerCode,
                                s.vcoSelect, s.outputType, s.vcoCalWord, s.vcoCalOverride,
                                s.vcoCalEnable, s.c2, s.r2, s.c1, s.c3}),
              (std::vector<int>{0, 7, 1, 3, 1, 1, 63, 1, 0, 30, 28, 9, 4}));
    EXPECT_EQ(s.feedbackDividerText, "20");
    EXPECT_EQ(m.image.Byte(5), 0xA7);
    EXPECT_EQ(core::ChargePumpCode(m.image), 0);
    EXPECT_EQ(core::CalDelayCount(m.image), 1);

    // Opening the dialog on that image starts from test entry 0 and the construction boxes.
    ModelRun reopened(m.image.bytes);
    reopened.model->Initialise();
    EXPECT_EQ(reopened.model->State().testSelect, 0);
    EXPECT_EQ(reopened.image.Byte(5), 0xA0);
    EXPECT_EQ(core::VcoCalEnable(reopened.image), 1);
    EXPECT_EQ(core::VcoCalOverride(reopened.image), 0);
    EXPECT_EQ(reopened.model->State().vcoCalWord, 63);
    EXPECT_EQ(reopened.model->State().feedbackDividerText, "20");
}

TEST(DeviceSettingsModelTest, SetToDefaultTouchesOnlyTheLoopFilterBits) {
    ModelRun m({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    m.model->SetLoopFilterDefault();
    EXPECT_EQ(m.image.ControlWord(), 0xFFFA279Eu);
    EXPECT_EQ(m.image.Byte(0), 0xFF);
    EXPECT_EQ(m.image.Byte(5), 0xFF);
    const DeviceSettingsState &s = m.model->State();
    EXPECT_EQ((std::array{s.c1, s.c2, s.c3, s.r2}), (std::array{9, 30, 4, 28}));
    m.model->Refresh();
    EXPECT_EQ(m.model->State().loopFilterText, "02279E");
}

TEST(DeviceSettingsModelTest, ControlsOutsideTheirRangeKeepTheState) {
    ModelRun m;
    m.Change([](DeviceSettingsState &c) { c.prescaler = 2, c.c3 = 15, c.blockIndex = 3; });
    // A list without a selection, positions past the tables, a divider code without an entry
    // that was not loaded, a block and flags out of range.
    m.Change([](DeviceSettingsState &c) {
        c.prescaler = -1, c.chargePump = 5, c.vcoCalWord = 64, c.testSelect = 16, c.c1 = 32;
        c.c3 = 16, c.outputDividerCode = 6, c.blockIndex = 4, c.outputType = 2;
        c.powerEnable = -1;
    });
    const DeviceSettingsState &s = m.model->State();
    EXPECT_EQ((std::vector<int>{s.prescaler, s.chargePump, s.vcoCalWord, s.testSelect, s.c1, s.c3,
                                s.outputDividerCode, s.blockIndex, s.outputType, s.powerEnable}),
              (std::vector<int>{2, 0, 0, 0, 0, 15, 0, 3, 1, 1}));
    ModelRun badBlock({}, 7);
    EXPECT_EQ(badBlock.model->Choice().blockIndex, 1);
}

TEST(DeviceSettingsModelTest, OutputDividerCodeWithoutDividerIsKeptUntilChanged) {
    ModelRun m({0x38, 0, 0, 0, 0, 0});  // output divider code 7
    m.model->Initialise();
    EXPECT_EQ(m.model->State().inputLowText, "29.2");  // from the opening on, without a request
    EXPECT_EQ(m.s.Sent(), std::vector<Request>{});
    EXPECT_EQ(m.model->State().outputDividerCode, 7);
    EXPECT_EQ(core::OutputDividerCode(m.image), 7);
    m.model->Refresh();
    EXPECT_EQ(m.model->State().outputLowText, "");
    EXPECT_EQ(m.model->State().outputHighText, "");
    EXPECT_EQ(m.model->State().inputLowText, "29.2");
    m.Change([](DeviceSettingsState &c) { c.outputDividerCode = 2; });
    m.model->BuildRegisterImage();
    EXPECT_EQ(core::OutputDividerCode(m.image), 2);
    m.Change([](DeviceSettingsState &c) { c.outputDividerCode = 7; });
    EXPECT_EQ(m.model->State().outputDividerCode, 2);
}

TEST(DeviceSettingsModelTest, FrequencyWindows) {
    struct Case {
        int vco, prescaler, divider;
        const char *feedback, *outLow, *outHigh, *inLow, *inHigh;
    };
    const Case cases[] = {
        {0, 0, 0, "12", "350.1", "408.0", "29.2", "34.0"},
        {1, 3, 5, "32", "31.9", "36.7", "31.9", "36.7"},
        {0, 1, 0, "20", "583.5", "680.0", "29.2", "34.0"},
    };
    for (const Case &c : cases) {
        ModelRun m;
        m.Change([&](DeviceSettingsState &s) {
            s.vcoSelect = c.vco;
            s.prescaler = c.prescaler;
            s.outputDividerCode = c.divider;
        });
        m.model->UpdateFeedbackDividerText();
        EXPECT_FALSE(m.model->Refresh().boardLost);
        const DeviceSettingsState &s = m.model->State();
        EXPECT_EQ((std::vector<std::string>{s.feedbackDividerText, s.outputLowText,
                                            s.outputHighText, s.inputLowText, s.inputHighText}),
                  (std::vector<std::string>{c.feedback, c.outLow, c.outHigh, c.inLow, c.inHigh}));
        EXPECT_EQ(m.s.Sent(), std::vector<Request>{PortRead(0)});
    }
}

TEST(DeviceSettingsModelTest, RefreshWatchesTheConnection) {
    ModelRun m;
    ::testing::internal::CaptureStdout();  // the library's discovery lines
    m.s.run.Emulator().Unplug();
    EXPECT_TRUE(m.model->Refresh().boardLost);
    EXPECT_EQ(m.model->State().inputLowText, "29.2");  // the windows do not need a board
    EXPECT_TRUE(m.model->Refresh().boardLost);
    ASSERT_TRUE(m.s.run.Emulator().Replug());
    EXPECT_FALSE(m.model->Refresh().boardLost);
    EXPECT_FALSE(m.model->Refresh().boardLost);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(m.s.Sent().back(), PortRead(0));
}

TEST(DeviceSettingsModelTest, ButtonsUseTheBlockTheBoxesAndTheRebuiltImage) {
    const Bytes built{0xC0, 0, 0, 0, 0x80, 0};
    const Bytes cleared{0xC0, 0, 0, 0, 0x00, 0};
    using core::SequenceResult;
    struct Case {
        const char *name;
        SequenceResult (DeviceSettingsModel::*run)();
        std::vector<Request> sent;
    };
    const Case cases[] = {
        {"ram", &DeviceSettingsModel::WriteSettingsToRam,
         Concat({RamWrite(2, cleared), RamWrite(2, built), {PortRead(1), PortWrite(1, 0x00)}})},
        {"eeprom", &DeviceSettingsModel::ProgramEeprom,
         Concat(
             {RamWrite(2, built),
              {EepromRead(0xA002, 0x83), Word(2, 263, 15), Word(2, 7, 0), EepromWrite(0xA002, 1)},
              RamWrite(2, built),
              {PortRead(1), PortWrite(1, 0x00)}})},
        {"lock",
         &DeviceSettingsModel::ProgramAndLockEeprom,
         {Word(2, 263, 170), Word(2, 7, 0), EepromWrite(0xA002, 170), PortRead(1),
          PortWrite(1, 0x00)}},
        {"unlock", &DeviceSettingsModel::UnlockEeprom, {Word(2, 0, 0), Unlock(2), Word(2, 7, 0)}},
        {"idle", &DeviceSettingsModel::SendIdle, {Word(2, 7, 255)}},
        {"power", &DeviceSettingsModel::SwitchPower, {PortRead(0), PortWrite(0, 0x02)}},
        {"termination", &DeviceSettingsModel::SwitchTermination, {PortRead(0), PortWrite(0, 0x42)}},
        {"enable", &DeviceSettingsModel::SwitchOutputEnable, {PortRead(1), PortWrite(1, 0x00)}},
        {"read back", &DeviceSettingsModel::StartReadBackMode, {ReadBackCommand(2)}},
        // The check byte: (C0 + 80 + 0 + 1 + 2) - 1.
        {"record",
         &DeviceSettingsModel::SaveBlockRecord,
         {EepromRead(0xA010, 0x83), EepromWrite(0xA010, 0xC0), EepromWrite(0xA011, 0),
          EepromWrite(0xA012, 0), EepromWrite(0xA013, 0), EepromWrite(0xA014, 0x80),
          EepromWrite(0xA015, 0), EepromWrite(0xA016, 0), EepromWrite(0xA017, 1),
          EepromWrite(0xA018, 2), EepromWrite(0xA019, 0x42)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ModelRun m({}, 0);
        m.s.prompts.answers = {core::MessageAnswer::Yes};
        m.s.prompts.lockConfirmed = true;
        m.s.prompts.passwordAccepted = true;
        // Block C, power off, termination on, output enable off.
        m.Change([](DeviceSettingsState &s) {
            s.blockIndex = 2;
            s.powerEnable = 0;
            s.outputEnable = 0;
        });
        EXPECT_EQ(((*m.model).*c.run)(), SequenceResult::Done);
        EXPECT_EQ(m.s.Sent(), c.sent);
        EXPECT_EQ(ErrorMessages(m.s.prompts), 0u);
    }
}

class DeviceSettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velorin-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char *name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(DeviceSettingsFileTest, SaveAndLoadRoundTripThroughTheSharedFormat) {
    ModelRun saver;
    saver.Change([](DeviceSettingsState &s) {
        s.prescaler = 3;
        s.c2 = 17;
        s.testSelect = 9;
    });
    saver.s.prompts.files = {Path("Config.MXR817")};
    EXPECT_TRUE(saver.model->SaveConfigToFile());
    ASSERT_EQ(saver.s.prompts.saveRequests.size(), 1u);
    const core::FileRequest &request = saver.s.prompts.saveRequests[0];
    EXPECT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].label, "MXR817 file");
    EXPECT_EQ(request.filters[0].pattern, "*.MXR817");
    EXPECT_EQ(request.defaultExtension, "MXR817");
    EXPECT_EQ(request.initialName, "Config.MXR817");
    EXPECT_TRUE(request.overwritePrompt);

    // What the document would read, and what this dialog loads.
    core::RegisterImage document;
    ASSERT_TRUE(core::LoadConfiguration(Path("Config.MXR817"), document));
    EXPECT_EQ(document, saver.image);

    ModelRun loader({0x01, 0x02, 0x03, 0x04, 0x05, 0x06});
    loader.s.prompts.files = {Path("Config.MXR817")};
    EXPECT_TRUE(loader.model->LoadConfigFromFile());
    EXPECT_EQ(loader.image, saver.image);
    EXPECT_EQ(loader.model->State().testSelect, 9);
    EXPECT_EQ(loader.model->State().feedbackDividerText, "32");
    EXPECT_EQ(loader.s.Sent(), std::vector<Request>{});
}

TEST_F(DeviceSettingsFileTest, CancelBadFilesAndFailedSaves) {
    const Bytes before{0x02, 0x9E, 0x27, 0x02, 0x80, 0x00};
    ModelRun m(before);
    m.model->Initialise();
    const core::RegisterImage built = m.image;

    // Cancel, a missing file and a wrong checksum leave the image as it was.
    std::ofstream(Path("bad.MXR817")) << "[MXR817]\r\nCONFIG=0123456789AB05\r\n";
    m.s.prompts.files = {std::nullopt, Path("missing.MXR817"), Path("bad.MXR817"), std::nullopt};
    EXPECT_FALSE(m.model->LoadConfigFromFile());
    EXPECT_FALSE(m.model->LoadConfigFromFile());
    EXPECT_FALSE(m.model->LoadConfigFromFile());
    EXPECT_EQ(m.image, built);
    EXPECT_FALSE(m.model->SaveConfigToFile());
    EXPECT_TRUE(m.s.prompts.shown.empty());

    // A save that cannot be written says so and leaves nothing behind.
    m.s.prompts.files = {Path("no-such-folder/Config.MXR817")};
    EXPECT_FALSE(m.model->SaveConfigToFile());
    ASSERT_EQ(m.s.prompts.shown.size(), 1u);
    EXPECT_NE(m.s.prompts.shown[0].text.find("could not be saved"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("no-such-folder")));
}

}  // namespace
}  // namespace velorin::testing
