// The firmware download dialog and command 32802 against the emulated board EEPROM: every
// file and board case ends with its message and no dialog left open, and the bar is painted
// at each percentage step while the download holds the event loop.
#include "gui/app/firm_dnl_dlg.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "core/base/program_names.h"
#include "core/board_run.h"
#include "core/forwarding_board.h"
#include "core/ui/control_ids.h"
#include "gui/app/application.h"
#include "gui/app/file_dialog_setup.h"
#include "gui/app/main_frame.h"
#include "screenshots.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::gui {
namespace {

using namespace velorin::testing;
using core::FirmwareOutcome;

// Stores one byte wrongly when asked, and lets a test look in at one EEPROM read.
class HookBoard : public ForwardingBoard {
  public:
    using ForwardingBoard::ForwardingBoard;
    bool WriteI2C(uint16_t start, std::span<const uint8_t> data) override {
        const std::array<uint8_t, 1> flipped{static_cast<uint8_t>(data[0] ^ 0x01)};
        return ForwardingBoard::WriteI2C(start, flipAt == start ? flipped : data);
    }
    bool ReadI2C(uint16_t start, std::span<uint8_t> buffer) override {
        if (++reads == lookAtRead) look();
        return ForwardingBoard::ReadI2C(start, buffer);
    }
    int flipAt = -1, reads = 0, lookAtRead = -1;
    std::function<void()> look;
};

// Records the bar's value at each of its paints.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QProgressBar *bar) : bar_(bar) { bar->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) values.push_back(bar_->value());
        return false;
    }
    std::vector<int> values;

  private:
    QProgressBar *bar_;
};

std::vector<uint8_t> Image(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 7);
    return bytes;
}

struct Outcome {
    core::FirmwareResult result;
    bool stayedOpen = false;
    QString statusWhenStaying;
    bool barShownWhenStaying = true;
    std::vector<int> painted;
    QString tally;
};

class FirmwareDialogTest : public ::testing::Test {
  protected:
    std::string File(const std::string &name, const std::vector<uint8_t> &bytes) {
        std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Runs the dialog modally as the command does; one that stays open is closed with Escape
    // like a user would, and one left open longer than a minute counts as stuck.
    Outcome Download(const std::string &path) {
        prompts.shown.clear();
        board.Emulator().ClearLog();
        hook.reads = 0;
        ProgramServices services{hook, prompts, sleeper, image};
        CFirmDnlDlg dialog(services, QString::fromStdString(path));
        auto *bar = dialog.findChild<QProgressBar *>("progressBar");
        PaintRecorder recorder(bar);
        Outcome run;
        QElapsedTimer clock;
        clock.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!dialog.isVisible()) return;
            if (dialog.Finished()) {
                run.stayedOpen = true;
                run.statusWhenStaying = dialog.findChild<QLabel *>("statusText")->text();
                run.barShownWhenStaying = bar->isVisible();
                QTest::keyClick(&dialog, Qt::Key_Escape);
            } else if (clock.elapsed() > 60000) {
                ADD_FAILURE() << "stuck dialog";
                dialog.reject();
            }
        });
        watch.start(20);
        dialog.exec();
        EXPECT_FALSE(dialog.isVisible());
        run.result = dialog.Result();
        run.painted = recorder.values;
        run.tally = dialog.findChild<QLabel *>("tallyText")->text();
        return run;
    }

    BoardRun board;
    HookBoard hook{board.Board()};
    ScriptedPrompts prompts;
    RecordingSleeper sleeper;
    core::RegisterImage image;
    QTemporaryDir dir_;
};

TEST_F(FirmwareDialogTest, ImagesUpToTheFullEepromPaintEachStepOnceAndClose) {
    // From 100 bytes on, each phase paints every percentage once.
    std::vector<int> everyStep;
    for (int v = 0; v <= 99; ++v) everyStep.push_back(v);
    for (int v = 0; v <= 100; ++v) everyStep.push_back(v);
    // Half-way through verifying 200 bytes: the phase, the bar and the tally as painted.
    hook.look = [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findChild<QLabel *>("statusText")->text(), "Verifying eeprom");
        EXPECT_EQ(dialog->findChild<QProgressBar *>("progressBar")->value(), 50);
        EXPECT_TRUE(
            dialog->findChild<QLabel *>("tallyText")->text().startsWith("100 of 200 bytes, 0:"));
        EXPECT_TRUE(velorin::gui::testing::SaveScreenshot(*dialog, "firm_dnl_dlg"));
    };
    // The screenshot taken at 50 % while verifying 200 bytes paints the bar once more.
    std::vector<int> withShot = everyStep;
    withShot.insert(withShot.begin() + 100 + 51, 50);
    for (const auto &[size, painted] : std::vector<std::pair<size_t, std::vector<int>>>{
             {0, {0}}, {1, {0, 100}}, {200, withShot}, {65536, everyStep}}) {
        hook.lookAtRead = size == 200 ? 1 + 101 : -1;
        const Outcome run = Download(File("fw.bin", Image(size)));
        EXPECT_EQ(run.result.outcome, FirmwareOutcome::Succeeded) << size;
        EXPECT_FALSE(run.stayedOpen) << size;
        EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Firmware download successfull!"});
        EXPECT_EQ(prompts.shown[0].icon, core::MessageIcon::Exclamation);
        EXPECT_EQ(prompts.shown[0].caption, "");  // the application name
        EXPECT_EQ(run.painted, painted) << size;
        EXPECT_EQ(board.Received(), 1 + 2 * size);
        EXPECT_TRUE(run.tally.startsWith(QString("%1 of %1 bytes, 0:").arg(size)))
            << run.tally.toStdString();
    }
}

TEST_F(FirmwareDialogTest, EveryFailureGivesItsMessageAndLeavesNoDialog) {
    const auto image200 = File("fw200.bin", Image(200));
    const auto vanished = File("gone.bin", Image(10));
    std::filesystem::remove(vanished);
    const auto locked = File("locked.bin", Image(10));
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    struct Case {
        const char *name;
        std::string path;
        sim::Faults faults;
        int flipAt;
        FirmwareOutcome outcome;
        const char *message;
        size_t logged;
    };
    std::vector<Case> cases{
        {"64 KiB + 1",
         File("big.bin", Image(65537)),
         {},
         -1,
         FirmwareOutcome::TooLarge,
         core::kFirmwareTooLarge,
         0},
        {"directory",
         dir_.path().toStdString(),
         {},
         -1,
         FirmwareOutcome::FileReadFailed,
         core::kFirmwareFileReadError,
         0},
        {"read error",
         "/proc/self/mem",
         {},
         -1,
         FirmwareOutcome::FileReadFailed,
         core::kFirmwareFileReadError,
         0},
        {"vanished", vanished, {}, -1, FirmwareOutcome::OpenFailed, core::kFirmwareOpenError, 0},
        {"first write", image200, sim::Faults::FailRequest(2), -1, FirmwareOutcome::WriteFailed,
         core::kFirmwareWriteError, 2},
        {"mid-write", image200, sim::Faults::FailRequest(101), -1, FirmwareOutcome::WriteFailed,
         core::kFirmwareWriteError, 101},
        {"verify", image200, sim::Faults::FailRequest(251), -1, FirmwareOutcome::ReadBackFailed,
         core::kFirmwareReadBackError, 251},
        {"differing byte",
         image200,
         {},
         7,
         FirmwareOutcome::VerifyFailed,
         core::kFirmwareVerifyError,
         1 + 200 + 8},
        {"no board", image200, sim::Faults::UnplugAt(1), -1, FirmwareOutcome::WriteFailed,
         core::kFirmwareWriteError, 1},
    };
    // Permissions do not stop the superuser.
    if (::geteuid() != 0) {
        cases.push_back({"unreadable",
                         locked,
                         {},
                         -1,
                         FirmwareOutcome::OpenFailed,
                         core::kFirmwareOpenError,
                         0});
    }
    for (const Case &c : cases) {
        board.SetFaults(c.faults);
        hook.flipAt = c.flipAt;
        const Outcome run = Download(c.path);
        board.Emulator().ClearFaults();
        EXPECT_EQ(run.result.outcome, c.outcome) << c.name;
        EXPECT_EQ(prompts.Texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(board.Log().size(), c.logged) << c.name;
        // Files that cannot be used leave the dialog as it opened, until the user closes it.
        const bool refused = c.logged == 0;
        EXPECT_EQ(run.stayedOpen, refused) << c.name;
        if (refused) {
            EXPECT_EQ(run.statusWhenStaying, "Downloading firmware update") << c.name;
            EXPECT_FALSE(run.barShownWhenStaying) << c.name;
        }
    }
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

TEST(FirmwareCommand, ChoosesWithTheImagePatternAndDownloadsTheChosenFile) {
    QTemporaryDir scratch;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path().toStdString());
    QSettings(core::kSettingsOrganisation, core::kApplicationName).clear();
    {
        EmulatedBoard emulated;
        ScriptedPrompts prompts;
        CQVVelorinCtrlGuiApp app(prompts);
        ASSERT_TRUE(app.InitInstance({"QVVelorinCtrlGui"}));
        QAction *command = app.MainFrame()->Command(ids::kDownloadFirmware);
        ASSERT_TRUE(command->isEnabled());

        // Cancel does nothing.
        emulated.Emulator().ClearLog();
        command->trigger();
        ASSERT_EQ(prompts.fileRequests.size(), 1u);
        const core::FileRequest &request = prompts.fileRequests[0];
        EXPECT_TRUE(request.filters.empty());
        EXPECT_EQ(request.initialName, "MXR817_Eval_Fw*.bin");
        EXPECT_EQ(request.defaultExtension, "bin");
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_TRUE(emulated.Emulator().Log().empty());

        QFileDialog chooser;
        ConfigureFileDialog(chooser, request, false);
        EXPECT_EQ(chooser.nameFilters(), QStringList{"MXR817_Eval_Fw*.bin"});
        EXPECT_EQ(chooser.defaultSuffix(), "bin");

        const std::string path = scratch.filePath("MXR817_Eval_Fw2.bin").toStdString();
        std::ofstream(path, std::ios::binary) << "\x01\xFF\x7E";
        prompts.files.push_back(path);
        command->trigger();
        EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Firmware download successfull!"});
        EXPECT_EQ(emulated.Emulator().WithBoard([](sim::BoardModel &b) {
            return std::vector<uint8_t>{b.Eeprom().Read(0), b.Eeprom().Read(1), b.Eeprom().Read(2)};
        }),
                  (std::vector<uint8_t>{0x01, 0xFF, 0x7E}));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        Velorin_CloseUsbDevice();
    }
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace velorin::gui
