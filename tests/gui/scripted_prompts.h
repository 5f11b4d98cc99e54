// Prompts that answer from a script and remember what they were asked.
#pragma once

#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/prompts.h"

namespace velorin::gui::testing {

class ScriptedPrompts : public core::Prompts {
  public:
    core::MessageAnswer ShowMessage(const core::Message &message) override {
        messages.push_back(message);
        if (onMessage) onMessage(message);
        if (answers.empty()) return core::MessageAnswer::Ok;
        const core::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ConfirmLock() override { return confirmLock; }
    bool AskPassword() override { return password; }
    std::optional<std::string> ChooseFileToOpen(const core::FileRequest &request) override {
        fileRequests.push_back(request);
        return NextFile();
    }
    std::optional<std::string> ChooseFileToSave(const core::FileRequest &request) override {
        fileRequests.push_back(request);
        saveRequests.push_back(request);
        return NextFile();
    }

    std::vector<core::Message> messages;
    std::deque<core::MessageAnswer> answers;
    std::function<void(const core::Message &)> onMessage;
    bool confirmLock = false;
    bool password = false;
    std::deque<std::optional<std::string>> files;
    std::vector<core::FileRequest> fileRequests;
    std::vector<core::FileRequest> saveRequests;

  private:
    std::optional<std::string> NextFile() {
        if (files.empty()) return std::nullopt;
        auto next = files.front();
        files.pop_front();
        return next;
    }
};

}  // namespace velorin::gui::testing
