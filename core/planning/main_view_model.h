// The main view's rules: the setters behind the block diagram, the chip write that follows every
// setting change, the port switches, the board poll, the block selection, the calculator bars'
// actions, the crystal record of block B and the take-back of the other dialogs. The window
// reads its form into State() before each call and shows State() and Display() afterwards.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompts.h"
#include "core/base/sleeper.h"
#include "core/device/board.h"
#include "core/device/board_link.h"
#include "core/device/register_image.h"
#include "core/device/sequence_result.h"
#include "core/loopfilter/loop_filter_dialog_model.h"
#include "core/planning/board_write_status.h"
#include "core/planning/main_view_state.h"

namespace velorin::core {

// The output calculator's list and the text its combo box field shows.
struct OutputCalculation {
    std::vector<std::string> lines;
    std::string fieldText;
};

class MainViewModel {
  public:
    // Resets the image: all six bytes 0, then the control word 0x8002279E.
    MainViewModel(Board &board, Prompts &prompts, Sleeper &sleeper, RegisterImage &image);

    MainViewState &State() { return state_; }
    const MainViewState &State() const { return state_; }
    const MainViewDisplay &Display() const { return display_; }
    // The status bar's line about failed silent writes; empty when the board holds the form.
    std::string StatusMessage() const { return status_.Message(); }

    // At start and after every new or opened document. Reads the board identity once, so that
    // the termination bits are placed right before the first poll, and switches the power.
    void InitialUpdate();

    void SetPrescaler(int code, bool write);
    void SetFeedbackDivider(int index);
    void SetOutputDivider(int code, bool write);
    void SetChargePump(int index, bool write);
    void ToggleVco();
    void ToggleOutputType();
    // The VCO (0 or 1) and output type (0 LVDS, 1 LVPECL) as a toggle that lands on them
    // sets them, with the same writes.
    void SelectVco(int vcoSelect);
    void SelectOutputType(int outputType);

    // Every setting change ends here. False when a board call failed (nothing is shown; the
    // image keeps its new content and the status message says so).
    bool WriteImageToChip();
    bool ApplyTermination();
    bool ApplyOutputEnable();
    bool ApplyPowerEnable();

    // The popup-menu and feedback-divider commands by id; false for an id that is not one.
    bool RunSettingCommand(int commandId);

    // Returns the crystal text of block B when a four-block board's block B was selected: the
    // view puts it into the output calculator's input and runs the calculator.
    std::optional<std::string> SelectBlock();

    // The 500 ms poll. A call made while one is running (from a nested event loop) does nothing.
    void PollBoard();

    static OutputCalculation CalculateOutputs(std::string_view inputText);
    // The required-input text, or nothing when no plan makes the output (then nothing changes).
    std::optional<std::string> CalculateInput(std::string_view desiredText);
    void ApplyOutputCalculation(std::string_view inputText, std::string_view comboText);
    void ApplyInputCalculation();

    // After the crystal dialog ended with OK: the stored record becomes the input text.
    void LoadCrystalFrequency();
    // The dialog's OK; false while the entry is out of range (the dialog stays open).
    bool SaveCrystalFrequency(std::string_view typed);

    // What the loop-filter dialog starts from, and its OK: bandwidth, margin and the four codes
    // into the image, then the chip write.
    LoopFilterRequest LoopFilterRequestNow() const;
    void ApplyLoopFilter(const LoopFilterChoice &choice);
    // The device-settings dialog has closed: take back its block, driver and VCO choice, apply
    // them and refresh the blocks from the image.
    void TakeBackAdvancedControl(int blockIndex, int outputType, int vcoSelect);

    SequenceResult WriteEepromNoLock();
    SequenceResult WriteEepromLock();

    bool IsFourBlockBoard() const;

  private:
    void ApplyPlan(int prescaler, int outputDivider, int vcoNumber);
    uint8_t TerminationBit() const;
    bool Recorded(BoardWrite kind, bool ok);

    Board &board_;
    BoardLink link_{board_};
    Prompts &prompts_;
    Sleeper &sleeper_;
    RegisterImage &image_;
    MainViewState state_;
    MainViewDisplay display_;
    BoardWriteStatus status_;
    bool polling_ = false;
};

}  // namespace velorin::core
