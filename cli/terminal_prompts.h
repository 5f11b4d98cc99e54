// The board commands' user: messages go to the output streams as they stand, the write-count
// question is asked on the terminal (or answered by --yes), and the lock confirmation and the
// password come from the command line.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "cli/context.h"
#include "core/base/prompts.h"

namespace velorin::cli {

class TerminalPrompts : public core::Prompts {
  public:
    explicit TerminalPrompts(Context &context) : context_(context) {}

    core::MessageAnswer ShowMessage(const core::Message &message) override;
    bool ConfirmLock() override;
    bool AskPassword() override;
    std::optional<std::string> ChooseFileToOpen(const core::FileRequest &) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFileToSave(const core::FileRequest &) override {
        return std::nullopt;
    }

    // Whether a question can be answered: --yes was given or there is a terminal.
    bool CanAsk() const { return assumeYes || context_.terminal.input != nullptr; }
    // Messages other than results and questions shown so far.
    int ErrorsShown() const { return errorsShown_; }

    bool assumeYes = false;
    std::optional<std::string> confirmation;  // --confirm
    std::optional<std::string> password;      // --password
    std::set<std::string> resultTexts;        // messages that are results: standard output

  private:
    Context &context_;
    int errorsShown_ = 0;
};

}  // namespace velorin::cli
