// CBoardTrafficDock: the "Board Traffic" window under the main view, listing every library
// call the program makes as the core's traffic log holds it, with its filters, Pause, Clear,
// Save... and Copy. Its place and visibility are kept in the settings.
#pragma once

#include <QDockWidget>
#include <QTimer>

#include "core/base/prompts.h"
#include "core/trace/traffic_log.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace velorin::gui {

class CMainFrame;
class TrafficTableModel;

class CBoardTrafficDock : public QDockWidget {
    Q_OBJECT
  public:
    CBoardTrafficDock(core::TrafficLog &log, core::Prompts &prompts, QWidget *parent = nullptr);
    ~CBoardTrafficDock() override;

    // Takes the calls made since the last batch into the table (the timer does this ten times
    // a second while the window is shown).
    void Sync();
    void OnSave();
    void OnCopy();
    void OnClear();

    TrafficTableModel &Model() const { return *model_; }
    QTableView &Table() const { return *table_; }

  private:
    void BuildContents();
    void ApplyFilter();
    void ShowStatus();
    void SaveSettings() const;

    core::TrafficLog &log_;
    core::Prompts &prompts_;
    TrafficTableModel *model_ = nullptr;
    QTableView *table_ = nullptr;
    QCheckBox *hidePoll_ = nullptr;
    QComboBox *block_ = nullptr;
    QCheckBox *failuresOnly_ = nullptr;
    QPushButton *pause_ = nullptr;
    QLabel *status_ = nullptr;
    QTimer timer_;
};

// Puts the window under the frame's main view, hidden unless the settings say otherwise, and
// "Board Traffic" into the View menu; the fixed-size frame is fitted around it as it is shown,
// hidden, floated or docked.
CBoardTrafficDock *InstallBoardTrafficDock(CMainFrame &frame, core::TrafficLog &log,
                                           core::Prompts &prompts);

}  // namespace velorin::gui
