// QVVelorinCtrlGui: the windowed control program for the evaluation board.
#include <QApplication>
#include <cstdlib>

#include "core/base/program_names.h"
#include "gui/app/application.h"
#include "gui/app/qt_prompts.h"
#include "gui/planning/main_view.h"

namespace {

// Every board request runs on the window's thread: a board that stops answering must not hold
// the window for the library's default two seconds per request. A timed-out request breaks the
// connection, so a poll tick waits for at most two of them (the one before and the one after
// its reconnect). A working board answers in well under a millisecond; a timeout set in the
// environment is kept.
constexpr const char *kProgramRequestTimeoutMs = "100";

}  // namespace

int main(int argc, char **argv) {
    setenv("VELORIN_REQUEST_TIMEOUT_MS", kProgramRequestTimeoutMs, 0);
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(velorin::core::kSettingsOrganisation);
    QCoreApplication::setApplicationName(velorin::core::kApplicationName);
    velorin::gui::QtPrompts prompts;
    velorin::gui::CQVVelorinCtrlGuiApp program(prompts);
    velorin::gui::UseMainView(program);
    if (!program.InitInstance(QApplication::arguments())) return 1;
    return QApplication::exec();
}
