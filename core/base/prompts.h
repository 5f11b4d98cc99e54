// Everything the program asks of the user: message boxes, questions, the lock confirmation, the
// password and file choices. The program shows real dialogs; tests answer from a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velorin::core {

enum class MessageButtons { Ok, OkCancel, YesNo };
// None: a box without any icon, as the board library asks for its error messages.
enum class MessageIcon { Default, None, Information, Exclamation, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::string text;
    std::string caption;  // empty: the application name
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Default;
};

// The icon a box really shows: the one asked for, or, without one, the exclamation mark on an
// OK (or OK and Cancel) box and the question mark on a Yes/No box.
constexpr MessageIcon EffectiveIcon(MessageButtons buttons, MessageIcon icon) {
    if (icon != MessageIcon::Default) return icon;
    return buttons == MessageButtons::YesNo ? MessageIcon::Question : MessageIcon::Exclamation;
}

// One entry of a file chooser's type list: the text shown and the pattern really applied.
struct FileFilter {
    std::string label;
    std::string pattern;  // "*.MXRG817A"; "*" for every file
};

struct FileRequest {
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot; added to a typed name that has none
    std::string initialName;
    bool overwritePrompt = true;
};

class Prompts {
  public:
    virtual ~Prompts() = default;

    virtual MessageAnswer ShowMessage(const Message &message) = 0;
    // The EEPROM lock confirmation: true only when it ended with OK after "yes" was typed.
    virtual bool ConfirmLock() = 0;
    // The unlock password: true only when it ended with OK after an access code was typed.
    virtual bool AskPassword() = 0;
    virtual std::optional<std::string> ChooseFileToOpen(const FileRequest &request) = 0;
    virtual std::optional<std::string> ChooseFileToSave(const FileRequest &request) = 0;

    void Tell(const std::string &text, MessageIcon icon = MessageIcon::Default) {
        ShowMessage(Message{text, std::string(), MessageButtons::Ok, icon});
    }
    bool AskYesNo(const std::string &text) {
        return ShowMessage(Message{text, std::string(), MessageButtons::YesNo,
                                   MessageIcon::Default}) == MessageAnswer::Yes;
    }
};

}  // namespace velorin::core
