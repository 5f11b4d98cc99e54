#include "gui/device/read_back_dlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/device/readback.h"
#include "core/ui/control_ids.h"
#include "gui/app/dialog_units.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

namespace {

constexpr int kNumberWidth = 18;  // dialog units
constexpr int kTextWidth = 48;

const core::ReadBackTextField &FieldOf(std::string core::ReadBackTexts::*text) {
    for (const core::ReadBackTextField &field : core::ReadBackTextFields) {
        if (field.text == text) return field;
    }
    return core::ReadBackTextFields.front();
}

// A field's name is the label of its row; a text field is that number's meaning.
QString FieldName(std::string core::ReadBackTexts::*text) {
    for (const core::ReadBackRow &row : core::ReadBackRows) {
        if (row.number == text) return row.label;
        if (row.text == text) return QString(row.label) + " meaning";
    }
    return "Raw Data";
}

QPushButton *Button(QWidget *parent, const QString &text, const char *name, int id) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    SetControlId(button, id);
    return button;
}

}  // namespace

ReadBackDlg::ReadBackDlg(const ProgramServices &services, int blockIndex, QWidget *parent)
    : QDialog(parent), services_(services), block_(blockIndex) {
    setObjectName("readBackDialog");
    setWindowTitle("Device read back");
    SetControlId(this, ids::kReadBackDialog);
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);

    auto *layout = new QGridLayout(this);
    auto *rawLabel = new QLabel("Raw Data", this);
    QLineEdit *raw = AddField(&core::ReadBackTexts::raw, 0);
    rawLabel->setBuddy(raw);
    layout->addWidget(rawLabel, 0, 0);
    layout->addWidget(raw, 0, 1, 1, 2);

    // The rows of each section: a label, the number and its text when it has one. The EEPROM
    // section has two columns; the right one ends with the loop filter under its label.
    QGroupBox *ram = new QGroupBox("RAM section", this);
    QGroupBox *eeprom = new QGroupBox("EEPROM section", this);
    auto *ramGrid = new QGridLayout(ram);
    auto *eepromGrid = new QGridLayout(eeprom);
    for (QGridLayout *grid : {ramGrid, eepromGrid}) {
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(2);
    }
    constexpr int kLeftRows = 7;
    int ramRow = 0, eepromRow = 0;
    for (const core::ReadBackRow &row : core::ReadBackRows) {
        const bool inRam = row.section == core::ReadBackSection::Ram;
        QWidget *owner = inRam ? ram : eeprom;
        QGridLayout *grid = inRam ? ramGrid : eepromGrid;
        int line = inRam ? 0 : eepromRow++;
        int column = inRam ? 3 * ramRow++ : 0;
        if (!inRam && line >= kLeftRows) {
            if (row.section == core::ReadBackSection::LoopFilter) ++line;  // under the label
            line -= kLeftRows;
            column = 4;
        }
        auto *label = new QLabel(row.label, owner);
        QLineEdit *number = AddField(row.number, kNumberWidth);
        label->setBuddy(number);
        grid->addWidget(label, line, column);
        grid->addWidget(number, line, column + 1);
        if (row.text != nullptr) grid->addWidget(AddField(row.text, kTextWidth), line, column + 2);
    }
    eepromGrid->addWidget(new QLabel("Loop filter settings", eeprom), 2, 4, 1, 3);
    eepromGrid->setColumnMinimumWidth(3, DialogUnitsToPixels(font, 6, 0).width());
    eepromGrid->setRowStretch(kLeftRows + 1, 1);
    ramGrid->setColumnMinimumWidth(2, DialogUnitsToPixels(font, 6, 0).width());
    ramGrid->setColumnStretch(3 * ramRow, 1);

    invertBox_ = new QCheckBox("Invert Data Bits", this);
    invertBox_->setObjectName("invertDataBitsCheck");
    SetControlId(invertBox_, ids::read_back::kInvertDataBitsCheck);
    connect(invertBox_, &QCheckBox::clicked, this, &ReadBackDlg::ReadAndShow);

    QPushButton *readBack =
        Button(this, "Read back", "readBackButton", ids::read_back::kReadBackButton);
    readBack->setDefault(true);
    connect(readBack, &QPushButton::clicked, this, &ReadBackDlg::ReadAndShow);
    QPushButton *copy = Button(this, "Copy", "copyButton", ids::read_back::kCopyButton);
    copy->setToolTip("Put the raw data and every decoded field on the clipboard");
    connect(copy, &QPushButton::clicked, this, &ReadBackDlg::CopyToClipboard);
    QPushButton *close =
        Button(this, "Close Window", "closeWindowButton", ids::read_back::kCloseWindowButton);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    layout->addWidget(ram, 1, 0, 1, 2);
    layout->addWidget(invertBox_, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(eeprom, 2, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(readBack);
    buttons->addWidget(copy);
    buttons->addWidget(close);
    layout->addLayout(buttons, 4, 2);

    // A line of its own across the dialog, wrapped: naming every field that differs takes
    // three lines at most.
    summary_ = new QLabel(this);
    summary_->setObjectName("comparisonSummary");
    summary_->setAccessibleDescription(
        "Comparison of the chip's EEPROM with the program's settings");
    SetControlId(summary_, ids::read_back::kSummary);
    summary_->setWordWrap(true);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setMinimumHeight(3 * summary_->fontMetrics().lineSpacing());
    layout->addWidget(summary_, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    FixDialogSize(*this, 413, 217);
    ReadAndShow();
}

QLineEdit *ReadBackDlg::AddField(std::string core::ReadBackTexts::*text, int widthUnits) {
    const core::ReadBackTextField &field = FieldOf(text);
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString(field.key) + "Edit");
    edit->setAccessibleName(FieldName(text));
    edit->setReadOnly(true);
    SetControlId(edit, field.controlId);
    if (widthUnits > 0) edit->setFixedWidth(DialogUnitsToPixels(font(), widthUnits, 0).width());
    fields_.emplace_back(text, edit);
    return edit;
}

void ReadBackDlg::ReadAndShow() {
    invert_ = invertBox_->isChecked();
    const core::ReadBackFetch fetch = core::FetchReadBack(services_.board, block_);
    texts_ = core::DecodeReadBack(core::StreamBytes(fetch), invert_);
    comparison_ = core::CompareFetchWithProgram(fetch, invert_, services_.image);
    ShowTexts();
}

void ReadBackDlg::ShowTexts() {
    for (const auto &[text, edit] : fields_) {
        edit->setText(QString::fromStdString(texts_.*text));
        edit->setProperty("differsFromProgram", false);
        edit->setToolTip(QString());
        edit->setAccessibleDescription(QString());
        edit->setStyleSheet(QString());
    }
    for (const core::ReadBackMismatch &mismatch : comparison_.mismatches) {
        const QString tip = "Program: " + QString::fromStdString(mismatch.programValue);
        for (const auto &[text, edit] : fields_) {
            if (text != mismatch.row->number && text != mismatch.row->text) continue;
            edit->setProperty("differsFromProgram", true);
            edit->setToolTip(tip);
            edit->setAccessibleDescription("differs from the program; " + tip);
            edit->setStyleSheet("QLineEdit { background: #ffd0d0; }");
        }
    }
    summary_->setText(QString::fromStdString(comparison_.summary));
    summary_->setToolTip(summary_->text());
}

void ReadBackDlg::CopyToClipboard() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(core::ReadBackCopyText(texts_)));
}

}  // namespace velorin::gui
