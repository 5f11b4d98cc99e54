// The main view's Qt wiring: clicks reach the model, popups open where the pointer is, the
// poll timer keeps running inside modal loops, and every drawn control can be found by its
// accessible name.
#include "gui/planning/main_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "core/base/program_names.h"
#include "core/device/library_board.h"
#include "core/ui/control_ids.h"
#include "gui/app/application.h"
#include "gui/app/main_frame.h"
#include "gui/planning/calculator_bars.h"
#include "gui/widgets/dynamic_led.h"
#include "gui/widgets/uni_button.h"
#include "screenshots.h"
#include "support/emulated_board.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"
#include "velorin.h"

namespace velorin::gui {
namespace {

class MainViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::testing::internal::CaptureStdout();
        ASSERT_EQ(Velorin_OpenUsbDevice(), 0);
        ::testing::internal::GetCapturedStdout();
        view = std::make_unique<CGuiView>(services, frame);
        frame.SetView(view.get());
        view->OnInitialUpdate();
        board.Emulator().ClearLog();
    }
    void TearDown() override {
        frame.TakeView();
        Velorin_CloseUsbDevice();
    }
    template <typename W>
    W *Find(const char *name) {
        return view->findChild<W *>(name);
    }

    velorin::testing::EmulatedBoard board;
    velorin::testing::ScriptedPrompts prompts;
    velorin::testing::RecordingSleeper sleeper;
    core::LibraryBoard library;
    core::RegisterImage image;
    ProgramServices services{library, prompts, sleeper, image};
    CMainFrame frame;
    std::unique_ptr<CGuiView> view;
};

TEST_F(MainViewTest, PrescalerClickPopsUpAtThePointerAndTheChoiceReachesTheChip) {
    frame.show();
    auto *prescaler = Find<CUniButton>("prescalerBlock");
    QCursor::setPos(prescaler->mapToGlobal(prescaler->rect().center()));
    QTest::mouseClick(prescaler, Qt::LeftButton, {}, prescaler->rect().center());
    auto *menu = view->findChild<QMenu *>("prescalerMenu");
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), QCursor::pos() - QPoint(30, 30));
    ASSERT_EQ(menu->actions().size(), 5);
    EXPECT_EQ(menu->actions()[0]->text(), "Prescaler");
    menu->actions()[0]->trigger();  // the title does nothing
    EXPECT_TRUE(board.Emulator().Log().empty());
    menu->actions()[1]->trigger();  // "2"
    menu->close();
    EXPECT_EQ(prescaler->ValueText(), "/ 2");
    EXPECT_EQ(prescaler->accessibleDescription(), "/ 2");
    EXPECT_EQ(Find<CUniButton>("feedbackBlock")->ValueText(), "/ 32");
    EXPECT_EQ(core::PrescalerCode(image), 3);
    EXPECT_EQ(board.Emulator().Log().size(), 16u);
    frame.hide();
}

TEST_F(MainViewTest, PollTimerRunsInsideModalDialogs) {
    EXPECT_TRUE(view->PollTimer().isActive());
    EXPECT_EQ(view->PollTimer().interval(), 500);
    QDialog dialog(view.get());
    QTimer::singleShot(1200, &dialog, &QDialog::accept);
    dialog.exec();
    size_t portReads = 0;
    for (const auto &e : board.Emulator().Log()) portReads += e.command == 0x96;
    EXPECT_GE(portReads, 3u * 2);  // two ticks at least, three port reads each
}

TEST_F(MainViewTest, FormControlsReachTheModelAndShowItsResults) {
    auto *input = Find<QLineEdit>("inputFrequencyEdit");
    input->setText("30");
    frame.OutputCalculator()->InputFrequencyEdit()->setText("30");
    QTest::mouseClick(frame.OutputCalculator()->CalculateButton(), Qt::LeftButton);
    EXPECT_EQ(frame.OutputCalculator()->PossibleOutputsCombo()->count(), 19);
    QTest::mouseClick(frame.OutputCalculator()->ApplyButton(), Qt::LeftButton);
    view->PollBoard();
    EXPECT_EQ(Find<QLineEdit>("outputFrequencyEdit")->text(), "960.00");
    EXPECT_EQ(Find<CUniButton>("vcoBlock")->ValueText(), "1920 Mhz");

    auto *output = Find<CUniButton>("outputBlock");
    QTest::mouseClick(output, Qt::LeftButton, {}, QPoint(10, output->height() / 2));
    EXPECT_EQ(output->ValueText(), "LVPECL       ");
    EXPECT_TRUE(Find<QWidget>("terminationPicture")->isVisibleTo(view.get()));

    QTest::mouseClick(Find<CUniButton>("feedbackBlock"), Qt::LeftButton, {},
                      Find<CUniButton>("feedbackBlock")->rect().center());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "The feedback divider setting is automatically\nset according to the prescaler "
              "setting.");

    board.Emulator().Unplug();
    view->PollBoard();
    auto *usb = Find<CDynamicLED>("usbLed");
    EXPECT_TRUE(usb->IsOn());
    EXPECT_EQ(usb->accessibleDescription(), "lit");
}

TEST_F(MainViewTest, EveryControlHasAnAccessibleNameAndBlocksTheirValue) {
    for (QWidget *w : view->findChildren<QWidget *>()) {
        if (qobject_cast<QMenu *>(w) != nullptr) continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << w->objectName().toStdString();
    }
    EXPECT_EQ(Find<QPushButton>("loopFilterPicture")->accessibleName(), "Loop filter");
    EXPECT_EQ(Find<CUniButton>("chargePumpBlock")->accessibleDescription(),
              QString::fromUtf8("224 µA"));
    EXPECT_FALSE(Find<CUniButton>("outputDividerBlock")->toolTip().isEmpty());
}

TEST_F(MainViewTest, AdvancedControlHandsBlockDriverAndVcoBackToTheView) {
    QTimer::singleShot(0, [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QRadioButton *>("blockCRadio")->click();
        dialog->findChild<QRadioButton *>("peclRadio")->click();
        dialog->close();
    });
    QTest::mouseClick(Find<QPushButton>("advancedControlButton"), Qt::LeftButton);
    EXPECT_TRUE(Find<QRadioButton>("blockRadioC")->isChecked());
    EXPECT_EQ(Find<CUniButton>("outputBlock")->ValueText(), "LVPECL       ");
    EXPECT_TRUE(Find<QCheckBox>("terminationCheck")->isChecked());
}

TEST_F(MainViewTest, LoopFilterOkWritesTheChipAndCancelSendsNothing) {
    for (const bool ok : {false, true}) {
        board.Emulator().ClearLog();
        QTimer::singleShot(0, [ok] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ok ? dialog->accept() : dialog->reject();
        });
        QTest::mouseClick(Find<QPushButton>("loopFilterPicture"), Qt::LeftButton);
        size_t ramCommits = 0;
        for (const auto &e : board.Emulator().Log()) ramCommits += e.command == 0xA2;
        EXPECT_EQ(ramCommits, ok ? 2u : 0u);
    }
    EXPECT_EQ(core::LoopFilterWord(image), 0x74Cu);  // the default opening's components
}

TEST_F(MainViewTest, ReadDeviceSettingsReadsTheViewsBlock) {
    Find<QRadioButton>("blockRadioC")->click();
    board.Emulator().ClearLog();
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    frame.Command(ids::kReadDeviceSettings)->trigger();
    ASSERT_FALSE(board.Emulator().Log().empty());
    bool readBackOfC = false;
    for (const auto &e : board.Emulator().Log()) readBackOfC |= e.command == 0xA1 && e.index == 2;
    EXPECT_TRUE(readBackOfC);
}

TEST(MainViewProgram, ScreenshotOfTheMainWindowDrivingTheEmulatedBoard) {
    velorin::testing::EmulatedBoard board;
    velorin::testing::ScriptedPrompts prompts;
    CQVVelorinCtrlGuiApp app(prompts);
    UseMainView(app);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    auto *view = qobject_cast<CGuiView *>(app.MainFrame()->View());
    ASSERT_NE(view, nullptr);
    view->findChild<QLineEdit *>("inputFrequencyEdit")->setText("31.25");
    view->PollBoard();
    EXPECT_TRUE(view->findChild<QRadioButton *>("blockRadioD")->isVisible());
    EXPECT_TRUE(testing::SaveScreenshot(*app.MainFrame(), "main_window_view"));
    app.MainFrame()->close();
    Velorin_CloseUsbDevice();
}

}  // namespace
}  // namespace velorin::gui
