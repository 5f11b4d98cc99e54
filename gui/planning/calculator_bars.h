// The "Output Calculator" and "Input Calculator" bars of the main frame. They only hold the
// controls; the main view runs the calculations when their buttons are pressed.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace velorin::gui {

class COutputCalculatorBar : public QWidget {
    Q_OBJECT
  public:
    explicit COutputCalculatorBar(QWidget *parent = nullptr);

    QLineEdit *InputFrequencyEdit() const { return input_; }
    QPushButton *CalculateButton() const { return calculate_; }
    QComboBox *PossibleOutputsCombo() const { return outputs_; }
    QPushButton *ApplyButton() const { return apply_; }

  private:
    QLineEdit *input_;
    QPushButton *calculate_;
    QComboBox *outputs_;
    QPushButton *apply_;
};

class CInputCalculatorBar : public QWidget {
    Q_OBJECT
  public:
    explicit CInputCalculatorBar(QWidget *parent = nullptr);

    QLineEdit *DesiredOutputEdit() const { return desired_; }
    QPushButton *CalculateButton() const { return calculate_; }
    QLineEdit *RequiredInputEdit() const { return required_; }
    QPushButton *ApplyButton() const { return apply_; }

  private:
    QLineEdit *desired_;
    QPushButton *calculate_;
    QLineEdit *required_;
    QPushButton *apply_;
};

}  // namespace velorin::gui
