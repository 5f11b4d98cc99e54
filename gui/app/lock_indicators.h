// The CAP, NUM and SCRL panes of the status bar. Qt does not report lock-key states, so the
// panes follow the lock keys as they are pressed while the program runs, and, on X11, the
// lock bits that come with every key event.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace velorin::gui {

class LockIndicators : public QObject {
    Q_OBJECT
  public:
    // Adds the three panes to the right end of the status bar.
    explicit LockIndicators(QStatusBar &statusBar);

    bool CapsLock() const { return caps_; }
    bool NumLock() const { return num_; }
    bool ScrollLock() const { return scroll_; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void Show();

    QLabel *capsPane_;
    QLabel *numPane_;
    QLabel *scrollPane_;
    bool caps_ = false;
    bool num_ = false;
    bool scroll_ = false;
};

}  // namespace velorin::gui
