// The read-back dialog against the emulated chip: where each text goes, the invert box,
// re-reading and closing, the marks of the comparison and Copy. The decoding is tested in core.
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
#include "gui/widgets/control_id.h"
#include "screenshots.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::gui {
namespace {

using namespace velorin::testing;

const sim::ImageBytes kChipImage{0xC5, 0x9E, 0x27, 0x02, 0x80, 0x03};

class ReadBackDialogTest : public ::testing::Test {
  protected:
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
    ProgramServices services{run.Board(), prompts, sleeper, image};
};

TEST_F(ReadBackDialogTest, ReadsTheBlockIntoEveryFieldOnOpeningOnReadBackAndOnEnter) {
    run.WithBoard([](sim::BoardModel &b) { b.Chip(2).SetEeprom(kChipImage, true, false); });
    const auto sent = run.WithBoard([](sim::BoardModel &b) { return b.Chip(2).ReadBackBuffer(); });
    ReadBackDlg dialog(services, 2);
    EXPECT_EQ(dialog.windowTitle(), "Device read back");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.findChild<QCheckBox *>("invertDataBitsCheck")->isChecked());
    EXPECT_TRUE(dialog.findChild<QPushButton *>("readBackButton")->isDefault());
    // Identity, read-back command for block C, 32 fetches, and no writes.
    std::vector<Request> expected{Identity(), ReadBackCommand(2)};
    for (int i = 0; i < 32; ++i) expected.push_back(Fetch(i));
    EXPECT_EQ(Requests(run.Log()), expected);
    EXPECT_EQ(image.bytes, kChipImage);

    // Each control, found by its id, holds its own text.
    core::ReadBackBytes first8{};
    std::copy_n(sent.begin(), 8, first8.begin());
    const core::ReadBackTexts texts = core::DecodeReadBack(first8, false);
    for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
        int found = 0;
        for (auto *edit : dialog.findChildren<QLineEdit *>()) {
            if (ControlIdOf(edit) != field.controlId) continue;
            ++found;
            EXPECT_EQ(edit->text().toStdString(), texts.*field.text) << field.key;
        }
        EXPECT_EQ(found, 1) << field.key;
    }
    EXPECT_EQ(Text(dialog, "prescalerText"), "/ 4");
    EXPECT_EQ(Text(dialog, "eepromStatusText"), "EE written");
    EXPECT_EQ(dialog.findChild<QLabel *>("comparisonSummary")->text(),
              "EEPROM matches the program's settings");

    dialog.show();
    Click(dialog, "readBackButton");
    QTest::keyClick(dialog.findChild<QLineEdit *>("rawEdit"), Qt::Key_Return);
    EXPECT_EQ(run.Log().size(), 3 * expected.size());
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, "closeWindowButton");
    EXPECT_FALSE(dialog.isVisible());

    ReadBackDlg again(services, 2);
    again.show();
    QTest::keyClick(&again, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
}

TEST_F(ReadBackDialogTest, SilentBoardReadsAllOnesAndEachClickOfTheBoxReadsAgain) {
    run.Emulator().Unplug();
    ReadBackDlg dialog(services, 0);
    const std::vector<std::pair<const char *, QString>> allOnes{
        {"deviceRevision", "7"},      {"eeVcoCalWord", "63"},
        {"eepromLockText", "locked"}, {"chargePumpText", QString::fromUtf8("224 µA")},
        {"calDelayText", "32Meg"},    {"vcoSelectText", "VCO 2"},
        {"outputDividerText", ""},    {"c2Text", "473.5 pF"},
        {"r2Text", "0.0 kOhm"}};
    for (const auto &[key, text] : allOnes) EXPECT_EQ(Text(dialog, key), text) << key;
    // Nothing to compare: no field is marked and no verdict blames the chip.
    EXPECT_EQ(dialog.findChild<QLabel *>("comparisonSummary")->text(),
              "The board did not answer; nothing compared.");
    for (auto *edit : dialog.findChildren<QLineEdit *>()) {
        EXPECT_FALSE(edit->property("differsFromProgram").toBool())
            << edit->objectName().toStdString();
    }
    dialog.show();
    Click(dialog, "invertDataBitsCheck");
    EXPECT_EQ(Text(dialog, "deviceRevision"), "0");
    EXPECT_EQ(Text(dialog, "calDelayText"), "8,192");
    Click(dialog, "invertDataBitsCheck");
    EXPECT_EQ(Text(dialog, "deviceRevision"), "7");
    dialog.close();
}

TEST_F(ReadBackDialogTest, FieldsThatDifferFromTheProgramAreMarkedAndCopyTakesEverything) {
    run.WithBoard([](sim::BoardModel &b) { b.Chip(0).SetEeprom(kChipImage, true, false); });
    core::SetC1Code(image, 3);
    ReadBackDlg dialog(services, 0);
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

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(velorin::gui::testing::SaveScreenshot(dialog, "read_back_dlg"));
    dialog.close();
}

}  // namespace
}  // namespace velorin::gui
