#include "core/planning/view_commands.h"

namespace velorin::core {

namespace {

template <typename Matches>
std::optional<int> FirstCommand(CommandMenu menu, Matches matches) {
    for (const ViewCommand &command : kViewCommands) {
        if (command.menu == menu && matches(command)) return command.id;
    }
    return std::nullopt;
}

}  // namespace

const char *CommandMenuTitle(CommandMenu menu) {
    switch (menu) {
        case CommandMenu::FeedbackDivider:
            return "Feedback Divider";
        case CommandMenu::Prescaler:
            return "Prescaler";
        case CommandMenu::OutputDivider:
            return "Output Divider";
        case CommandMenu::ChargePump:
            return "Charge Pump Current";
        case CommandMenu::Main:
            break;
    }
    return "";
}

const ViewCommand *FindViewCommand(int id) {
    for (const ViewCommand &command : kViewCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

std::optional<int> PrescalerCommand(int code) {
    return FirstCommand(CommandMenu::Prescaler,
                        [code](const ViewCommand &c) { return c.prescalerCode == code; });
}

std::optional<int> OutputDividerCommand(int code) {
    return FirstCommand(CommandMenu::OutputDivider,
                        [code](const ViewCommand &c) { return c.outputDividerCode == code; });
}

std::optional<int> ChargePumpCommand(int index) {
    return FirstCommand(CommandMenu::ChargePump,
                        [index](const ViewCommand &c) { return c.chargePumpIndex == index; });
}

}  // namespace velorin::core
