// The board-traffic window in the running program: View > "Board Traffic" shows it under the
// main view, a chip write from the view appears with its decoded rows, and Save writes them.
#include "gui/trace/board_traffic_dock.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "core/base/program_names.h"
#include "core/trace/traffic_table.h"
#include "core/ui/control_ids.h"
#include "gui/app/application.h"
#include "gui/app/main_frame.h"
#include "gui/planning/main_view.h"
#include "gui/trace/traffic_table_model.h"
#include "screenshots.h"
#include "support/emulated_board.h"
#include "support/scripted_prompts.h"
#include "velorin.h"

namespace velorin::gui {
namespace {

constexpr int kPrescalerTwo = ids::kPrescaler2;

std::vector<std::string> Column(const TrafficTableModel &model, core::TrafficColumn column) {
    std::vector<std::string> cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells.push_back(model.index(row, static_cast<int>(column)).data().toString().toStdString());
    return cells;
}

class BoardTrafficDockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings(core::kSettingsOrganisation, core::kApplicationName).clear();
    }
    // Starts the program on the main view, with the library's lines kept off the output.
    static void Start(CQVVelorinCtrlGuiApp &app) {
        ::testing::internal::CaptureStdout();
        UseMainView(app);
        const bool started = app.InitInstance({"QVVelorinCtrlGui"});
        ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(started);
    }
    void TearDown() override {
        Velorin_CloseUsbDevice();
        QSettings(core::kSettingsOrganisation, core::kApplicationName).clear();
    }
    velorin::testing::EmulatedBoard board;
    velorin::testing::ScriptedPrompts prompts;
    QTemporaryDir scratch;
};

TEST_F(BoardTrafficDockTest, ChipWriteFromTheViewAppearsDecodedAndSaveWritesTheCsv) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_NO_FATAL_FAILURE(Start(app));
    CMainFrame &frame = *app.MainFrame();
    auto *dock = frame.findChild<CBoardTrafficDock *>("boardTrafficDock");
    auto *toggle = frame.findChild<QAction *>("viewBoardTraffic");
    ASSERT_NE(dock, nullptr);
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(frame.findChild<QMenu *>("viewMenu")->actions().contains(toggle));
    EXPECT_EQ(toggle->text(), "Board Traffic");
    EXPECT_TRUE(dock->isHidden());

    const QSize closed = frame.size();
    QWidget &view = *frame.View();
    const QSize viewSize = view.size();
    toggle->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_FALSE(dock->isFloating());
    EXPECT_EQ(frame.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
    // The window grew by the dock's height; the view kept its size and lies whole above it,
    // the status bar below it.
    EXPECT_EQ(frame.width(), closed.width());
    EXPECT_GE(frame.height(), closed.height() + dock->height());
    EXPECT_EQ(view.size(), viewSize);
    EXPECT_TRUE(frame.rect().contains(view.geometry()));
    EXPECT_GT(dock->geometry().top(), view.geometry().bottom());
    EXPECT_TRUE(frame.statusBar()->isVisible());
    EXPECT_GT(frame.statusBar()->geometry().top(), dock->geometry().bottom());
    EXPECT_TRUE(frame.screen()->availableGeometry().contains(frame.frameGeometry()));
    // An hour of milliseconds fits the Time column.
    const QTableView &table = dock->Table();
    EXPECT_GE(table.columnWidth(static_cast<int>(core::TrafficColumn::Time)),
              table.fontMetrics().horizontalAdvance("3600000.000"));
    const QSize opened = frame.size();
    toggle->trigger();
    EXPECT_TRUE(dock->isHidden());
    EXPECT_EQ(frame.size(), closed);  // the height given back
    toggle->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(frame.size(), opened);

    auto &mainView = *qobject_cast<CGuiView *>(frame.View());
    mainView.PollBoard();
    dock->Sync();
    const int before = dock->Model().rowCount();
    mainView.OnSettingCommand(kPrescalerTwo);
    mainView.PollBoard();
    dock->Sync();

    auto meanings = Column(dock->Model(), core::TrafficColumn::Meaning);
    meanings.erase(meanings.begin(), meanings.begin() + before);
    const std::vector<std::string> expected = {"stage Byte0 = 06",
                                               "stage Byte1 = 9E",
                                               "stage Byte2 = 27",
                                               "stage Byte3 = 7A",
                                               "stage Byte4 = 00",
                                               "stage Byte5 = 00",
                                               "commit word to RAM",
                                               "stage Byte0 = 06",
                                               "stage Byte1 = 9E",
                                               "stage Byte2 = 27",
                                               "stage Byte3 = 7A",
                                               "stage Byte4 = 80",
                                               "stage Byte5 = 00",
                                               "commit word to RAM",
                                               "port 1 read: 0x00 (no output enabled)",
                                               "port 1 write 0x02 (output A enabled)"};
    EXPECT_EQ(meanings, expected);  // the poll's rows stay hidden
    const int commit = before + 6;
    EXPECT_EQ(Column(dock->Model(), core::TrafficColumn::Block)[commit], "A");
    EXPECT_EQ(Column(dock->Model(), core::TrafficColumn::Command)[commit], "A2");

    dock->findChild<QCheckBox *>("hidePollCheck")->click();
    EXPECT_EQ(dock->Model().rowCount(), before + 16 + 2 * 5);
    dock->findChild<QCheckBox *>("hidePollCheck")->click();
    EXPECT_EQ(dock->Model().rowCount(), before + 16);

    const QString path = scratch.filePath("traffic.csv");
    prompts.files = {path.toStdString()};
    dock->findChild<QPushButton *>("saveButton")->click();
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream csv;
    csv << in.rdbuf();
    EXPECT_EQ(
        csv.str().rfind("Time (ms),Block,Call,Meaning,Command,Value,Index,Answer,Result\r\n", 0),
        0u);
    EXPECT_NE(csv.str().find(",\"WriteOneWire(index=0, value=0x06)\",stage Byte0 = 06,A0,0006,"
                             "0000,,ok\r\n"),
              std::string::npos)
        << csv.str();
    EXPECT_TRUE(prompts.shown.empty());

    // A failing chip write: its one row is red, and the only one "Failures only" keeps.
    board.Emulator().SetFaults(sim::Faults::FailCommand(0xA0));
    mainView.OnSettingCommand(kPrescalerTwo);
    dock->Sync();
    const int failed = dock->Model().rowCount() - 1;
    EXPECT_EQ(dock->Model().index(failed, 0).data(Qt::ForegroundRole).value<QColor>(),
              QColor(200, 0, 0));
    EXPECT_FALSE(dock->Model().index(failed - 1, 0).data(Qt::ForegroundRole).isValid());
    dock->findChild<QCheckBox *>("failuresOnlyCheck")->click();
    EXPECT_EQ(Column(dock->Model(), core::TrafficColumn::Result),
              std::vector<std::string>{"failed: Velorin_WriteOneWire returned 1"});
    board.Emulator().ClearFaults();
    dock->findChild<QCheckBox *>("failuresOnlyCheck")->click();

    dock->Table().scrollToBottom();
    EXPECT_TRUE(testing::SaveScreenshot(frame, "main_window_board_traffic"));
    frame.close();
    EXPECT_TRUE(QSettings(core::kSettingsOrganisation, core::kApplicationName)
                    .value("Board Traffic/visible")
                    .toBool());
}

TEST_F(BoardTrafficDockTest, OnAScreenTooLowForTheGrownWindowItOpensFloating) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_NO_FATAL_FAILURE(Start(app));
    CMainFrame &frame = *app.MainFrame();
    auto *dock = frame.findChild<CBoardTrafficDock *>("boardTrafficDock");
    const QRect screen = frame.screen()->availableGeometry();
    // A table as tall as the screen leaves no room under the view.
    dock->Table().setMinimumHeight(screen.height());
    const QSize closed = frame.size();
    frame.findChild<QAction *>("viewBoardTraffic")->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(dock->isFloating());
    EXPECT_EQ(frame.size(), closed);
    EXPECT_TRUE(screen.contains(frame.frameGeometry()));
    EXPECT_TRUE(screen.intersects(dock->geometry()));
    frame.findChild<QAction *>("viewBoardTraffic")->trigger();
    EXPECT_TRUE(dock->isHidden());
    frame.close();
}

}  // namespace
}  // namespace velorin::gui
