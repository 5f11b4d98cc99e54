// The read-back dialog without its widgets: where each row stands, what each field is called,
// one read of the block's chip with or without the complement, which fields then differ from
// the program's register image, the summary and the copied text. The dialog builds its fields
// from Layout(), calls Read() and shows Texts(), MarkOf() and Summary().
#pragma once

#include <string>
#include <vector>

#include "core/device/board.h"
#include "core/device/readback.h"
#include "core/device/readback_comparison.h"
#include "core/device/register_image.h"

namespace velorin::core {

using ReadBackText = std::string ReadBackTexts::*;

enum class ReadBackGroup { Ram, Eeprom };

// A grid cell of a group. A row's label stands in it, its number one column to the right and
// its text, when it has one, one further.
struct ReadBackCell {
    ReadBackGroup group;
    int line;
    int column;
    bool operator==(const ReadBackCell &) const = default;
};

struct ReadBackPlacedRow {
    const ReadBackRow *row;
    ReadBackCell label;
};

struct ReadBackLayout {
    std::vector<ReadBackPlacedRow> rows;  // in ReadBackRows order
    ReadBackCell loopFilterLabel;         // "Loop filter settings", above the loop-filter rows
    int ramColumns = 0;                   // grid columns the RAM rows take
    int eepromLines = 0;                  // lines of the taller EEPROM column
};

// How a field shows its comparison: marked fields carry the program's value.
struct ReadBackMark {
    bool differs = false;
    std::string toolTip;      // "Program: 9 (77.0 pF)"
    std::string description;  // for assistive technology
};

class ReadBackModel {
  public:
    // Reads nothing yet; nothing is ever written to the chip or the image.
    ReadBackModel(Board &board, int blockIndex, const RegisterImage &program);

    static const ReadBackLayout &Layout();
    // The machine name and control of a text; the raw string's for a member not in the table.
    static const ReadBackTextField &FieldOf(ReadBackText text);
    // A number is named by its row's label, a text as "<label> meaning".
    static std::string FieldName(ReadBackText text);

    // Identity, read-back command, fetch and decoding; the comparison only when every call
    // succeeded.
    void Read(bool invertBoxSet);

    const ReadBackTexts &Texts() const { return texts_; }
    ReadBackMark MarkOf(ReadBackText text) const;
    const std::string &Summary() const { return comparison_.summary; }
    std::string CopyText() const { return ReadBackCopyText(texts_); }

  private:
    Board &board_;
    int block_;
    const RegisterImage &program_;
    ReadBackTexts texts_;
    ReadBackComparison comparison_;
};

}  // namespace velorin::core
