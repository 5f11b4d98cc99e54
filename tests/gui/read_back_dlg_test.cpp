// The read-back dialog against the emulated chip: what it reads, where each text goes, the
// invert box, re-reading, closing, the comparison with the program's image and Copy.
#include "gui/device/read_back_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/board_run.h"
#include "core/forwarding_board.h"
#include "gui/widgets/control_id.h"
#include "screenshots.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::gui {
namespace {

using namespace velorin::testing;

const sim::ImageBytes kChipImage{0xC5, 0x9E, 0x27, 0x02, 0x80, 0x03};

// Fetches reach the emulator, but the buffer is replaced by a chosen one.
class PatternBoard : public ForwardingBoard {
  public:
    using ForwardingBoard::ForwardingBoard;
    bool ReadDataBack(uint16_t start, std::span<uint8_t> buffer) override {
        const bool ok = ForwardingBoard::ReadDataBack(start, buffer);
        std::copy_n(pattern.begin() + start, buffer.size(), buffer.begin());
        return ok;
    }
    std::array<uint8_t, 32> pattern{};
};

class ReadBackDialogTest : public ::testing::Test {
  protected:
    ProgramServices Services(core::Board &board) { return {board, prompts, sleeper, image}; }
    ProgramServices Services() { return Services(run.Board()); }
    QString Text(QDialog &dialog, const char *key) {
        auto *edit = dialog.findChild<QLineEdit *>(QString(key) + "Edit");
        return edit == nullptr ? QString("<missing %1>").arg(key) : edit->text();
    }
    void Click(QDialog &dialog, const char *name) {
        auto *widget = dialog.findChild<QAbstractButton *>(name);
        ASSERT_NE(widget, nullptr) << name;
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    BoardRun run;
    ScriptedPrompts prompts;
    RecordingSleeper sleeper;
    core::RegisterImage image{kChipImage};
};

TEST_F(ReadBackDialogTest, OpensOnTheTemplateAndShowsTheBlocksChipInEveryField) {
    run.WithBoard([](sim::BoardModel &b) { b.Chip(2).SetEeprom(kChipImage, true, false); });
    const std::array<uint8_t, 32> sent =
        run.WithBoard([](sim::BoardModel &b) { return b.Chip(2).ReadBackBuffer(); });
    ReadBackDlg dialog(Services(), 2);

    EXPECT_EQ(dialog.windowTitle(), "Device read back");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.findChild<QCheckBox *>("invertDataBitsCheck")->isChecked());
    EXPECT_TRUE(dialog.findChild<QPushButton *>("readBackButton")->isDefault());
    // Identity, read-back command for block C, 32 fetches, and nothing else: no writes.
    std::vector<Request> expected{Identity(), ReadBackCommand(2)};
    for (int i = 0; i < 32; ++i) expected.push_back(Fetch(i));
    EXPECT_EQ(Requests(run.Log()), expected);
    EXPECT_EQ(image.bytes, kChipImage);

    // Each control, found by its id, holds its own text.
    core::ReadBackBytes first8{};
    std::copy_n(sent.begin(), 8, first8.begin());
    const core::ReadBackTexts texts = core::DecodeReadBack(first8, false);
    for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
        QLineEdit *shown = nullptr;
        for (auto *edit : dialog.findChildren<QLineEdit *>()) {
            if (ControlIdOf(edit) == field.controlId) shown = edit;
        }
        ASSERT_NE(shown, nullptr) << field.key;
        EXPECT_EQ(shown->text().toStdString(), texts.*field.text) << field.key;
    }
    EXPECT_EQ(Text(dialog, "prescalerText"), "/ 4");
    EXPECT_EQ(Text(dialog, "eepromStatusText"), "EE written");
    EXPECT_EQ(Text(dialog, "deviceRevision"), "2");
    EXPECT_EQ(dialog.findChild<QLabel *>("comparisonSummary")->text(),
              "EEPROM matches the program's settings");
}

TEST_F(ReadBackDialogTest, SilentBoardReadsAllOnesAndTheBoxDecodesAsFetched) {
    run.Emulator().Unplug();
    ReadBackDlg dialog(Services(), 0);
    const std::vector<std::pair<const char *, QString>> allOnes{
        {"deviceRevision", "7"},      {"ramVcoCalWord", "63"},
        {"eeVcoCalWord", "63"},       {"eepromStatusText", "EE written"},
        {"eepromLockText", "locked"}, {"chargePumpText", QString::fromUtf8("224 µA")},
        {"calDelayText", "32Meg"},    {"driverSelectText", "LVPECL"},
        {"vcoSelectText", "VCO 2"},   {"prescalerText", "/ 2"},
        {"outputDivider", "7"},       {"outputDividerText", ""},
        {"c1Text", "77.0 pF"},        {"c2Text", "473.5 pF"},
        {"c3Text", "89.0 pF"},        {"r2Text", "0.0 kOhm"}};
    for (const auto &[key, text] : allOnes) EXPECT_EQ(Text(dialog, key), text) << key;

    dialog.show();
    Click(dialog, "invertDataBitsCheck");
    for (const auto &[key, text] :
         std::vector<std::pair<const char *, QString>>{{"deviceRevision", "0"},
                                                       {"eepromStatusText", "EE unwritten"},
                                                       {"calDelayText", "8,192"},
                                                       {"prescalerText", "/ 5"},
                                                       {"outputDividerText", "/ 1"}}) {
        EXPECT_EQ(Text(dialog, key), text) << key;
    }
    Click(dialog, "invertDataBitsCheck");
    EXPECT_EQ(Text(dialog, "deviceRevision"), "7");
    dialog.close();
}

TEST_F(ReadBackDialogTest, PatternsWithTheBoxSetAndTheUnusedBytes) {
    PatternBoard board(run.Board());
    ReadBackDlg dialog(Services(board), 1);
    dialog.show();
    Click(dialog, "invertDataBitsCheck");
    const QString zeros = Text(dialog, "raw");
    struct Case {
        size_t index;
        uint8_t value;
        std::vector<std::pair<const char *, QString>> texts;
    };
    const std::vector<Case> cases{
        {0,
         0x80,
         {{"deviceRevision", "1"},
          {"chargePumpText", "0"},
          {"calDelayText", "8,192"},
          {"outputDividerText", "/ 1"},
          {"prescalerText", "/ 5"},
          {"r2Text", "127.6 kOhm"}}},
        {6, 0x10, {{"calDelayCount", "1"}, {"calDelayText", "16,384"}}},
        {3, 0x10, {{"calDelayCount", "2"}, {"calDelayText", "32,768"}}},
    };
    for (const Case &c : cases) {
        board.pattern = {};
        board.pattern[c.index] = c.value;
        Click(dialog, "readBackButton");
        for (const auto &[key, text] : c.texts) EXPECT_EQ(Text(dialog, key), text) << key;
    }
    // s59-s63 and bytes 8-31 never show.
    board.pattern.fill(0);
    board.pattern[7] = 0x1F;
    std::fill(board.pattern.begin() + 8, board.pattern.end(), 0xA5);
    Click(dialog, "readBackButton");
    EXPECT_EQ(Text(dialog, "raw"), zeros);
    EXPECT_EQ(Text(dialog, "c2"), "0");
    dialog.close();
}

TEST_F(ReadBackDialogTest, ReadBackAndEnterReadAgainWhileCloseAndEscapeClose) {
    ReadBackDlg dialog(Services(), 0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(run.Log().size(), 34u);
    Click(dialog, "readBackButton");
    EXPECT_EQ(run.Log().size(), 68u);
    QTest::keyClick(dialog.findChild<QLineEdit *>("rawEdit"), Qt::Key_Return);
    EXPECT_EQ(run.Log().size(), 102u);
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, "closeWindowButton");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    ReadBackDlg again(Services(), 0);
    again.show();
    QTest::keyClick(&again, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(run.Log().size(), 136u);
}

TEST_F(ReadBackDialogTest, FieldsThatDifferFromTheProgramAreMarkedAndCopyTakesEverything) {
    run.WithBoard([](sim::BoardModel &b) { b.Chip(0).SetEeprom(kChipImage, true, false); });
    core::SetC1Code(image, 3);
    ReadBackDlg dialog(Services(), 0);
    core::ReadBackFields program;
    program.image = image;
    const QString tip =
        "Program: 3 (" + QString::fromStdString(core::FormatReadBackFields(program).c1Text) + ")";
    for (auto *edit : dialog.findChildren<QLineEdit *>()) {
        const QString name = edit->objectName();
        const bool c1 = name == "c1Edit" || name == "c1TextEdit";
        EXPECT_EQ(edit->property("differsFromProgram").toBool(), c1) << name.toStdString();
        EXPECT_EQ(edit->toolTip(), c1 ? tip : QString()) << name.toStdString();
    }
    EXPECT_EQ(Text(dialog, "c1"), "9");
    EXPECT_EQ(dialog.findChild<QLabel *>("comparisonSummary")->text(),
              "EEPROM differs from the program's settings: C1");

    QGuiApplication::clipboard()->clear();
    Click(dialog, "copyButton");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              core::ReadBackCopyText(dialog.Texts()));
    EXPECT_TRUE(
        QGuiApplication::clipboard()->text().startsWith("Raw Data: " + Text(dialog, "raw")));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(velorin::gui::testing::SaveScreenshot(dialog, "read_back_dlg"));
    dialog.close();
}

}  // namespace
}  // namespace velorin::gui
