// Names the program shows and keeps: captions, titles, the settings key, the document type.
#pragma once

namespace velorin::core {

// Caption of every message box the program itself shows, and the settings key's name.
inline constexpr const char *kApplicationName = "QV MXRG817A CtrlGui Version 1.0";
inline constexpr const char *kWindowTitle = "QV MXRG817A CtrlGui - Version 1.0";
inline constexpr const char *kSettingsOrganisation = "Local AppWizard-Generated Applications";
inline constexpr const char *kNewDocumentTitle = "Config";
// The type entry of the document's file choosers shows one extension and applies another.
inline constexpr const char *kDocumentFilterLabel = "QVMXRG817A Files (*.MXR817A)";
inline constexpr const char *kDocumentExtension = ".MXRG817A";
inline constexpr const char *kAllFilesLabel = "All Files (*.*)";
inline constexpr int kRecentFileCount = 4;

}  // namespace velorin::core
