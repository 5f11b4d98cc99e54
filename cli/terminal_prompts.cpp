#include "cli/terminal_prompts.h"

#include <algorithm>
#include <cctype>

#include "core/device/access_rules.h"

namespace velorin::cli {

namespace {

constexpr const char *kWrongPassword = "Password in incorrect!";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

core::MessageAnswer TerminalPrompts::ShowMessage(const core::Message &message) {
    if (message.buttons == core::MessageButtons::YesNo) {
        context_.err << message.text;
        if (assumeYes) {
            context_.err << " yes (--yes)\n";
            return core::MessageAnswer::Yes;
        }
        if (context_.terminal.input == nullptr) {
            context_.err << " no (no terminal)\n";
            return core::MessageAnswer::No;
        }
        context_.err << " [y/N] " << std::flush;
        std::string line;
        if (!std::getline(*context_.terminal.input, line)) line.clear();
        const std::string answer = Lower(line);
        return answer == "y" || answer == "yes" ? core::MessageAnswer::Yes
                                                : core::MessageAnswer::No;
    }
    if (resultTexts.count(message.text) != 0) {
        context_.out << message.text << "\n";
    } else {
        context_.err << message.text << "\n";
        ++errorsShown_;
    }
    return message.buttons == core::MessageButtons::OkCancel ? core::MessageAnswer::Cancel
                                                             : core::MessageAnswer::Ok;
}

bool TerminalPrompts::ConfirmLock() {
    if (confirmation && core::IsLockConfirmation(*confirmation)) return true;
    context_.err << "Lock not confirmed: --confirm must be the word yes\n";
    ++errorsShown_;
    return false;
}

bool TerminalPrompts::AskPassword() {
    if (password && core::MatchesAccessCode(*password)) return true;
    ShowMessage(
        core::Message{kWrongPassword, {}, core::MessageButtons::Ok, core::MessageIcon::Default});
    return false;
}

}  // namespace velorin::cli
