// CAboutDlg: the program's icon, name and version, and an OK button.
#pragma once

#include <QDialog>

namespace velorin::gui {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

}  // namespace velorin::gui
