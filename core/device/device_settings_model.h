// The device-settings dialog without its widgets: the state its controls hold, how it builds the
// register image from that state and shows an image in it, its half-second refresh, and its
// board and file buttons. The dialog copies its controls into State() (through TakeControls),
// calls one operation, and shows State() again.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/base/prompts.h"
#include "core/base/sleeper.h"
#include "core/device/board.h"
#include "core/device/board_link.h"
#include "core/device/programming_sequences.h"
#include "core/device/register_image.h"
#include "core/device/sequence_result.h"

namespace velorin::core {

// What the opener takes back when the dialog has closed, however it closed.
struct DeviceSettingsChoice {
    int blockIndex;
    int outputType;  // 0 LVDS, 1 PECL
    int vcoSelect;   // 0 first, 1 second
};

// The lists, by the field each selects.
enum class SettingsList {
    Prescaler,
    OutputDivider,
    ChargePump,
    VcoCalWord,
    TestSelect,
    C1,
    C2,
    C3,
    R2
};

// The dialog's controls. Check boxes and radios hold 0 or 1 (the block 0-3); lists hold the
// selected position, which is the field code except for the charge pump (a position in
// ChargePumpCodes) and the output divider, which holds the code itself (0-7: a loaded code 6
// or 7 has no divider and is kept until the user picks one).
struct DeviceSettingsState {
    int powerEnable = 1;
    int outputType = 1;
    int vcoCalEnable = 1;
    int vcoCalOverride = 0;
    int vcoSelect = 0;
    int terminatePecl = 1;
    int outputEnable = 1;
    int blockIndex = 1;

    int prescaler = 0;
    int outputDividerCode = 0;
    int chargePump = 0;
    int vcoCalWord = 0;
    int testSelect = 0;
    int c1 = 0;
    int c2 = 0;
    int c3 = 0;
    int r2 = 0;

    std::array<std::string, 6> byteTexts{};
    std::string loopFilterText = "02279E";
    std::string feedbackDividerText = "12";
    std::string inputLowText;
    std::string inputHighText;
    std::string outputLowText;
    std::string outputHighText;
};

// The entries of a list, in position order: "0" to "63", the test entries, the loop-filter
// values ("%0.1f pF" / "%0.1f kOhm"), the charge-pump currents ("µ" in UTF-8). The output
// divider list holds "1" to "32" and, while outputDividerCode is 6 or 7, one more entry that
// names the code without a divider.
std::vector<std::string> ListEntries(SettingsList list, int outputDividerCode = 0);
// The row of the output divider list that shows the code.
int OutputDividerRow(int code);

struct RefreshOutcome {
    bool boardLost = false;  // the LED is lit
};

class DeviceSettingsModel {
  public:
    // A block outside 0-3 keeps the construction value (block B).
    DeviceSettingsModel(Board &board, Prompts &prompts, Sleeper &sleeper, RegisterImage &image,
                        int blockIndex);

    const DeviceSettingsState &State() const { return state_; }

    // Takes the controls' values; a value outside its control's range (a list without a
    // selection, a position past its entries) keeps what the state held. Texts are not taken.
    void TakeControls(const DeviceSettingsState &controls);

    // Once per run: list positions from the image as the opener left it (test select 0, the
    // check boxes keep their construction values), then BuildRegisterImage.
    void Initialise();
    // Writes every field the dialog owns into the image by masking and refreshes the texts.
    void BuildRegisterImage();
    // Selections from the image, then BuildRegisterImage.
    void ShowRegisterImage();
    // Loop-filter word 0x2279E and its four list positions; the texts follow on the next build.
    void SetLoopFilterDefault();
    void UpdateFeedbackDividerText();
    // Rebuild, connection watch (port 0, reopening a lost board), frequency windows.
    RefreshOutcome Refresh();

    SequenceResult WriteSettingsToRam();
    SequenceResult ProgramEeprom();
    SequenceResult ProgramAndLockEeprom();
    SequenceResult UnlockEeprom();
    SequenceResult SendIdle();
    // The switches act on the check box's state as taken last.
    SequenceResult SwitchPower();
    SequenceResult SwitchTermination();
    SequenceResult SwitchOutputEnable();
    SequenceResult StartReadBackMode();
    SequenceResult SaveBlockRecord();

    // File buttons; false when the user cancelled or the file was not read or written. A failed
    // save is reported to the user; a failed load is not, and leaves the image as it was.
    bool SaveConfigToFile();
    bool LoadConfigFromFile();

    DeviceSettingsChoice Choice() const;
    // Twelve hexadecimal digits of the image, Byte0 first (what "copy image" puts on the
    // clipboard).
    std::string ImageDigits() const;

  private:
    void UpdateFrequencyWindows();
    // Rebuilds the image from the controls whenever a sequence asks for it.
    ImageBuilder Builder();

    Board &board_;
    BoardLink link_{board_};
    Prompts &prompts_;
    Sleeper &sleeper_;
    RegisterImage &image_;
    DeviceSettingsState state_;
};

}  // namespace velorin::core
