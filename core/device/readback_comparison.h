// What the read-back dialog adds to the decoding: its rows (label, number, text), the
// comparison of the chip's EEPROM with the program's register image, and the text that
// "Copy" puts on the clipboard.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/device/readback.h"
#include "core/device/readback_decode.h"
#include "core/device/register_image.h"

namespace velorin::core {

enum class ReadBackSection { Ram, Eeprom, LoopFilter };

// One row of the dialog: a labelled number field, followed by its text field when it has one.
struct ReadBackRow {
    const char *label;
    std::string ReadBackTexts::*number;
    std::string ReadBackTexts::*text;  // nullptr: the number only
    ReadBackSection section;
    bool inImage;  // a register-image field, compared with the program's image
};
extern const std::array<ReadBackRow, 16> ReadBackRows;

struct ReadBackMismatch {
    const ReadBackRow *row;
    std::string programValue;  // the program's number and text, as "9 (77.0 pF)"
};

struct ReadBackComparison {
    std::vector<ReadBackMismatch> mismatches;  // in row order
    // Bits the dialog shows only in the raw string: test select, the spare bits, the override.
    bool hiddenBitsDiffer = false;
    std::string summary;  // one line
};

constexpr const char *kReadBackMatches = "EEPROM matches the program's settings";
constexpr const char *kReadBackNoAnswer = "The board did not answer; nothing compared.";

ReadBackComparison CompareWithProgram(const ReadBackFields &read, const RegisterImage &program);
// The same for a whole fetch. A fetch that failed holds zeros, not the chip's settings, so it
// is compared with nothing: no field is marked and the summary says that the board was silent.
ReadBackComparison CompareFetchWithProgram(const ReadBackFetch &fetch, bool invertBoxSet,
                                           const RegisterImage &program);

// The raw string and then every row as "label: number text", one per line.
std::string ReadBackCopyText(const ReadBackTexts &texts);

}  // namespace velorin::core
