// CColorStatic: a label that draws its text in red over its parent's background.
#pragma once

#include <QLabel>

namespace velorin::gui {

class CColorStatic : public QLabel {
    Q_OBJECT
  public:
    explicit CColorStatic(QWidget *parent = nullptr);
    explicit CColorStatic(const QString &text, QWidget *parent = nullptr);

    static QColor TextColor() { return QColor(255, 0, 0); }

  protected:
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace velorin::gui
