// The main frame: menus, tool bar, calculator bars, status bar, title and size.
#include "gui/app/main_frame.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "core/ui/control_ids.h"
#include "gui/planning/calculator_bars.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {
namespace {

// A menu's items as texts, "-" for a separator, hidden items left out.
QStringList Items(const QMenu *menu) {
    QStringList items;
    for (const QAction *action : menu->actions()) {
        if (!action->isVisible()) continue;
        items << (action->isSeparator() ? QString("-") : action->text());
    }
    return items;
}

QMenu *TopMenu(CMainFrame &frame, const QString &title) {
    for (QAction *action : frame.menuBar()->actions()) {
        if (action->text() == title) return action->menu();
    }
    return nullptr;
}

TEST(MainFrame, MenusAsListed) {
    CMainFrame frame;
    QStringList titles;
    for (QAction *action : frame.menuBar()->actions()) titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Device Settings", "EVM Firmware",
                                   "&Help"}));
    EXPECT_EQ(Items(TopMenu(frame, "&File")),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...",
                           "Export Settings...", "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(Items(TopMenu(frame, "&Edit")), (QStringList{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X",
                                                           "&Copy\tCtrl+C", "&Paste\tCtrl+V"}));
    EXPECT_EQ(Items(TopMenu(frame, "&View")), (QStringList{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(Items(TopMenu(frame, "&Device Settings")),
              (QStringList{"Write settings to Device EEPROM (No Locking)", "-",
                           "Write settings to Device EEPROM (Locking)", "-",
                           "Read MXRG817A Device Settings", "-",
                           "Save Block B - XTAL Freq to EVM EEPROM"}));
    EXPECT_EQ(Items(TopMenu(frame, "EVM Firmware")),
              (QStringList{"Download EVM Firmware", "-", "Force EVM Driver Installation"}));
    EXPECT_EQ(Items(TopMenu(frame, "&Help")), (QStringList{"&About QV MXRG817A CtrlGui..."}));
    EXPECT_EQ(frame.Command(ids::kFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_TRUE(frame.Command(ids::kEditPaste)->shortcuts().contains(QKeySequence("Shift+Ins")));
    EXPECT_TRUE(frame.Command(ids::kEditUndo)->shortcuts().contains(QKeySequence("Alt+Backspace")));
}

TEST(MainFrame, EnablementWithoutAView) {
    CMainFrame frame;
    for (int id : {ids::kEditUndo, ids::kEditCut, ids::kEditCopy, ids::kEditPaste, ids::kFilePrint,
                   ids::kRecentFile}) {
        EXPECT_FALSE(frame.Command(id)->isEnabled()) << id;
    }
    // Never greyed, board or not.
    EXPECT_TRUE(frame.Command(ids::kDownloadFirmware)->isEnabled());
    EXPECT_TRUE(frame.Command(ids::kReadDeviceSettings)->isEnabled());
    EXPECT_TRUE(frame.Command(ids::kForceDriverInstall)->isEnabled());
    // The view's own commands wait for the view.
    for (int id : {ids::kWriteEepromNoLock, ids::kWriteEepromLock, ids::kSaveCrystalFrequency}) {
        EXPECT_FALSE(frame.Command(id)->isEnabled()) << id;
    }
    int calls = 0;
    frame.ConnectViewCommand(ids::kWriteEepromLock, [&calls] { ++calls; });
    EXPECT_TRUE(frame.Command(ids::kWriteEepromLock)->isEnabled());
    frame.Command(ids::kWriteEepromLock)->trigger();
    EXPECT_EQ(calls, 1);
}

TEST(MainFrame, ToolBarButtonsInOrder) {
    CMainFrame frame;
    QStringList buttons;
    for (QAction *action : frame.ToolBar()->actions()) {
        buttons << (action->isSeparator() ? QString("-") : QString::number(ControlIdOf(action)));
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull());
            EXPECT_FALSE(action->toolTip().isEmpty());
            EXPECT_FALSE(action->statusTip().isEmpty());
        }
    }
    EXPECT_EQ(buttons, (QStringList{"57600", "57601", "57603", "-", "57635", "57634", "57637", "-",
                                    "57607", "-", "57664"}));
    EXPECT_EQ(frame.ToolBar()->iconSize(), QSize(16, 15));
}

TEST(MainFrame, CalculatorBarsHoldEveryControl) {
    CMainFrame frame;
    COutputCalculatorBar *output = frame.OutputCalculator();
    CInputCalculatorBar *input = frame.InputCalculator();
    EXPECT_EQ(ControlIdOf(output->InputFrequencyEdit()), 1027);
    EXPECT_EQ(ControlIdOf(output->CalculateButton()), 1028);
    EXPECT_EQ(output->CalculateButton()->text(), "Calculate -->");
    EXPECT_EQ(ControlIdOf(output->PossibleOutputsCombo()), 1029);
    EXPECT_TRUE(output->PossibleOutputsCombo()->isEditable());
    EXPECT_EQ(ControlIdOf(output->ApplyButton()), 1031);
    EXPECT_EQ(ControlIdOf(input->DesiredOutputEdit()), 1030);
    EXPECT_EQ(ControlIdOf(input->RequiredInputEdit()), 1032);
    EXPECT_FALSE(input->RequiredInputEdit()->isEnabled());
    EXPECT_EQ(ControlIdOf(input->CalculateButton()), 1033);
    EXPECT_EQ(input->CalculateButton()->text(), "<-- Calculate");
    EXPECT_EQ(ControlIdOf(input->ApplyButton()), 1034);
    EXPECT_EQ(frame.findChild<QToolBar *>("inputCalculatorBand")->windowTitle(),
              "Input Calculator");
    EXPECT_EQ(frame.findChild<QToolBar *>("outputCalculatorBand")->windowTitle(),
              "Output Calculator");
    // The buttons are the view's: dead until it takes them.
    EXPECT_FALSE(output->ApplyButton()->isEnabled());
    const QSignalSpy applied(output, &COutputCalculatorBar::applyRequested);
    output->SetButtonsEnabled(true);
    QTest::mouseClick(output->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(applied.count(), 1);
}

TEST(MainFrame, StatusBarTitleAndFixedSize) {
    CMainFrame frame;
    EXPECT_EQ(frame.findChild<QLabel *>("messagePane")->text(), "Ready");
    for (const char *pane : {"capsLockPane", "numLockPane", "scrollLockPane"}) {
        EXPECT_NE(frame.findChild<QLabel *>(pane), nullptr) << pane;
    }
    frame.SetDocumentName("Config");
    EXPECT_EQ(frame.windowTitle(), "QV MXRG817A CtrlGui - Version 1.0 - Config");
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize());

    auto *view = new QWidget;
    view->setObjectName("testView");
    view->setFixedSize(900, 500);
    frame.SetView(view);
    EXPECT_EQ(frame.View(), view);
    EXPECT_GE(frame.width(), 900);
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize());
}

TEST(MainFrame, AViewLargerThanTheScreenScrollsInsideTheWorkArea) {
    // A 1280 x 1024 screen at 200 % has room for half the window in each direction.
    CMainFrame frame;
    const QRect available = frame.screen()->availableGeometry();
    auto *view = new QWidget;
    view->setFixedSize(available.width() + 300, available.height() + 200);
    frame.SetView(view);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_TRUE(available.contains(frame.frameGeometry()))
        << frame.frameGeometry().x() << "," << frame.frameGeometry().y() << " "
        << frame.frameGeometry().width() << "x" << frame.frameGeometry().height() << " in "
        << available.width() << "x" << available.height();
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize());
    EXPECT_EQ(view->size(), QSize(available.width() + 300, available.height() + 200));
    auto *scroller = frame.findChild<QScrollArea *>("viewScroller");
    ASSERT_NE(scroller, nullptr);
    EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);

    // A view that fits has all of it on show again, without scroll bars.
    auto *fitting = new QWidget;
    fitting->setFixedSize(900, 500);
    frame.SetView(fitting);
    QCoreApplication::processEvents();
    EXPECT_EQ(scroller->size(), QSize(900, 500));
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
    frame.close();
}

TEST(MainFrame, ViewMenuShowsAndHidesTheBars) {
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const int height = frame.height();
    frame.Command(ids::kViewToolbar)->trigger();
    EXPECT_FALSE(frame.ToolBar()->isVisible());
    EXPECT_FALSE(frame.Command(ids::kViewToolbar)->isChecked());
    frame.Command(ids::kViewStatusBar)->trigger();
    EXPECT_FALSE(frame.statusBar()->isVisible());
    EXPECT_LT(frame.height(), height);
    frame.Command(ids::kViewToolbar)->trigger();
    frame.Command(ids::kViewStatusBar)->trigger();
    EXPECT_TRUE(frame.ToolBar()->isVisible());
    EXPECT_TRUE(frame.statusBar()->isVisible());
}

TEST(MainFrame, LockKeysLightTheirPanes) {
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    auto *caps = frame.findChild<QLabel *>("capsLockPane");
    EXPECT_TRUE(caps->text().isEmpty());
    QTest::keyClick(frame.windowHandle(), Qt::Key_CapsLock);
    EXPECT_EQ(caps->text(), "CAP");
    QTest::keyClick(frame.windowHandle(), Qt::Key_CapsLock);
    EXPECT_TRUE(caps->text().isEmpty());
    QTest::keyClick(frame.windowHandle(), Qt::Key_ScrollLock);
    EXPECT_EQ(frame.findChild<QLabel *>("scrollLockPane")->text(), "SCRL");
}

TEST(MainFrame, RecentEntriesReplaceTheGreyedItem) {
    CMainFrame frame;
    QMenu *file = TopMenu(frame, "&File");
    frame.SetRecentFiles({"/tmp/a/one.MXRG817A", "/tmp/b/two&three.MXRG817A"});
    EXPECT_EQ(Items(file), (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S",
                                        "Save &As...", "Export Settings...", "-", "&1 one.MXRG817A",
                                        "&2 two&&three.MXRG817A", "-", "E&xit"}));
    QString requested;
    QObject::connect(&frame, &CMainFrame::recentFileRequested,
                     [&requested](const QString &path) { requested = path; });
    frame.findChild<QAction *>("recentFile2")->trigger();
    EXPECT_EQ(requested, "/tmp/b/two&three.MXRG817A");
    frame.SetRecentFiles({});
    EXPECT_TRUE(Items(file).contains("Recent File"));
}

}  // namespace
}  // namespace velorin::gui
