// The user behind the programming sequences when a network client drives them: the client
// has already said what it wants, so the write-count question is answered yes and the lock is
// confirmed (the lock command checks its "YES" before it starts). Nothing else is offered.
#pragma once

#include "core/base/prompts.h"

namespace velorin::core::scpi {

class InstrumentPrompts final : public Prompts {
  public:
    MessageAnswer ShowMessage(const Message &message) override {
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    bool ConfirmLock() override { return true; }
    bool AskPassword() override { return false; }
    std::optional<std::string> ChooseFileToOpen(const FileRequest &) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFileToSave(const FileRequest &) override {
        return std::nullopt;
    }
};

}  // namespace velorin::core::scpi
