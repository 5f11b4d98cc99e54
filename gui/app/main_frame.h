// CMainFrame: the fixed-size main window with its menus, tool bar, the two calculator bars,
// the status bar and the place where the main view sits.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QStringList>
#include <functional>

#include "core/base/prompts.h"
#include "core/device/register_image.h"

class QLabel;
class QMenu;
class QScrollArea;
class QToolBar;

namespace velorin::gui {

class CInputCalculatorBar;
class COutputCalculatorBar;
class LockIndicators;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget *parent = nullptr);

    // The command of a menu item or tool bar button by its id; nullptr for an unknown id.
    QAction *Command(int id) const { return commands_.value(id, nullptr); }

    // Title: the window-title text, " - ", the document name.
    void SetDocumentName(const QString &name);

    // Puts the main view in the frame's client area and fits the window around it.
    void SetView(QWidget *view);
    QWidget *View() const;
    // Hands the view back to its owner, who takes it down; the frame keeps an empty area.
    QWidget *TakeView();

    // Commands that the main view carries are greyed until it connects a handler.
    void ConnectViewCommand(int id, const std::function<void()> &handler);
    // File > Export Settings...: the image in a file of the chosen type, for the view's block.
    void ConnectExportSettings(core::Prompts &prompts, const core::RegisterImage &image,
                               const std::function<int()> &block);

    // The status bar's message pane: the text, or "Ready" when it is empty.
    void SetMessagePaneText(const QString &text);

    // Entries of File's recent-file list, newest first.
    void SetRecentFiles(const QStringList &paths);
    QStringList RecentFiles() const { return recentFiles_; }

    COutputCalculatorBar *OutputCalculator() const { return outputCalculator_; }
    CInputCalculatorBar *InputCalculator() const { return inputCalculator_; }
    QToolBar *ToolBar() const { return toolBar_; }
    LockIndicators *Indicators() const { return indicators_; }

    // The window has no sizing border: it takes the size of what it shows, after a bar or a
    // docked window is shown or hidden. On a screen whose work area is smaller than that, the
    // window takes the work area and the view scrolls inside it. Returns the size the window
    // takes on a screen large enough.
    QSize FitToContents();

  signals:
    void newRequested();
    void openRequested();
    void saveRequested();
    void saveAsRequested();
    void recentFileRequested(const QString &path);
    void aboutRequested();
    void firmwareDownloadRequested();
    void driverInstallRequested();
    void filesDropped(const QStringList &paths);

  protected:
    // The bars are shown and hidden through the View menu only, so its check marks stay true.
    QMenu *createPopupMenu() override { return nullptr; }
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

  private:
    QAction *AddCommand(int id, const QString &text, const QString &tip = QString());
    QSize WholeSize();
    void BuildCommands();
    void BuildMenus();
    void BuildToolBar();
    void BuildCalculatorBars();
    void BuildStatusBar();

    QScrollArea *scroller_ = nullptr;
    QMap<int, QAction *> commands_;
    QMenu *fileMenu_ = nullptr;
    QAction *recentLast_ = nullptr;  // the separator after the recent-file entries
    QList<QAction *> recentEntries_;
    QStringList recentFiles_;
    QToolBar *toolBar_ = nullptr;
    COutputCalculatorBar *outputCalculator_ = nullptr;
    CInputCalculatorBar *inputCalculator_ = nullptr;
    LockIndicators *indicators_ = nullptr;
    QLabel *messagePane_ = nullptr;
};

}  // namespace velorin::gui
