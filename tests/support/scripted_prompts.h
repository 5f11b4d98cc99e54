// Prompts that answer from a script and remember what they were asked: Yes/No questions take
// the next scripted answer (No once they run out), every other box is answered OK.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/prompts.h"

namespace velorin::testing {

class ScriptedPrompts : public core::Prompts {
  public:
    core::MessageAnswer ShowMessage(const core::Message &message) override {
        shown.push_back(message);
        if (onMessage) onMessage(message);
        if (message.buttons != core::MessageButtons::YesNo) return core::MessageAnswer::Ok;
        if (answers.empty()) return core::MessageAnswer::No;
        const core::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ConfirmLock() override {
        ++lockAsked;
        return lockConfirmed;
    }
    bool AskPassword() override {
        ++passwordAsked;
        return passwordAccepted;
    }
    std::optional<std::string> ChooseFileToOpen(const core::FileRequest &request) override {
        fileRequests.push_back(request);
        return NextFile();
    }
    std::optional<std::string> ChooseFileToSave(const core::FileRequest &request) override {
        fileRequests.push_back(request);
        saveRequests.push_back(request);
        return NextFile();
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto &m : shown) texts.push_back(m.text);
        return texts;
    }

    std::deque<core::MessageAnswer> answers;
    std::vector<core::Message> shown;
    std::function<void(const core::Message &)> onMessage;
    bool lockConfirmed = false;
    bool passwordAccepted = false;
    int lockAsked = 0;
    int passwordAsked = 0;
    std::deque<std::optional<std::string>> files;  // answers of the file choosers, in order
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

}  // namespace velorin::testing
