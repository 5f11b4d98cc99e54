// Numeric ids of the program's resources, commands and controls: the one place they are
// written. A template's control ids live in a namespace of their own, since templates reuse
// each other's numbers.
#pragma once

namespace velorin::ids {

// Resources and dialog templates.
inline constexpr int kAboutDialog = 100;
inline constexpr int kMainForm = 102;
inline constexpr int kMainFrameResource = 128;  // menu, accelerators, icon, tool bar
inline constexpr int kLoopFilterDialog = 137;
inline constexpr int kOutputCalculatorBar = 145;
inline constexpr int kInputCalculatorBar = 146;
inline constexpr int kBlockPopupMenu = 147;
inline constexpr int kDeviceSettingsDialog = 158;
inline constexpr int kLockConfirmDialog = 160;
inline constexpr int kFirmwareDialog = 170;
inline constexpr int kCrystalDialog = 171;
inline constexpr int kReadBackDialog = 172;
inline constexpr int kPasswordDialog = 173;

// Framework commands and the standard dialog buttons.
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
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

// Program commands: the items of the block popup menus, then the main menu's.
inline constexpr int kFeedbackDivider12 = 32771;
inline constexpr int kFeedbackDivider32 = 32772;
inline constexpr int kFeedbackDivider20 = 32774;
inline constexpr int kFeedbackDivider16 = 32775;
inline constexpr int kPrescaler2 = 32778;
inline constexpr int kPrescaler3 = 32779;
inline constexpr int kPrescaler4 = 32780;
inline constexpr int kPrescaler5 = 32781;
inline constexpr int kOutputDivider1 = 32783;
inline constexpr int kOutputDivider2 = 32784;
inline constexpr int kOutputDivider4 = 32786;
inline constexpr int kOutputDivider8 = 32787;
inline constexpr int kOutputDivider16 = 32788;
inline constexpr int kOutputDivider32 = 32789;
inline constexpr int kChargePump56 = 32791;
inline constexpr int kChargePump112 = 32795;
inline constexpr int kChargePump168 = 32796;
inline constexpr int kChargePump224 = 32797;
inline constexpr int kWriteEepromNoLock = 32800;
inline constexpr int kWriteEepromLock = 32801;
inline constexpr int kDownloadFirmware = 32802;
inline constexpr int kReadDeviceSettings = 32803;
inline constexpr int kSaveCrystalFrequency = 32804;
inline constexpr int kForceDriverInstall = 32805;
inline constexpr int kExportSettings = 32806;

// Calculator bars (templates 145 and 146).
namespace calculator_bar {
inline constexpr int kInputFrequencyEdit = 1027;
inline constexpr int kCalculateOutputsButton = 1028;
inline constexpr int kPossibleOutputsCombo = 1029;
inline constexpr int kDesiredOutputEdit = 1030;
inline constexpr int kApplyOutputButton = 1031;
inline constexpr int kRequiredInputEdit = 1032;
inline constexpr int kCalculateInputButton = 1033;
inline constexpr int kApplyInputButton = 1034;
}  // namespace calculator_bar

// Main form (template 102).
namespace main_form {
// Blocks of the signal path.
inline constexpr int kChargePumpBlock = 1001;
inline constexpr int kVcoBlock = 1002;
inline constexpr int kPrescalerBlock = 1005;
inline constexpr int kOutputBlock = 1006;
inline constexpr int kTerminationPicture = 1009;
inline constexpr int kFeedbackDividerBlock = 1010;
inline constexpr int kOtherVcoBlock = 1014;
inline constexpr int kLoopFilterPicture = 1015;
inline constexpr int kOutputDividerBlock = 1016;
// Board options and frequencies.
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
}  // namespace main_form

// Crystal dialog (template 171).
namespace crystal_dialog {
inline constexpr int kCrystalEdit = 1205;
}  // namespace crystal_dialog

// Lock confirmation (template 160) and password (template 173) dialogs.
namespace lock_confirm_dialog {
inline constexpr int kConfirmEdit = 1098;
}  // namespace lock_confirm_dialog
namespace password_dialog {
inline constexpr int kPasswordEdit = 1210;
}  // namespace password_dialog

// Device-settings dialog (template 158).
namespace device_settings {
inline constexpr int kUsbLed = 1028;
inline constexpr int kVco1Radio = 1069;
inline constexpr int kVco2Radio = 1070;
inline constexpr int kPrescalerList = 1071;
inline constexpr int kOutputDividerList = 1072;
inline constexpr int kLvdsRadio = 1073;
inline constexpr int kPeclRadio = 1074;
inline constexpr int kC2List = 1077;
inline constexpr int kChargePumpList = 1078;
inline constexpr int kR2List = 1079;
inline constexpr int kBlockARadio = 1080;
inline constexpr int kVcoCalOverrideCheck = 1081;
inline constexpr int kVcoCalWordList = 1082;
inline constexpr int kVcoCalEnableCheck = 1083;
inline constexpr int kC3List = 1084;
inline constexpr int kTestSelectList = 1085;
inline constexpr int kBlockBRadio = 1086;
inline constexpr int kC1List = 1087;
inline constexpr int kBlockCRadio = 1088;
inline constexpr int kWriteRamButton = 1089;
inline constexpr int kByte0Text = 1090;  // Byte1..Byte5 follow: 1091-1095
inline constexpr int kBlockDRadio = 1096;
inline constexpr int kPowerCheck = 1097;
inline constexpr int kTerminatePeclCheck = 1098;
inline constexpr int kReadBackModeButton = 1099;
inline constexpr int kOutputEnableCheck = 1100;
inline constexpr int kWriteEepromButton = 1101;
inline constexpr int kWriteEepromLockButton = 1102;
inline constexpr int kSaveFileButton = 1103;
inline constexpr int kLoadFileButton = 1104;
inline constexpr int kLoopFilterText = 1105;
inline constexpr int kSaveEvmButton = 1106;
inline constexpr int kFeedbackDividerText = 1111;
inline constexpr int kInputLowText = 1114;
inline constexpr int kInputHighText = 1115;
inline constexpr int kOutputLowText = 1116;
inline constexpr int kOutputHighText = 1117;
inline constexpr int kUnlockButton = 1209;
inline constexpr int kIdleButton = 1210;
inline constexpr int kSetDefaultButton = 1229;
}  // namespace device_settings

// Loop-filter dialog (template 137) and the loop-response panel beside it.
namespace loop_filter {
inline constexpr int kC1Label = 1018;
inline constexpr int kC2Label = 1019;
inline constexpr int kC3Label = 1020;
inline constexpr int kR2Label = 1021;
inline constexpr int kR3Label = 1022;
inline constexpr int kSchematic = 1024;
inline constexpr int kBandwidthEdit = 1025;
inline constexpr int kPhaseMarginEdit = 1026;
inline constexpr int kBandwidthSlider = 1036;
inline constexpr int kPhaseMarginSlider = 1037;
inline constexpr int kResponseButton = 1400;
inline constexpr int kResponseFigures = 1401;
inline constexpr int kResponseNotes = 1402;
inline constexpr int kBodePlot = 1403;
inline constexpr int kStepPlot = 1404;
inline constexpr int kSavePlotsButton = 1405;
inline constexpr int kSaveBodePointsButton = 1406;
inline constexpr int kSaveStepPointsButton = 1407;
}  // namespace loop_filter

// Read-back dialog (template 172); the ids of its field boxes are in the read-back field
// table (core/device/readback_decode.h), beside what each box shows.
namespace read_back {
inline constexpr int kReadBackButton = 1;  // the default button
inline constexpr int kCloseWindowButton = 2;
inline constexpr int kInvertDataBitsCheck = 1228;
inline constexpr int kCopyButton = 1239;
inline constexpr int kSummary = 1240;
}  // namespace read_back

// Firmware download dialog (template 170).
namespace firmware {
inline constexpr int kProgress = 1202;
inline constexpr int kStatus = 1203;
inline constexpr int kTally = 1241;
}  // namespace firmware

}  // namespace velorin::ids
