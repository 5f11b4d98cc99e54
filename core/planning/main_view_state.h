// What the main view holds and what it shows: the form-bound state, the settings behind the
// block diagram, and the texts, lamps and visibilities the form draws from them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace velorin::core {

struct MainViewState {
    // Bound to the form's controls.
    std::string inputText;   // MHz
    std::string outputText;  // MHz
    int blockIndex = 0;      // 0-3, block A-D
    bool terminationOn = false;
    bool powerOn = true;
    bool vcoCalibrationOn = true;

    int outputType = 0;  // 0 LVDS, 1 LVPECL
    int vcoSelect = 0;   // 0 VCO 1, 1 VCO 2
    uint8_t boardId = 0;
    double loopBandwidth = 400000.0;  // Hz
    double phaseMargin = 80.0;        // degrees
    double chargePumpCurrent = 0.000224;
    double prescalerValue = 5.0;
    double outputDividerValue = 1.0;
    double feedbackDividerValue = 12.0;
    bool outputEnableOn = true;

    // The input calculator's last plan, for its Apply.
    std::optional<int> rememberedPlan;  // row of the plan table
    double rememberedInput = 0.0;
};

constexpr const char *kLvdsStartText = "LVDS       ";
constexpr const char *kLvdsText = "LVDS        ";
constexpr const char *kLvpecText = "LVPECL       ";
constexpr const char *kVcoStartCaption = "VCO 1";
constexpr const char *kVco1Caption = "VC0 1";  // spelt with the digit zero, as the board's labels
constexpr const char *kVco2Caption = "VC0 2";
constexpr const char *kVco1DefaultText = "1894 MHz";
constexpr const char *kVco2DefaultText = "2157 MHz";

struct MainViewDisplay {
    std::string chargePumpText = "224 µA";
    std::string vcoCaption = kVcoStartCaption;
    std::string vcoText = kVco1DefaultText;
    std::string prescalerText = "/ 5";
    std::string feedbackDividerText = "/ 12";
    std::string outputDividerText = "/ 1";
    std::string outputTypeText = kLvdsStartText;

    bool usbLedLit = false;  // the board cannot be reached
    std::array<bool, 4> vddLedLit{};
    bool blockDVisible = false;
    bool rangeWarningVisible = false;
    bool terminationPictureVisible = false;
    bool inputEditEnabled = true;
};

}  // namespace velorin::core
