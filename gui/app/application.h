// CQVVelorinCtrlGuiApp: the program's start-up and the commands of the application and the
// document (New, Open, Save, Save As, recent files, dropped files, About, driver install).
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "core/base/prompts.h"
#include "core/base/thread_sleeper.h"
#include "core/device/library_board.h"
#include "core/trace/tracing_board.h"
#include "core/trace/traffic_log.h"
#include "gui/app/program_services.h"
#include "gui/app/recent_file_list.h"

namespace velorin::gui {

class CMainFrame;
class CQVVelorinCtrlGuiDoc;

class CQVVelorinCtrlGuiApp : public QObject {
    Q_OBJECT
  public:
    // Library messages go to prompts from here on.
    explicit CQVVelorinCtrlGuiApp(core::Prompts &prompts, QObject *parent = nullptr);
    ~CQVVelorinCtrlGuiApp() override;

    // Builds the main view inside the frame when the frame is made.
    using ViewFactory = std::function<QWidget *(CMainFrame &, const ProgramServices &)>;
    void SetViewFactory(ViewFactory factory);

    // The board, prompts, clock and register image that the view and the dialogs work with.
    const ProgramServices &Services() const { return services_; }
    // Every board call the program has made, for the traffic window.
    core::TrafficLog &Traffic() { return traffic_; }

    // The start-up steps in their order; arguments are the program's, its name first.
    // False when the main window could not be made.
    bool InitInstance(const QStringList &arguments);

    const std::string &ApplicationDirectory() const { return applicationDirectory_; }
    CMainFrame *MainFrame() const { return frame_.get(); }
    CQVVelorinCtrlGuiDoc *Document() const { return document_.get(); }
    const RecentFileList &RecentFiles() const { return recentFiles_; }
    // The start-up steps taken, by name, in order.

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnOpenRecentFile(const QString &path);
    void OpenDocumentFile(const QString &path);
    void OnAppAbout();
    void OnForceDriverInstall();
    // Command 32802: choose an image file and download it in CFirmDnlDlg.
    void OnDownloadFirmware();

    static core::FileRequest DocumentFileRequest(const QString &initialName);

  signals:
    // A new or opened document: the main view runs its initial update again.
    void documentReset();

  private:
    void SaveTo(const QString &path);
    void ShowDocumentState();

    core::Prompts &prompts_;
    core::LibraryBoard board_;
    core::TrafficLog traffic_;
    core::TracingBoard tracingBoard_{board_, traffic_};
    core::ThreadSleeper sleeper_;
    ProgramServices services_;
    std::string applicationDirectory_;
    RecentFileList recentFiles_;
    ViewFactory viewFactory_;
    std::unique_ptr<CQVVelorinCtrlGuiDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace velorin::gui
