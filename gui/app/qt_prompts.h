// The real Prompts: message boxes, the access dialogs and file choosers on screen.
#pragma once

#include "core/base/prompts.h"

class QWidget;

namespace velorin::gui {

class QtPrompts : public core::Prompts {
  public:
    core::MessageAnswer ShowMessage(const core::Message &message) override;
    bool ConfirmLock() override;
    bool AskPassword() override;
    std::optional<std::string> ChooseFileToOpen(const core::FileRequest &request) override;
    std::optional<std::string> ChooseFileToSave(const core::FileRequest &request) override;

  private:
    static QWidget *Owner();
    std::optional<std::string> ChooseFile(const core::FileRequest &request, bool save);
};

}  // namespace velorin::gui
