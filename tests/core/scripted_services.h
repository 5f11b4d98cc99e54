// Scripted user and clock for sequence tests: prompts answered from a script and recorded,
// waits recorded together with the number of requests the board had received by then.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/prompts.h"
#include "core/app/sleeper.h"

namespace velorin::testing {

class ScriptedPrompts : public core::Prompts {
  public:
    core::MessageAnswer ShowMessage(const core::Message &message) override {
        shown.push_back(message);
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
    std::optional<std::string> ChooseFileToOpen(const core::FileRequest &) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFileToSave(const core::FileRequest &) override {
        return std::nullopt;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto &m : shown) texts.push_back(m.text);
        return texts;
    }

    std::deque<core::MessageAnswer> answers;  // for Yes/No questions; No once they run out
    std::vector<core::Message> shown;
    bool lockConfirmed = false;
    bool passwordAccepted = false;
    int lockAsked = 0;
    int passwordAsked = 0;
};

struct Wait {
    int milliseconds = 0;
    size_t afterRequests = 0;
    bool operator==(const Wait &) const = default;
};

inline void PrintTo(const Wait &w, std::ostream *os) {
    *os << w.milliseconds << " ms after " << w.afterRequests;
}

class RecordingSleeper : public core::Sleeper {
  public:
    explicit RecordingSleeper(std::function<size_t()> requestCount)
        : requestCount_(std::move(requestCount)) {}
    void Sleep(int milliseconds) override { waits.push_back(Wait{milliseconds, requestCount_()}); }
    std::vector<Wait> waits;

  private:
    std::function<size_t()> requestCount_;
};

}  // namespace velorin::testing
