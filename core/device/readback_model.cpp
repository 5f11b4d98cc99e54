#include "core/device/readback_model.h"

#include <algorithm>

namespace velorin::core {

namespace {

// The EEPROM section's left column takes this many rows; the rest stand to the right, the
// loop filter one line lower, under its label.
constexpr int kLeftRows = 7;
constexpr int kRightColumn = 4;
constexpr int kRowColumns = 3;  // label, number, text

ReadBackLayout MakeLayout() {
    ReadBackLayout layout;
    int ramRows = 0, eepromRows = 0;
    int loopFilterLine = -1;
    for (const ReadBackRow &row : ReadBackRows) {
        ReadBackCell cell{ReadBackGroup::Ram, 0, 0};
        if (row.section == ReadBackSection::Ram) {
            cell.column = kRowColumns * ramRows++;
        } else {
            cell.group = ReadBackGroup::Eeprom;
            cell.line = eepromRows++;
            if (cell.line >= kLeftRows) {
                cell.line -= kLeftRows;
                cell.column = kRightColumn;
                if (row.section == ReadBackSection::LoopFilter) {
                    if (loopFilterLine < 0) loopFilterLine = cell.line;
                    ++cell.line;
                }
            }
        }
        if (cell.group == ReadBackGroup::Eeprom)
            layout.eepromLines = std::max(layout.eepromLines, cell.line + 1);
        layout.rows.push_back({&row, cell});
    }
    layout.loopFilterLabel = {ReadBackGroup::Eeprom, loopFilterLine, kRightColumn};
    layout.ramColumns = kRowColumns * ramRows;
    return layout;
}

}  // namespace

ReadBackModel::ReadBackModel(Board &board, int blockIndex, const RegisterImage &program)
    : board_(board), block_(blockIndex), program_(program) {}

const ReadBackLayout &ReadBackModel::Layout() {
    static const ReadBackLayout layout = MakeLayout();
    return layout;
}

const ReadBackTextField &ReadBackModel::FieldOf(ReadBackText text) {
    for (const ReadBackTextField &field : ReadBackTextFields) {
        if (field.text == text) return field;
    }
    return ReadBackTextFields.front();
}

std::string ReadBackModel::FieldName(ReadBackText text) {
    for (const ReadBackRow &row : ReadBackRows) {
        if (row.number == text) return row.label;
        if (row.text == text) return std::string(row.label) + " meaning";
    }
    return "Raw Data";
}

void ReadBackModel::Read(bool invertBoxSet) {
    const ReadBackFetch fetch = FetchReadBack(board_, block_);
    texts_ = DecodeReadBack(StreamBytes(fetch), invertBoxSet);
    comparison_ = CompareFetchWithProgram(fetch, invertBoxSet, program_);
}

ReadBackMark ReadBackModel::MarkOf(ReadBackText text) const {
    for (const ReadBackMismatch &mismatch : comparison_.mismatches) {
        if (text != mismatch.row->number && text != mismatch.row->text) continue;
        const std::string tip = "Program: " + mismatch.programValue;
        return {true, tip, "differs from the program; " + tip};
    }
    return {};
}

}  // namespace velorin::core
