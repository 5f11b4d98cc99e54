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

// Main form (template 102): blocks of the signal path.
inline constexpr int kChargePumpBlock = 1001;
inline constexpr int kVcoBlock = 1002;
inline constexpr int kPrescalerBlock = 1005;
inline constexpr int kOutputBlock = 1006;
inline constexpr int kTerminationPicture = 1009;
inline constexpr int kFeedbackDividerBlock = 1010;
inline constexpr int kOtherVcoBlock = 1014;
inline constexpr int kLoopFilterPicture = 1015;
inline constexpr int kOutputDividerBlock = 1016;
// Main form: board options and frequencies.
inline constexpr int kUsbLed = 1028;
inline constexpr int kVddLedA = 1029;  // 1029-1032 for blocks A-D
inline constexpr int kTerminationCheck = 1038;
inline constexpr int kAdvancedControlButton = 1039;
inline constexpr int kBlockRadioA = 1040;  // 1040-1043 for blocks A-D
inline constexpr int kPowerCheck = 1044;
inline constexpr int kCalibrationCheck = 1045;
inline constexpr int kOutputFrequencyEdit = 1200;
inline constexpr int kInputFrequencyFormEdit = 1201;
inline constexpr int kRangeWarningLabel = 1204;
// Popup menu of the blocks and its commands.
inline constexpr int kBlockPopupMenu = 147;
inline constexpr int kCrystalDialog = 171;
inline constexpr int kCrystalEdit = 1205;

}  // namespace velorin::gui::ids
