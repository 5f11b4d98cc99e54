#include "core/planning/block_tooltips.h"

namespace velorin::core {

const char *BlockToolTip(int controlId) {
    switch (controlId) {
        case 1001:
            return "Charge-pump current: control word bits 19-22 (Byte3 bits 3-6), a thermometer "
                   "code.\nChoices: 56 µA (1), 112 µA (3), 168 µA (7), 224 µA (15).";
        case 1002:
            return "VCO select: Byte0 bit 0.\nClick to switch between VCO 1 (0, 1750-2040 MHz) "
                   "and VCO 2 (1, 2040-2350 MHz). Shows the VCO frequency.";
        case 1005:
            return "Prescaler: Byte0 bits 1-2.\nChoices: / 5 (0), / 3 (1), / 4 (2), / 2 (3); the "
                   "feedback divider follows.";
        case 1006:
            return "Output type: Byte0 bit 6.\nClick to switch between LVDS (0) and LVPECL (1); "
                   "LVPECL also switches the block's termination on (board port 0).";
        case 1010:
            return "Feedback divider: no register field of its own, fixed by the prescaler.\n/ 12 "
                   "with / 5, / 20 with / 3, / 16 with / 4, / 32 with / 2.";
        case 1014:
            return "The chip's second VCO core (decoration).";
        case 1015:
            return "Loop filter: control word bits 0-18 (C2 bits 0-4, R2 bits 5-9, C1 bits "
                   "10-14, C3 bits 15-18).\nClick to design it from a bandwidth and phase margin.";
        case 1016:
            return "Output divider: Byte0 bits 3-5.\nChoices: / 1 (0), / 2 (1), / 4 (2), / 8 (3), "
                   "/ 16 (4), / 32 (5).";
        default:
            return "";
    }
}

}  // namespace velorin::core
