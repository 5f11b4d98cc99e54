// velorinctl firmware: download a board firmware image into the board EEPROM and verify it.
#include <memory>
#include <string>

#include "cli/board_command.h"
#include "cli/commands.h"
#include "cli/terminal_prompts.h"
#include "core/app/firmware_download.h"

namespace velorin::cli {

namespace {

// A bar redrawn in place on a terminal; elsewhere one line per status and per new percentage.
class ProgressPrinter {
  public:
    explicit ProgressPrinter(Context &context) : context_(context) {}
    ~ProgressPrinter() { EndLine(); }

    void Status(const std::string &text) {
        EndLine();
        if (text.find_first_not_of(' ') == std::string::npos) return;
        label_ = text;
        if (!context_.terminal.outputIsTerminal) context_.out << text << "\n";
    }

    void Progress(int percent) {
        if (!context_.terminal.outputIsTerminal) {
            context_.out << percent << "%\n";
            return;
        }
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        context_.out << "\r" << label_ << " [" << std::string(static_cast<size_t>(filled), '#')
                     << std::string(static_cast<size_t>(kWidth - filled), ' ') << "] " << percent
                     << "%" << std::flush;
        barShown_ = true;
    }

    void EndLine() {
        if (barShown_) context_.out << "\n";
        barShown_ = false;
    }

  private:
    Context &context_;
    std::string label_;
    bool barShown_ = false;
};

// Ends the bar's line before a message, so that the message stands on a line of its own.
class FirmwarePrompts : public TerminalPrompts {
  public:
    FirmwarePrompts(Context &context, ProgressPrinter &printer)
        : TerminalPrompts(context), printer_(printer) {}
    core::MessageAnswer ShowMessage(const core::Message &message) override {
        printer_.EndLine();
        return TerminalPrompts::ShowMessage(message);
    }

  private:
    ProgressPrinter &printer_;
};

}  // namespace

void AddFirmwareCommand(CLI::App &app, Context &context) {
    auto path = std::make_shared<std::string>();
    auto *command = app.add_subcommand(
        "firmware",
        "Download a firmware image (at most 65,536 bytes) into the board EEPROM and verify it");
    command->add_option("file", *path, "Raw image file, such as MXR817_Eval_Fw1.bin")->required();
    command->callback([&context, path] {
        WithOpenBoard(context, [&](core::Board &board) {
            ProgressPrinter printer(context);
            FirmwarePrompts prompts(context, printer);
            prompts.resultTexts.insert(core::kFirmwareSuccess);
            const core::FirmwareObserver observer{
                [&printer](const std::string &text) { printer.Status(text); },
                [&printer](int percent) { printer.Progress(percent); }};
            const auto result = core::DownloadFirmware(board, prompts, *path, observer);
            printer.EndLine();
            if (result.outcome != core::FirmwareOutcome::Succeeded) context.exitCode = 1;
        });
    });
}

}  // namespace velorin::cli
