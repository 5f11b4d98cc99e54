// Turns a FileRequest into a configured Qt file dialog.
#pragma once

#include <QFileDialog>
#include <QStringList>

#include "core/base/prompts.h"

namespace velorin::gui {

// Qt name filters that show each entry's label as it stands while applying its own pattern:
// the pattern is appended in parentheses and hidden from view, so "QVMXRG817A Files
// (*.MXR817A)" can apply "*.MXRG817A" and "All Files (*.*)" every file.
QStringList NameFiltersFor(const core::FileRequest &request);

void ConfigureFileDialog(QFileDialog &dialog, const core::FileRequest &request, bool save);

}  // namespace velorin::gui
