// The "Output Calculator" and "Input Calculator" bars of the main frame. They only hold the
// controls; the main view runs the calculations on their requests. Their buttons stay greyed
// until the view takes them.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

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

    // What the view reads and shows; the widgets stay the bar's own.
    std::string InputFrequency() const;
    void SetInputFrequency(const std::string &text);
    // The calculator's list, its first line selected, and the text its field shows.
    void ShowOutputs(const std::vector<std::string> &lines, const std::string &fieldText);
    std::string ChosenOutput() const;
    void SetButtonsEnabled(bool enabled);

  signals:
    void calculateRequested();
    void applyRequested();

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

    std::string DesiredOutput() const;
    void SetRequiredInput(const std::string &text);
    void SetButtonsEnabled(bool enabled);

  signals:
    void calculateRequested();
    void applyRequested();

  private:
    QLineEdit *desired_;
    QPushButton *calculate_;
    QLineEdit *required_;
    QPushButton *apply_;
};

}  // namespace velorin::gui
