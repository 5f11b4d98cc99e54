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

#include "core/app/program_names.h"
#include "core/board_run.h"
#include "core/forwarding_board.h"
#include "gui/app/application.h"
#include "gui/app/control_ids.h"
#include "gui/app/file_dialog_setup.h"
#include "gui/app/main_frame.h"
#include "screenshots.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"

namespace velorin::gui {
namespace {

using namespace velorin::testing;
using core::FirmwareOutcome;

// Optionally stores one byte wrongly, and lets a test look in at a given verify read.
class HookBoard : public ForwardingBoard {
  public:
    using ForwardingBoard::ForwardingBoard;
    bool WriteI2C(uint16_t start, std::span<const uint8_t> data) override {
        if (flipAt != start) return ForwardingBoard::WriteI2C(start, data);
        const std::array<uint8_t, 1> flipped{static_cast<uint8_t>(data[0] ^ 0x01)};
        return ForwardingBoard::WriteI2C(start, flipped);
    }
    bool ReadI2C(uint16_t start, std::span<uint8_t> buffer) override {
        if (++reads == lookAtRead && look) look();
        return ForwardingBoard::ReadI2C(start, buffer);
    }
    int flipAt = -1;
    int reads = 0;
    int lookAtRead = -1;
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

std::vector<int> Steps(int from, int to) {
    std::vector<int> steps;
    for (int v = from; v <= to; ++v) steps.push_back(v);
    return steps;
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
        const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Runs the dialog modally as the command does; one that stays open is closed with Escape
    // like a user would, and one left open longer than a minute counts as stuck.
    Outcome Download(const std::string &path, core::Board &board) {
        ProgramServices services{board, prompts, sleeper, image};
        CFirmDnlDlg dialog(services, QString::fromStdString(path));
        PaintRecorder recorder(dialog.findChild<QProgressBar *>("progressBar"));
        Outcome run;
        QElapsedTimer clock;
        clock.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!dialog.isVisible()) return;
            if (dialog.Finished()) {
                run.stayedOpen = true;
                run.statusWhenStaying = dialog.findChild<QLabel *>("statusText")->text();
                run.barShownWhenStaying =
                    dialog.findChild<QProgressBar *>("progressBar")->isVisible();
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
    Outcome Download(const std::string &path) { return Download(path, board.Board()); }

    BoardRun board;
    ScriptedPrompts prompts;
    RecordingSleeper sleeper;
    core::RegisterImage image;
    QTemporaryDir dir_;
};

TEST_F(FirmwareDialogTest, SmallImagesPaintEveryStepOnceAndClose) {
    struct Case {
        size_t size;
        std::vector<int> painted;
    };
    std::vector<int> twoHundred = Steps(0, 99);
    const auto verify = Steps(0, 100);
    twoHundred.insert(twoHundred.end(), verify.begin(), verify.end());
    for (const Case &c : {Case{0, {0}}, Case{1, {0, 100}}, Case{200, twoHundred}}) {
        prompts.shown.clear();
        board.Emulator().ClearLog();
        const auto bytes = Image(c.size);
        const Outcome run = Download(File("fw.bin", bytes));
        EXPECT_EQ(run.result.outcome, FirmwareOutcome::Succeeded) << c.size;
        EXPECT_FALSE(run.stayedOpen) << c.size;
        EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Firmware download successfull!"});
        EXPECT_EQ(prompts.shown[0].icon, core::MessageIcon::Exclamation);
        EXPECT_EQ(prompts.shown[0].caption, "");  // the application name
        EXPECT_EQ(run.painted, c.painted) << c.size;
        EXPECT_EQ(board.Log().size(), 1 + 2 * c.size);
        EXPECT_TRUE(run.tally.startsWith(QString("%1 of %1 bytes, 0:").arg(c.size)))
            << run.tally.toStdString();
    }
    EXPECT_EQ(board.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(199); }),
              Image(200)[199]);
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
        FirmwareOutcome outcome;
        const char *message;
        size_t logged;
    };
    std::vector<Case> cases{
        {"64 KiB + 1",
         File("big.bin", Image(65537)),
         {},
         FirmwareOutcome::TooLarge,
         core::kFirmwareTooLarge,
         0},
        {"directory",
         dir_.path().toStdString(),
         {},
         FirmwareOutcome::FileReadFailed,
         core::kFirmwareFileReadError,
         0},
        {"read error",
         "/proc/self/mem",
         {},
         FirmwareOutcome::FileReadFailed,
         core::kFirmwareFileReadError,
         0},
        {"vanished", vanished, {}, FirmwareOutcome::OpenFailed, core::kFirmwareOpenError, 0},
        {"first write", image200, sim::Faults::FailRequest(2), FirmwareOutcome::WriteFailed,
         core::kFirmwareWriteError, 2},
        {"mid-write", image200, sim::Faults::FailRequest(101), FirmwareOutcome::WriteFailed,
         core::kFirmwareWriteError, 101},
        {"verify", image200, sim::Faults::FailRequest(251), FirmwareOutcome::ReadBackFailed,
         core::kFirmwareReadBackError, 251},
        {"no board", image200, sim::Faults::UnplugAt(1), FirmwareOutcome::WriteFailed,
         core::kFirmwareWriteError, 1},
    };
    // Permissions do not stop the superuser.
    if (::geteuid() != 0) {
        cases.push_back(
            {"unreadable", locked, {}, FirmwareOutcome::OpenFailed, core::kFirmwareOpenError, 0});
    }
    for (const Case &c : cases) {
        if (!board.Emulator().IsPlugged()) {
            board.Emulator().Replug();
            Velorin_OpenUsbDevice();
        }
        prompts.shown.clear();
        board.Emulator().ClearLog();
        board.SetFaults(c.faults);
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

TEST_F(FirmwareDialogTest, DifferingByteAndTheFullEeprom) {
    HookBoard hook(board.Board());
    hook.flipAt = 7;
    const auto path = File("fw.bin", Image(200));
    Outcome run = Download(path, hook);
    EXPECT_EQ(run.result.outcome, FirmwareOutcome::VerifyFailed);
    EXPECT_EQ(run.result.address, 7u);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Verification failed!"});

    // Looked at half-way through verifying: the phase, the bar and the tally.
    HookBoard look(board.Board());
    look.lookAtRead = 1 + 101;
    look.look = [] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findChild<QLabel *>("statusText")->text(), "Verifying eeprom");
        EXPECT_EQ(dialog->findChild<QProgressBar *>("progressBar")->value(), 50);
        EXPECT_TRUE(
            dialog->findChild<QLabel *>("tallyText")->text().startsWith("100 of 200 bytes, 0:"));
        EXPECT_TRUE(velorin::gui::testing::SaveScreenshot(*dialog, "firm_dnl_dlg"));
    };
    prompts.shown.clear();
    EXPECT_EQ(Download(path, look).result.outcome, FirmwareOutcome::Succeeded);

    prompts.shown.clear();
    run = Download(File("full.bin", Image(65536)));
    EXPECT_EQ(run.result.outcome, FirmwareOutcome::Succeeded);
    EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Firmware download successfull!"});
    EXPECT_EQ(run.painted.size(), 100u + 101u);
    EXPECT_EQ(run.painted.back(), 100);
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
