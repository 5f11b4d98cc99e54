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

// Loop-filter dialog (template 137).
inline constexpr int kLoopFilterDialog = 137;
inline constexpr int kLoopC1Label = 1018;
inline constexpr int kLoopC2Label = 1019;
inline constexpr int kLoopC3Label = 1020;
inline constexpr int kLoopR2Label = 1021;
inline constexpr int kLoopR3Label = 1022;
inline constexpr int kLoopSchematic = 1024;
inline constexpr int kLoopBandwidthEdit = 1025;
inline constexpr int kLoopPhaseMarginEdit = 1026;
inline constexpr int kLoopBandwidthSlider = 1036;
inline constexpr int kLoopPhaseMarginSlider = 1037;
// The loop-response panel beside the template.
inline constexpr int kLoopResponseButton = 1400;
inline constexpr int kLoopResponseFigures = 1401;
inline constexpr int kLoopResponseNotes = 1402;
inline constexpr int kLoopBodePlot = 1403;
inline constexpr int kLoopStepPlot = 1404;
inline constexpr int kLoopSavePlotsButton = 1405;
inline constexpr int kLoopSaveBodePointsButton = 1406;
inline constexpr int kLoopSaveStepPointsButton = 1407;

}  // namespace velorin::gui::ids
