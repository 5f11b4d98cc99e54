#include "gui/planning/calculator_bars.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/ui/control_ids.h"
#include "gui/widgets/control_id.h"

namespace velorin::gui {

namespace {

template <typename Widget>
Widget *Named(Widget *widget, const char *name, int id) {
    widget->setObjectName(name);
    SetControlId(widget, id);
    return widget;
}

QLineEdit *FrequencyEdit(QWidget *parent, const char *name, int id) {
    auto *edit = Named(new QLineEdit(parent), name, id);
    edit->setFixedWidth(90);
    return edit;
}

// The label a field stands beside names it, with the unit that follows the field.
QLabel *Caption(QWidget *parent, const char *text, QWidget *field, const char *name,
                const char *meaning) {
    auto *label = new QLabel(text, parent);
    label->setBuddy(field);
    field->setAccessibleName(name);
    field->setAccessibleDescription(meaning);
    field->setToolTip(meaning);
    return label;
}

}  // namespace

COutputCalculatorBar::COutputCalculatorBar(QWidget *parent) : QWidget(parent) {
    setObjectName("outputCalculatorBar");
    SetControlId(this, ids::kOutputCalculatorBar);
    input_ = FrequencyEdit(this, "inputFrequencyEdit", ids::calculator_bar::kInputFrequencyEdit);
    calculate_ = Named(new QPushButton("Calculate -->", this), "calculateOutputsButton",
                       ids::calculator_bar::kCalculateOutputsButton);
    outputs_ = Named(new QComboBox(this), "possibleOutputsCombo",
                     ids::calculator_bar::kPossibleOutputsCombo);
    outputs_->setEditable(true);
    outputs_->setMinimumContentsLength(34);
    outputs_->setInsertPolicy(QComboBox::NoInsert);
    // The text part of the list is a field of its own for assistive technology.
    outputs_->lineEdit()->setAccessibleName("Possible outputs");
    apply_ = Named(new QPushButton("Apply", this), "applyOutputButton",
                   ids::calculator_bar::kApplyOutputButton);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(Caption(this, "Input Frequency ", input_, "Input Frequency (MHz)",
                              "The input frequency whose possible outputs Calculate lists"));
    layout->addWidget(input_);
    layout->addWidget(new QLabel("MHz", this));
    layout->addWidget(calculate_);
    layout->addWidget(Caption(this, "Possible outputs", outputs_, "Possible outputs",
                              "The outputs the plan table makes from the input; Apply sets the "
                              "chosen one"));
    layout->addWidget(outputs_);
    layout->addWidget(apply_);
    layout->addStretch();
    connect(calculate_, &QPushButton::clicked, this, &COutputCalculatorBar::calculateRequested);
    connect(apply_, &QPushButton::clicked, this, &COutputCalculatorBar::applyRequested);
    SetButtonsEnabled(false);
}

CInputCalculatorBar::CInputCalculatorBar(QWidget *parent) : QWidget(parent) {
    setObjectName("inputCalculatorBar");
    SetControlId(this, ids::kInputCalculatorBar);
    desired_ = FrequencyEdit(this, "desiredOutputEdit", ids::calculator_bar::kDesiredOutputEdit);
    calculate_ = Named(new QPushButton("<-- Calculate", this), "calculateInputButton",
                       ids::calculator_bar::kCalculateInputButton);
    required_ = FrequencyEdit(this, "requiredInputEdit", ids::calculator_bar::kRequiredInputEdit);
    required_->setEnabled(false);
    apply_ = Named(new QPushButton("Apply", this), "applyInputButton",
                   ids::calculator_bar::kApplyInputButton);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(Caption(this, "Required Input Frequency ", required_,
                              "Required Input Frequency (MHz)",
                              "The input that Calculate found for the desired output"));
    layout->addWidget(required_);
    layout->addWidget(calculate_);
    layout->addWidget(Caption(this, "Desired Output Frequency", desired_,
                              "Desired Output Frequency (MHz)",
                              "The output frequency whose required input Calculate finds"));
    layout->addWidget(desired_);
    layout->addWidget(new QLabel("MHz", this));
    layout->addWidget(apply_);
    layout->addStretch();
    connect(calculate_, &QPushButton::clicked, this, &CInputCalculatorBar::calculateRequested);
    connect(apply_, &QPushButton::clicked, this, &CInputCalculatorBar::applyRequested);
    SetButtonsEnabled(false);
}

void COutputCalculatorBar::SetButtonsEnabled(bool enabled) {
    calculate_->setEnabled(enabled);
    apply_->setEnabled(enabled);
}

void CInputCalculatorBar::SetButtonsEnabled(bool enabled) {
    calculate_->setEnabled(enabled);
    apply_->setEnabled(enabled);
}

std::string COutputCalculatorBar::InputFrequency() const {
    return input_->text().toStdString();
}

void COutputCalculatorBar::SetInputFrequency(const std::string &text) {
    input_->setText(QString::fromStdString(text));
}

void COutputCalculatorBar::ShowOutputs(const std::vector<std::string> &lines,
                                       const std::string &fieldText) {
    outputs_->clear();
    for (const std::string &line : lines) outputs_->addItem(QString::fromStdString(line));
    if (!lines.empty()) outputs_->setCurrentIndex(0);
    outputs_->setEditText(QString::fromStdString(fieldText));
}

std::string COutputCalculatorBar::ChosenOutput() const {
    return outputs_->currentText().toStdString();
}

std::string CInputCalculatorBar::DesiredOutput() const {
    return desired_->text().toStdString();
}

void CInputCalculatorBar::SetRequiredInput(const std::string &text) {
    required_->setText(QString::fromStdString(text));
}

}  // namespace velorin::gui
