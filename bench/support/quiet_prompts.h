// Prompts for benchmarks: every box is answered OK and remembered, every question declined.
#pragma once

#include <optional>
#include <string>

#include "core/base/prompts.h"

namespace velorin::bench {

class QuietPrompts : public core::Prompts {
  public:
    core::MessageAnswer ShowMessage(const core::Message &message) override {
        last = message.text;
        return core::MessageAnswer::Ok;
    }
    bool ConfirmLock() override { return false; }
    bool AskPassword() override { return false; }
    std::optional<std::string> ChooseFileToOpen(const core::FileRequest &) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFileToSave(const core::FileRequest &) override {
        return std::nullopt;
    }
    std::string last;
};

}  // namespace velorin::bench
