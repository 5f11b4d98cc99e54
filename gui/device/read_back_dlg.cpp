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
#include <QStyle>
#include <algorithm>
#include <set>

#include "core/device/readback_decode.h"
#include "core/ui/control_ids.h"
#include "gui/app/dialog_units.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

namespace {

constexpr int kNumberWidth = 18;  // dialog units
constexpr int kTextWidth = 48;

// The widest text each field of the dialog can show, in pixels of the given font, in the
// order of ReadBackTextFields: every code of the fields that lie within a byte, the other
// bytes all zeros or all ones, and the raw stream (always as long).
std::vector<int> WidestTexts(const QFontMetrics &metrics) {
    // Each field shows few different texts: they are gathered first and measured once each.
    std::vector<std::set<std::string>> shown(core::ReadBackTextFields.size());
    const auto take = [&](const core::ReadBackTexts &texts) {
        for (size_t i = 0; i < shown.size(); ++i) {
            shown[i].insert(texts.*core::ReadBackTextFields[i].text);
        }
    };
    take(core::DecodeReadBack(core::ReadBackBytes{}, false));
    core::ReadBackFields fields;
    for (const uint8_t background : {uint8_t{0x00}, uint8_t{0xFF}}) {
        for (size_t byte = 0; byte < fields.image.bytes.size(); ++byte) {
            for (int value = 0; value < 256; ++value) {
                fields.image.bytes.fill(background);
                fields.image.bytes[byte] = static_cast<uint8_t>(value);
                fields.deviceRevision = value & 0x07;
                fields.ramVcoCalWord = value & 0x3F;
                fields.eepromStatus = value & 1;
                fields.eepromLock = (value >> 1) & 1;
                take(core::FormatReadBackFields(fields));
            }
        }
    }
    std::vector<int> widest(shown.size(), 0);
    for (size_t i = 0; i < shown.size(); ++i) {
        for (const std::string &text : shown[i]) {
            widest[i] =
                std::max(widest[i], metrics.horizontalAdvance(QString::fromStdString(text)));
        }
    }
    return widest;
}

QPushButton *Button(QWidget *parent, const QString &text, const char *name, int id) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    SetControlId(button, id);
    return button;
}

}  // namespace

ReadBackDlg::ReadBackDlg(const ProgramServices &services, int blockIndex, QWidget *parent)
    : QDialog(parent), model_(services.board, blockIndex, services.image) {
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

    QGroupBox *ram = new QGroupBox("RAM section", this);
    QGroupBox *eeprom = new QGroupBox("EEPROM section", this);
    auto *ramGrid = new QGridLayout(ram);
    auto *eepromGrid = new QGridLayout(eeprom);
    for (QGridLayout *grid : {ramGrid, eepromGrid}) {
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(2);
    }
    const core::ReadBackLayout &placement = core::ReadBackModel::Layout();
    for (const core::ReadBackPlacedRow &placed : placement.rows) {
        const bool inRam = placed.label.group == core::ReadBackGroup::Ram;
        QWidget *owner = inRam ? ram : eeprom;
        QGridLayout *grid = inRam ? ramGrid : eepromGrid;
        const int line = placed.label.line, column = placed.label.column;
        auto *label = new QLabel(placed.row->label, owner);
        QLineEdit *number = AddField(placed.row->number, kNumberWidth);
        label->setBuddy(number);
        grid->addWidget(label, line, column);
        grid->addWidget(number, line, column + 1);
        if (placed.row->text != nullptr)
            grid->addWidget(AddField(placed.row->text, kTextWidth), line, column + 2);
    }
    eepromGrid->addWidget(new QLabel("Loop filter settings", eeprom),
                          placement.loopFilterLabel.line, placement.loopFilterLabel.column, 1, 3);
    eepromGrid->setColumnMinimumWidth(3, DialogUnitsToPixels(font, 6, 0).width());
    eepromGrid->setRowStretch(placement.eepromLines, 1);
    ramGrid->setColumnMinimumWidth(2, DialogUnitsToPixels(font, 6, 0).width());
    ramGrid->setColumnStretch(placement.ramColumns, 1);

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

QLineEdit *ReadBackDlg::AddField(core::ReadBackText text, int widthUnits) {
    const core::ReadBackTextField &field = core::ReadBackModel::FieldOf(text);
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString(field.key) + "Edit");
    edit->setAccessibleName(QString::fromStdString(core::ReadBackModel::FieldName(text)));
    edit->setReadOnly(true);
    SetControlId(edit, field.controlId);
    // The template's width, or what the field's longest text needs if that is more: the frame,
    // the edit's two-pixel margins and its cursor beside the text.
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    if (widestTexts_.empty()) widestTexts_ = WidestTexts(edit->fontMetrics());
    const auto at = std::find_if(core::ReadBackTextFields.begin(), core::ReadBackTextFields.end(),
                                 [text](const auto &f) { return f.text == text; });
    const int widest =
        at == core::ReadBackTextFields.end()
            ? 0
            : widestTexts_[static_cast<size_t>(at - core::ReadBackTextFields.begin())];
    const int needed = widest + 2 * frame + 2 * 2 + 2;
    if (widthUnits > 0) {
        edit->setFixedWidth(std::max(DialogUnitsToPixels(font(), widthUnits, 0).width(), needed));
    } else {
        edit->setMinimumWidth(needed);
    }
    fields_.emplace_back(text, edit);
    return edit;
}

void ReadBackDlg::ReadAndShow() {
    model_.Read(invertBox_->isChecked());
    ShowTexts();
}

void ReadBackDlg::ShowTexts() {
    const core::ReadBackTexts &texts = model_.Texts();
    for (const auto &[text, edit] : fields_) {
        const core::ReadBackMark mark = model_.MarkOf(text);
        edit->setText(QString::fromStdString(texts.*text));
        // A value is read from its start: a field that could not show it all would scroll.
        edit->setCursorPosition(0);
        edit->setProperty("differsFromProgram", mark.differs);
        edit->setToolTip(QString::fromStdString(mark.toolTip));
        edit->setAccessibleDescription(QString::fromStdString(mark.description));
        edit->setStyleSheet(mark.differs ? "QLineEdit { background: #ffd0d0; }" : "");
    }
    summary_->setText(QString::fromStdString(model_.Summary()));
    summary_->setToolTip(summary_->text());
}

void ReadBackDlg::CopyToClipboard() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(model_.CopyText()));
}

}  // namespace velorin::gui
