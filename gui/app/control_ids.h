// Numeric ids of the program's menus, commands, dialog templates and controls.
#pragma once

namespace velorin::gui::ids {

// Resources.
inline constexpr int kMainFrameResource = 128;  // menu, accelerators, icon, tool bar
inline constexpr int kAboutDialog = 100;
inline constexpr int kMainForm = 102;
inline constexpr int kOutputCalculatorBar = 145;
inline constexpr int kInputCalculatorBar = 146;
inline constexpr int kLockConfirmDialog = 160;
inline constexpr int kPasswordDialog = 173;

// Framework commands.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrint = 57607;
inline constexpr int kRecentFile = 57616;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// Program commands.
inline constexpr int kWriteEepromNoLock = 32800;
inline constexpr int kWriteEepromLock = 32801;
inline constexpr int kDownloadFirmware = 32802;
inline constexpr int kReadDeviceSettings = 32803;
inline constexpr int kSaveCrystalFrequency = 32804;
inline constexpr int kForceDriverInstall = 32805;

// Calculator bar controls.
inline constexpr int kInputFrequencyEdit = 1027;
inline constexpr int kCalculateOutputsButton = 1028;
inline constexpr int kPossibleOutputsCombo = 1029;
inline constexpr int kDesiredOutputEdit = 1030;
inline constexpr int kApplyOutputButton = 1031;
inline constexpr int kRequiredInputEdit = 1032;
inline constexpr int kCalculateInputButton = 1033;
inline constexpr int kApplyInputButton = 1034;

// Read-back dialog (template 172); its field ids are in core/device/readback_decode.h.
inline constexpr int kReadBackDialog = 172;
inline constexpr int kReadBackButton = 1;  // the default button
inline constexpr int kCloseWindowButton = 2;
inline constexpr int kRawDataEdit = 1207;
inline constexpr int kInvertDataBitsCheck = 1228;
inline constexpr int kReadBackCopyButton = 1239;
inline constexpr int kReadBackSummary = 1240;

// Firmware download dialog (resource 170).
inline constexpr int kFirmwareDialog = 170;
inline constexpr int kFirmwareProgress = 1202;
inline constexpr int kFirmwareStatus = 1203;
inline constexpr int kFirmwareTally = 1241;

}  // namespace velorin::gui::ids
