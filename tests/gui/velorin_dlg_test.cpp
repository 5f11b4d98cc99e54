// The device-settings dialog's Qt wiring: its controls, how it hands them to its model, the
// keys and endings, copying the image. The rules themselves are tested in the core.
#include "gui/device/velorin_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "core/sequence_run.h"
#include "core/ui/control_ids.h"
#include "core/ui/led_colors.h"
#include "gui/widgets/control_id.h"
#include "gui/widgets/dynamic_led.h"
#include "screenshots.h"

namespace velorin::gui {
namespace {

using velorin::testing::PortRead;
using velorin::testing::PortWrite;
using velorin::testing::Word;

struct DialogRun {
    explicit DialogRun(const std::array<uint8_t, 6> &bytes = {}, int block = 2)
        : image{bytes}, dialog(services, block) {
        // Tests call the refresh themselves, so that no tick falls between their requests.
        refresh = dialog.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
        if (refresh != nullptr) {
            refreshWasRunning = refresh->isActive();
            refresh->stop();
        }
    }

    template <typename W>
    W *Find(const char *name) {
        W *widget = dialog.findChild<W *>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString Text(const char *name) { return Find<QLabel>(name)->text(); }

    velorin::testing::SequenceRun s;
    core::RegisterImage image;
    ProgramServices services{s.run.Board(), s.prompts, s.sleeper, image};
    CVelorinDlg dialog;
    QTimer *refresh = nullptr;
    bool refreshWasRunning = false;
};

TEST(VelorinDialog, ControlsNamesTipsAndScreenshot) {
    DialogRun d;
    EXPECT_EQ(d.dialog.windowTitle(), "Norvale Devices MXRG817A EVAL");
    EXPECT_EQ(d.dialog.minimumSize(), d.dialog.maximumSize());
    // Every control carries its id and a tooltip naming what it writes.
    int controls = 0;
    for (QWidget *widget : d.dialog.findChildren<QWidget *>()) {
        if (ControlIdOf(widget) == 0) continue;
        ++controls;
        EXPECT_FALSE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
        if (auto *list = qobject_cast<QComboBox *>(widget)) {
            EXPECT_FALSE(list->isEditable());
            EXPECT_GE(list->currentIndex(), 0) << list->objectName().toStdString();
        }
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            EXPECT_FALSE(button->autoDefault());
        }
    }
    EXPECT_EQ(controls, 45);
    ASSERT_NE(d.refresh, nullptr);
    EXPECT_TRUE(d.refreshWasRunning);
    EXPECT_EQ(d.refresh->interval(), 500);
    EXPECT_EQ(d.Find<QComboBox>("c2List")->itemText(30), "461.0 pF");
    EXPECT_EQ(d.Find<QComboBox>("chargePumpList")->itemText(4), QString::fromUtf8("224 µA"));
    EXPECT_TRUE(d.Find<QRadioButton>("blockCRadio")->isChecked());
    EXPECT_TRUE(d.Find<QCheckBox>("vcoCalEnableCheck")->isChecked());
    EXPECT_EQ(d.Text("byte0Text"), "Byte0 = 80");
    EXPECT_TRUE(d.Find<QLabel>("byte0Text")->textInteractionFlags() & Qt::TextSelectableByMouse);
    auto *led = d.Find<CDynamicLED>("usbLed");
    EXPECT_EQ(led->ColorId(), core::LedColorRed);
    EXPECT_FALSE(led->IsOn());

    d.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.dialog));
    d.dialog.RefreshNow();
    EXPECT_TRUE(testing::SaveScreenshot(d.dialog, "velorin_dlg"));
    d.dialog.close();
}

TEST(VelorinDialog, ListsButtonsAndBoxesReachTheModelAndTheBoard) {
    DialogRun d;
    d.dialog.show();
    auto *prescaler = d.Find<QComboBox>("prescalerList");
    prescaler->setFocus();
    QTest::keyClick(prescaler, Qt::Key_Down);  // "3"
    EXPECT_EQ(d.Text("feedbackDividerText"), "20");
    d.dialog.RefreshNow();
    EXPECT_EQ(d.Text("inputLowText"), "29.2");
    EXPECT_EQ(d.Text("outputHighText"), "680.0");
    EXPECT_EQ(d.Text("byte0Text"), "Byte0 = 82");

    d.s.WithBoard([](sim::BoardModel &b) { b.SetPort(1, 0xFF); });
    d.s.run.Emulator().ClearLog();
    QTest::mouseClick(d.Find<QPushButton>("idleButton"), Qt::LeftButton);
    QTest::mouseClick(d.Find<QRadioButton>("blockARadio"), Qt::LeftButton);
    QTest::mouseClick(d.Find<QCheckBox>("outputEnableCheck"), Qt::LeftButton);  // off, block A
    EXPECT_EQ(d.s.Sent(), (std::vector<velorin::testing::Request>{Word(2, 7, 255), PortRead(1),
                                                                  PortWrite(1, 0xFD)}));
    d.dialog.close();
}

TEST(VelorinDialog, LoadedDividerCodeWithoutEntryShowsItsOwnRowUntilChanged) {
    DialogRun d({0x38, 0, 0, 0, 0, 0});  // output divider code 7
    auto *divider = d.Find<QComboBox>("outputDividerList");
    ASSERT_EQ(divider->count(), 7);
    EXPECT_EQ(divider->currentIndex(), 6);
    EXPECT_EQ(divider->currentText(), "none (code 7)");
    d.dialog.RefreshNow();
    EXPECT_EQ(core::OutputDividerCode(d.image), 7);
    divider->setFocus();
    QTest::keyClick(divider, Qt::Key_Up);  // "32"
    EXPECT_EQ(divider->count(), 6);
    EXPECT_EQ(divider->currentIndex(), 5);
    d.dialog.RefreshNow();
    EXPECT_EQ(core::OutputDividerCode(d.image), 5);
}

TEST(VelorinDialog, KeysDoNothingAndEveryEndingIsOkWithTheChoice) {
    DialogRun d;
    d.dialog.show();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(d.Find<QPushButton>("writeRamButton"), key);
        QTest::keyClick(&d.dialog, key);
        EXPECT_TRUE(d.dialog.isVisible()) << key;
    }
    EXPECT_EQ(d.s.Sent(), std::vector<velorin::testing::Request>{});  // no button was pressed
    d.Find<QRadioButton>("blockDRadio")->setChecked(true);
    d.Find<QRadioButton>("lvdsRadio")->setChecked(true);
    d.Find<QRadioButton>("vco2Radio")->setChecked(true);
    QTimer::singleShot(0, &d.dialog, [&] { d.dialog.close(); });
    EXPECT_EQ(d.dialog.exec(), QDialog::Accepted);
    const core::DeviceSettingsChoice choice = d.dialog.Choice();
    EXPECT_EQ(choice.blockIndex, 3);
    EXPECT_EQ(choice.outputType, 0);
    EXPECT_EQ(choice.vcoSelect, 1);
}

TEST(VelorinDialog, CopyImagePutsTwelveDigitsOnTheClipboardAndTheLedWatchesTheBoard) {
    DialogRun d;
    d.dialog.show();
    d.dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dialog));
    d.Find<QCheckBox>("vcoCalOverrideCheck")->setChecked(true);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&d.dialog, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "80000000C000");
    EXPECT_EQ(d.Text("byte4Text"), "Byte4 = C0");

    d.s.run.Emulator().Unplug();
    d.dialog.RefreshNow();
    EXPECT_TRUE(d.Find<CDynamicLED>("usbLed")->IsOn());
    ASSERT_TRUE(d.s.run.Emulator().Replug());
    d.dialog.RefreshNow();
    EXPECT_FALSE(d.Find<CDynamicLED>("usbLed")->IsOn());
    d.dialog.close();
}

TEST(VelorinDialog, EveryButtonAndBoxByItsCaptionStartsItsOwnOperation) {
    using namespace velorin::testing;
    // The opening requests that tell each operation from the others (block C); the RAM write
    // clears the calibration bit first, programming the EEPROM does not and reads the counter.
    struct Case {
        const char *caption;
        std::vector<Request> opening;
        size_t openChoosers = 0, saveChoosers = 0;
    };
    const std::vector<Case> cases{
        {"Write Velorin\nSettings to RAM", RamWrite(2, {0x80, 0, 0, 0, 0, 0})},
        {"Write Velorin\nSettings to EEPROM\nNO LOCKING",
         Concat({RamWrite(2, {0x80, 0, 0, 0, 0x80, 0}), {EepromRead(0xA002, 131)}})},
        {"Write Velorin\nSettings to EEPROM\nLOCKING", {Word(2, 0x107, 0xAA)}},
        {"Start Read back mode", {ReadBackCommand(2)}},
        {"Load Config from File", {}, 1, 0},
        {"Save Config to File", {}, 1, 1},
        {"Save Config to EVM", {EepromRead(0xA010, 131)}},
        {"UNLE", {Word(2, 0, 0), Unlock(2)}},
        {"IDLE", {Word(2, 7, 255)}},
        {"Set to Default", {}},
        {"Enable (on board) Power", {PortRead(0), PortWrite(0, 0x42)}},
        {"Terminate PECL", {PortRead(0), PortWrite(0, 0x00)}},
        {"Output Enable", {PortRead(1), PortWrite(1, 0xDF)}},
        {"Enable VCO Calibration", {}},
        {"VCO Calibration Override", {}},
    };
    std::set<QString> captions;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption);
        captions.insert(c.caption);
        DialogRun d;
        d.s.prompts.lockConfirmed = true;
        d.s.prompts.passwordAccepted = true;
        d.s.WithBoard([](sim::BoardModel &b) {
            b.SetPort(0, 0x40);  // power on, block C terminated
            b.SetPort(1, 0xFF);
        });
        d.dialog.show();
        d.s.run.Emulator().ClearLog();
        QAbstractButton *button = nullptr;
        for (QAbstractButton *b : d.dialog.findChildren<QAbstractButton *>()) {
            if (b->text() == c.caption) button = b;
        }
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        const std::vector<Request> sent = d.s.Sent();
        const size_t n = std::min(sent.size(), c.opening.size());
        EXPECT_EQ(std::vector<Request>(sent.begin(), sent.begin() + static_cast<long>(n)),
                  c.opening);
        if (c.opening.empty()) {
            EXPECT_EQ(sent, std::vector<Request>{});
        }
        EXPECT_EQ(d.s.prompts.fileRequests.size(), c.openChoosers);
        EXPECT_EQ(d.s.prompts.saveRequests.size(), c.saveChoosers);
        d.dialog.close();
    }
    // No push button or check box is left out.
    DialogRun d;
    for (QAbstractButton *b : d.dialog.findChildren<QAbstractButton *>()) {
        if (qobject_cast<QRadioButton *>(b) != nullptr) continue;
        EXPECT_TRUE(captions.count(b->text())) << b->text().toStdString();
    }
}

}  // namespace
}  // namespace velorin::gui
