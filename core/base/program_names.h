// Names the program shows and keeps: captions, titles, the settings key, the document type.
#pragma once

namespace velorin::core {

// Caption of every message box the program itself shows, and the settings key's name.
inline constexpr const char *kApplicationName = "QV MXRG817A CtrlGui Version 1.0";
inline constexpr const char *kWindowTitle = "QV MXRG817A CtrlGui - Version 1.0";
inline constexpr const char *kSettingsOrganisation = "Local AppWizard-Generated Applications";
// The document's own names (title, filter, extension) are in core/device/configuration_file.h.
inline constexpr const char *kAllFilesLabel = "All Files (*.*)";
inline constexpr int kRecentFileCount = 4;

}  // namespace velorin::core
