// QVVelorinCtrlGui: the windowed control program for the evaluation board.
#include <QApplication>

#include "core/app/program_names.h"
#include "gui/app/application.h"
#include "gui/app/qt_prompts.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(velorin::core::kSettingsOrganisation);
    QCoreApplication::setApplicationName(velorin::core::kApplicationName);
    velorin::gui::QtPrompts prompts;
    velorin::gui::CQVVelorinCtrlGuiApp program(prompts);
    if (!program.InitInstance(QApplication::arguments())) return 1;
    return QApplication::exec();
}
