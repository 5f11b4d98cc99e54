// The main view's commands: the items of its block popup menus, with what each one sets, and
// the main-menu commands it carries. The menus, the frame and the scripted instrument read
// this table.
#pragma once

#include <array>
#include <optional>

#include "core/ui/control_ids.h"

namespace velorin::core {

enum class CommandMenu { FeedbackDivider, Prescaler, OutputDivider, ChargePump, Main };

struct ViewCommand {
    int id;
    CommandMenu menu;
    const char *text;  // the menu item
    const char *tip = "";
    int feedbackIndex = -1;
    int prescalerCode = -1;  // -1: none
    bool feedbackFirst = false;
    int outputDividerCode = -1;  // -1: none
    int chargePumpIndex = -1;    // -1: none
};

using CM = CommandMenu;
inline constexpr std::array<ViewCommand, 22> kViewCommands = {{
    {ids::kFeedbackDivider12, CM::FeedbackDivider, "12", "", 0, 0, true},
    {ids::kFeedbackDivider16, CM::FeedbackDivider, "16", "", 1, 2, true},
    {ids::kFeedbackDivider20, CM::FeedbackDivider, "20", "", 2, 1, true},
    {ids::kFeedbackDivider32, CM::FeedbackDivider, "32", "", 3, 3, true},
    {ids::kPrescaler2, CM::Prescaler, "2", "", 3, 3},
    {ids::kPrescaler3, CM::Prescaler, "3", "", 2, 1},
    {ids::kPrescaler4, CM::Prescaler, "4", "", 1, 2},
    {ids::kPrescaler5, CM::Prescaler, "5", "", 0, 0},
    {ids::kOutputDivider1, CM::OutputDivider, "1", "", -1, -1, false, 0},
    {ids::kOutputDivider2, CM::OutputDivider, "2", "", -1, -1, false, 1},
    {ids::kOutputDivider4, CM::OutputDivider, "4", "", -1, -1, false, 2},
    {ids::kOutputDivider8, CM::OutputDivider, "8", "", -1, -1, false, 3},
    {ids::kOutputDivider16, CM::OutputDivider, "16", "", -1, -1, false, 4},
    {ids::kOutputDivider32, CM::OutputDivider, "32", "", -1, -1, false, 5},
    {ids::kChargePump56, CM::ChargePump, "56 \u00b5A", "", -1, -1, false, -1, 1},
    {ids::kChargePump112, CM::ChargePump, "112 \u00b5A", "", -1, -1, false, -1, 2},
    {ids::kChargePump168, CM::ChargePump, "168 \u00b5A", "", -1, -1, false, -1, 3},
    {ids::kChargePump224, CM::ChargePump, "224 \u00b5A", "", -1, -1, false, -1, 4},
    {ids::kWriteEepromNoLock, CM::Main, "Write settings to Device EEPROM (No Locking)",
     "Program the selected block's EEPROM without locking it"},
    {ids::kWriteEepromLock, CM::Main, "Write settings to Device EEPROM (Locking)",
     "Program and lock the selected block's EEPROM"},
    {ids::kReadDeviceSettings, CM::Main, "Read MXRG817A Device Settings",
     "Read the selected block's settings back from the chip"},
    {ids::kSaveCrystalFrequency, CM::Main, "Save Block B - XTAL Freq to EVM EEPROM",
     "Store block B's crystal frequency in the board's EEPROM"},
}};

// The title that leads a popup submenu: "Feedback Divider", "Prescaler", "Output Divider" or
// "Charge Pump Current"; empty for the main menu.
const char *CommandMenuTitle(CommandMenu menu);
// The command of `id`, or nullptr.
const ViewCommand *FindViewCommand(int id);
// The popup command that sets prescaler code `code`, output divider code `code` or charge
// pump position `index`; nullopt where no menu item does.
std::optional<int> PrescalerCommand(int code);
std::optional<int> OutputDividerCommand(int code);
std::optional<int> ChargePumpCommand(int index);

}  // namespace velorin::core
