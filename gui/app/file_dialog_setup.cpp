#include "gui/app/file_dialog_setup.h"

namespace velorin::gui {

QStringList NameFiltersFor(const core::FileRequest &request) {
    QStringList filters;
    for (const core::FileFilter &filter : request.filters) {
        filters << QString::fromStdString(filter.label) + " (" +
                       QString::fromStdString(filter.pattern) + ")";
    }
    return filters;
}

void ConfigureFileDialog(QFileDialog &dialog, const core::FileRequest &request, bool save) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setNameFilters(NameFiltersFor(request));
    // Without a type list, an initial name with wildcards is the pattern the list shows.
    if (request.filters.empty() && request.initialName.find_first_of("*?") != std::string::npos) {
        dialog.setNameFilter(QString::fromStdString(request.initialName));
    }
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdString(request.initialName));
}

}  // namespace velorin::gui
