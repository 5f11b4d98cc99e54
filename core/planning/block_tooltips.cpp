#include "core/planning/block_tooltips.h"

#include <initializer_list>

#include "core/device/register_fields.h"

namespace velorin::core {

namespace {

// "/ 5 (0), / 3 (1), / 4 (2), / 2 (3)": each code's meaning and the code.
std::string Choices(Field field, std::initializer_list<int> codes) {
    std::string text;
    for (int code : codes) {
        if (!text.empty()) text += ", ";
        text += FieldValueText(field, code) + " (" + std::to_string(code) + ")";
    }
    return text;
}

std::string Head(const char *title, Field field) {
    return std::string(title) + ": " + FieldBitsText(field) + ".\n";
}

}  // namespace

std::string BlockToolTip(int controlId) {
    switch (controlId) {
        case 1001:
            return Head("Charge-pump current", Field::ChargePump) + "Choices: " +
                   Choices(Field::ChargePump, {ChargePumpCodes[1], ChargePumpCodes[2],
                                               ChargePumpCodes[3], ChargePumpCodes[4]}) +
                   "; " + FieldOf(Field::ChargePump).meaning + ".";
        case 1002:
            return Head("VCO select", Field::VcoSelect) +
                   "Click to switch: " + FieldOf(Field::VcoSelect).meaning +
                   ". Shows the VCO frequency.";
        case 1005:
            return Head("Prescaler", Field::Prescaler) +
                   "Choices: " + Choices(Field::Prescaler, {0, 1, 2, 3}) +
                   "; the feedback divider follows.";
        case 1006:
            return Head("Output type", Field::OutputType) +
                   "Click to switch: " + FieldOf(Field::OutputType).meaning +
                   "; LVPECL also switches the block's termination on (board port 0).";
        case 1010: {
            std::string pairs;
            for (int code = 0; code < 4; ++code) {
                if (!pairs.empty()) pairs += ", ";
                pairs += "/ " + std::to_string(FeedbackDividerForPrescaler[code]) + " with " +
                         FieldValueText(Field::Prescaler, code);
            }
            return "Feedback divider: no register field of its own, fixed by the prescaler.\n" +
                   pairs + ".";
        }
        case 1014:
            return "The chip's second VCO core (decoration).";
        case 1015:
            return "Loop filter: " + FieldBitsText(Field::C2) + " C2, " + FieldBitsText(Field::R2) +
                   " R2, " + FieldBitsText(Field::C1) + " C1, " + FieldBitsText(Field::C3) +
                   " C3.\nClick to design it from a bandwidth and phase margin.";
        case 1016:
            return Head("Output divider", Field::OutputDivider) +
                   "Choices: " + Choices(Field::OutputDivider, {0, 1, 2, 3, 4, 5}) + ".";
        default:
            return "";
    }
}

}  // namespace velorin::core
