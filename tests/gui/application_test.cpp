// Start-up with and without a board, the document commands, recent files, dropped files and
// the About box, through the real application object with scripted prompts.
#include "gui/app/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <filesystem>

#include "core/base/program_names.h"
#include "core/device/configuration_file.h"
#include "core/device/register_image.h"
#include "core/ui/control_ids.h"
#include "gui/app/document.h"
#include "gui/app/main_frame.h"
#include "screenshots.h"
#include "support/emulated_board.h"
#include "support/scripted_prompts.h"
#include "velorin.h"

namespace velorin::gui {
namespace {

using velorin::testing::ScriptedPrompts;

const core::RegisterImage kStored{{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}};
const core::RegisterImage kOther{{0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};

// Runs each test from a scratch folder without a "Driver" folder, with no board unless one is
// started, and with an empty recent-file list.
class ApplicationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousDir_ = std::filesystem::current_path();
        std::filesystem::current_path(scratch_.path().toStdString());
        qputenv("VELORIN_DEVICE_DIR", scratch_.filePath("no-devices").toLocal8Bit());
        qputenv("VELORIN_UDEV_RULES_DIR", scratch_.filePath("rules").toLocal8Bit());
        QSettings(core::kSettingsOrganisation, core::kApplicationName).clear();
        core::ProgramRegisterImage() = kOther;
    }
    void TearDown() override {
        Velorin_CloseUsbDevice();
        std::filesystem::current_path(previousDir_);
    }

    QString Path(const QString &name) const { return scratch_.filePath(name); }

    QTemporaryDir scratch_;
    std::filesystem::path previousDir_;
    ScriptedPrompts prompts;
};

TEST_F(ApplicationTest, WithoutBoardOrDriverFolderTheErrorShowsAndTheWindowStillOpens) {
    CQVVelorinCtrlGuiApp app(prompts);
    bool windowShownAtMessage = true;
    prompts.onMessage = [&](const core::Message &) {
        windowShownAtMessage = app.MainFrame() != nullptr && app.MainFrame()->isVisible();
    };
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    EXPECT_EQ(app.ApplicationDirectory(), std::filesystem::current_path().string());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "Driver Install Error!");
    EXPECT_EQ(prompts.shown[0].icon, core::MessageIcon::None);
    EXPECT_EQ(prompts.shown[0].text.rfind("Error installing Driver!\nError ", 0), 0u);
    EXPECT_FALSE(windowShownAtMessage);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.MainFrame()->windowTitle(), "QV MXRG817A CtrlGui - Version 1.0 - Config");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app.MainFrame()));
    EXPECT_TRUE(testing::SaveScreenshot(*app.MainFrame(), "main_window"));
}

TEST_F(ApplicationTest, WithABoardNothingIsInstalledAndNothingSaid) {
    velorin::testing::EmulatedBoard board;
    ASSERT_TRUE(board.Started());
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(app.MainFrame()->isVisible());
}

TEST_F(ApplicationTest, ForceDriverInstallCommandUsesTheApplicationDirectory) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    prompts.shown.clear();
    app.MainFrame()->Command(ids::kForceDriverInstall)->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "Driver Install Error!");
    EXPECT_EQ(prompts.shown[0].text, "Error installing Driver!\nError 2");
}

TEST_F(ApplicationTest, CommandLineFileOpensIntoTheImage) {
    ASSERT_TRUE(core::SaveConfiguration(Path("bench.MXRG817A").toStdString(), kStored));
    CQVVelorinCtrlGuiApp app(prompts);
    int resets = 0;
    QObject::connect(&app, &CQVVelorinCtrlGuiApp::documentReset, [&resets] { ++resets; });
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui", Path("bench.MXRG817A")}));
    EXPECT_EQ(core::ProgramRegisterImage(), kStored);
    EXPECT_EQ(app.Document()->Title(), "bench.MXRG817A");
    EXPECT_EQ(app.MainFrame()->windowTitle(), "QV MXRG817A CtrlGui - Version 1.0 - bench.MXRG817A");
    EXPECT_EQ(app.RecentFiles().Files(), QStringList{Path("bench.MXRG817A")});
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(app.Document()->IsModified());
}

TEST_F(ApplicationTest, MissingOrCorruptFilesLeaveTheImageButTakeTheName) {
    QFile corrupt(Path("corrupt.MXRG817A"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("[MXR817]\r\nCONFIG=0123456789AB05\r\n");
    corrupt.close();
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui", Path("absent.MXRG817A")}));
    EXPECT_EQ(core::ProgramRegisterImage(), kOther);
    EXPECT_EQ(app.Document()->Title(), "absent.MXRG817A");
    app.OpenDocumentFile(Path("corrupt.MXRG817A"));
    EXPECT_EQ(core::ProgramRegisterImage(), kOther);
    EXPECT_EQ(app.Document()->Title(), "corrupt.MXRG817A");
    EXPECT_TRUE(prompts.shown.size() == 1);  // only the driver message of the start
}

TEST_F(ApplicationTest, NewDocumentIsConfigAndLeavesTheImage) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    app.OpenDocumentFile(Path("x.MXRG817A"));
    app.MainFrame()->Command(ids::kFileNew)->trigger();
    EXPECT_EQ(app.Document()->Title(), "Config");
    EXPECT_TRUE(app.Document()->PathName().isEmpty());
    EXPECT_EQ(core::ProgramRegisterImage(), kOther);
}

TEST_F(ApplicationTest, SaveAsSuggestsConfigWithTheDocumentExtension) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    core::ProgramRegisterImage() = kStored;
    prompts.files.push_back(Path("saved.MXRG817A").toStdString());
    app.MainFrame()->Command(ids::kFileSave)->trigger();  // no file yet: behaves as Save As
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    const core::FileRequest &request = prompts.saveRequests[0];
    EXPECT_EQ(request.initialName, "Config.MXRG817A");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].label, "QVMXRG817A Files (*.MXR817A)");
    EXPECT_EQ(request.filters[0].pattern, "*.MXRG817A");
    EXPECT_EQ(request.filters[1].label, "All Files (*.*)");
    EXPECT_EQ(request.defaultExtension, "MXRG817A");

    QFile saved(Path("saved.MXRG817A"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("CONFIG=0123456789AB04"));
    EXPECT_EQ(app.Document()->Title(), "saved.MXRG817A");

    // Save again writes the same file without asking.
    core::ProgramRegisterImage() = core::RegisterImage{};
    app.MainFrame()->Command(ids::kFileSave)->trigger();
    EXPECT_EQ(prompts.saveRequests.size(), 1u);
    core::RegisterImage read = kOther;
    ASSERT_TRUE(core::LoadConfiguration(Path("saved.MXRG817A").toStdString(), read));
    EXPECT_EQ(read, core::RegisterImage{});
}

TEST_F(ApplicationTest, UnwritableFileIsReportedAndStillNamesTheDocument) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    prompts.shown.clear();
    prompts.files.push_back(Path("no/such/folder/x.MXRG817A").toStdString());
    app.MainFrame()->Command(ids::kFileSaveAs)->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text.rfind("The configuration could not be written to", 0), 0u);
    EXPECT_EQ(app.Document()->Title(), "x.MXRG817A");
}

TEST_F(ApplicationTest, CancelledChoosersChangeNothing) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    app.MainFrame()->Command(ids::kFileOpen)->trigger();
    app.MainFrame()->Command(ids::kFileSaveAs)->trigger();
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(app.Document()->Title(), "Config");
    EXPECT_TRUE(app.RecentFiles().Files().isEmpty());
}

TEST_F(ApplicationTest, RecentFilesKeepFourNewestFirstAcrossRuns) {
    for (const char *name : {"1", "2", "3", "4", "5"}) {
        ASSERT_TRUE(
            core::SaveConfiguration(Path(QString(name) + ".MXRG817A").toStdString(), kStored));
    }
    {
        CQVVelorinCtrlGuiApp app(prompts);
        ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
        for (const char *name : {"1", "2", "3", "4", "5", "3"}) {
            app.OpenDocumentFile(Path(QString(name) + ".MXRG817A"));
        }
        EXPECT_EQ(app.MainFrame()->RecentFiles(),
                  (QStringList{Path("3.MXRG817A"), Path("5.MXRG817A"), Path("4.MXRG817A"),
                               Path("2.MXRG817A")}));
    }
    CQVVelorinCtrlGuiApp again(prompts);
    ASSERT_TRUE(again.InitInstance({"QVVelorinCtrlGui"}));
    EXPECT_EQ(again.RecentFiles().Files().size(), 4);
    EXPECT_EQ(again.RecentFiles().Files().first(), Path("3.MXRG817A"));
    QSettings settings(core::kSettingsOrganisation, core::kApplicationName);
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), Path("3.MXRG817A"));

    // A listed file that has gone is reported and taken off the list, not opened.
    ASSERT_TRUE(QFile::remove(Path("5.MXRG817A")));
    prompts.shown.clear();
    again.MainFrame()->findChild<QAction *>("recentFile2")->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(again.Document()->Title(), "Config");
    EXPECT_FALSE(again.RecentFiles().Files().contains(Path("5.MXRG817A")));
    again.MainFrame()->findChild<QAction *>("recentFile2")->trigger();  // now 4.MXRG817A
    EXPECT_EQ(again.Document()->Title(), "4.MXRG817A");
}

TEST_F(ApplicationTest, DroppedFilesOpenAsDocuments) {
    ASSERT_TRUE(core::SaveConfiguration(Path("dropped.MXRG817A").toStdString(), kStored));
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("dropped.MXRG817A"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.MainFrame(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.MainFrame(), &drop);
    EXPECT_EQ(app.Document()->Title(), "dropped.MXRG817A");
    EXPECT_EQ(core::ProgramRegisterImage(), kStored);
}

TEST_F(ApplicationTest, AboutFromTheMenuAndTheToolBarIsTheSameBox) {
    CQVVelorinCtrlGuiApp app(prompts);
    ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
    QStringList seen;
    auto closeAbout = [&seen](bool screenshot) {
        QTimer::singleShot(0, [&seen, screenshot] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            seen << modal->objectName() + ":" + modal->windowTitle();
            if (screenshot) {
                EXPECT_TRUE(testing::SaveScreenshot(*modal, "about_box"));
            }
            QTest::keyClick(modal, Qt::Key_Return);
        });
    };
    closeAbout(true);
    app.MainFrame()->Command(ids::kAppAbout)->trigger();
    closeAbout(false);
    QToolBar *bar = app.MainFrame()->ToolBar();
    auto *last = qobject_cast<QToolButton *>(bar->widgetForAction(bar->actions().last()));
    ASSERT_NE(last, nullptr);
    QTest::mouseClick(last, Qt::LeftButton);
    EXPECT_EQ(seen, (QStringList{"aboutDialog:About QV MXRG817A CtrlGui",
                                 "aboutDialog:About QV MXRG817A CtrlGui"}));
}

}  // namespace
}  // namespace velorin::gui
