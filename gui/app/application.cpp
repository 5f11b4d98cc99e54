#include "gui/app/application.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "core/app/firmware_download.h"
#include "core/base/program_names.h"
#include "core/device/configuration_file.h"
#include "core/device/register_image.h"
#include "gui/app/about_dlg.h"
#include "gui/app/document.h"
#include "gui/app/firm_dnl_dlg.h"
#include "gui/app/library_messages.h"
#include "gui/app/main_frame.h"
#include "gui/trace/board_traffic_dock.h"
#include "velorin.h"

namespace velorin::gui {

CQVVelorinCtrlGuiApp::CQVVelorinCtrlGuiApp(core::Prompts &prompts, QObject *parent)
    : QObject(parent),
      prompts_(prompts),
      services_{tracingBoard_, prompts_, sleeper_, core::ProgramRegisterImage()},
      recentFiles_(core::kSettingsOrganisation, core::kApplicationName, core::kRecentFileCount) {
    RouteLibraryMessagesTo(&prompts_);
}

CQVVelorinCtrlGuiApp::~CQVVelorinCtrlGuiApp() {
    frame_.reset();
    RouteLibraryMessagesTo(nullptr);
}

void CQVVelorinCtrlGuiApp::SetViewFactory(ViewFactory factory) {
    viewFactory_ = std::move(factory);
}

bool CQVVelorinCtrlGuiApp::InitInstance(const QStringList &arguments) {
    // 1. The folder the program was started from; the driver packages are looked for there.
    std::error_code error;
    applicationDirectory_ = std::filesystem::current_path(error).string();

    // 2. The board, or its driver when the board cannot be opened. The poll of the main view
    //    reconnects later; the result of the installation is the library's to tell.
    if (!services_.board.Open()) {
        Velorin_ForceInstall(applicationDirectory_.c_str());
    }

    // 3. The recent-file list.
    recentFiles_.Load();

    // 4. Document, frame and view.
    document_ = std::make_unique<CQVVelorinCtrlGuiDoc>(core::ProgramRegisterImage());
    frame_ = std::make_unique<CMainFrame>();
    if (viewFactory_) {
        if (QWidget *view = viewFactory_(*frame_, services_)) frame_->SetView(view);
    }
    connect(document_.get(), &CQVVelorinCtrlGuiDoc::titleChanged, frame_.get(),
            &CMainFrame::SetDocumentName);
    connect(frame_.get(), &CMainFrame::newRequested, this, &CQVVelorinCtrlGuiApp::OnFileNew);
    connect(frame_.get(), &CMainFrame::openRequested, this, &CQVVelorinCtrlGuiApp::OnFileOpen);
    connect(frame_.get(), &CMainFrame::saveRequested, this, &CQVVelorinCtrlGuiApp::OnFileSave);
    connect(frame_.get(), &CMainFrame::saveAsRequested, this, &CQVVelorinCtrlGuiApp::OnFileSaveAs);
    connect(frame_.get(), &CMainFrame::recentFileRequested, this,
            &CQVVelorinCtrlGuiApp::OnOpenRecentFile);
    connect(frame_.get(), &CMainFrame::aboutRequested, this, &CQVVelorinCtrlGuiApp::OnAppAbout);
    connect(frame_.get(), &CMainFrame::driverInstallRequested, this,
            &CQVVelorinCtrlGuiApp::OnForceDriverInstall);
    connect(frame_.get(), &CMainFrame::firmwareDownloadRequested, this,
            &CQVVelorinCtrlGuiApp::OnDownloadFirmware);
    connect(frame_.get(), &CMainFrame::filesDropped, this, [this](const QStringList &paths) {
        for (const QString &path : paths) OpenDocumentFile(path);
    });
    frame_->SetRecentFiles(recentFiles_.Files());
    InstallBoardTrafficDock(*frame_, traffic_, prompts_);

    // 5. The command line: a file name opens that file, nothing makes a new document.
    QString file;
    for (int i = 1; i < arguments.size() && file.isEmpty(); ++i) {
        if (!arguments[i].startsWith('-')) file = arguments[i];
    }
    if (file.isEmpty()) {
        OnFileNew();
    } else {
        OpenDocumentFile(file);
    }

    // 6. The window, painted at once; dropped files are opened from here on.
    frame_->show();
    frame_->repaint();
    return true;
}

core::FileRequest CQVVelorinCtrlGuiApp::DocumentFileRequest(const QString &initialName) {
    core::FileRequest request;
    request.filters = {
        {core::kConfigDocumentFilter, std::string("*") + core::kConfigDocumentExtension},
        {core::kAllFilesLabel, "*"}};
    request.defaultExtension = core::kConfigDocumentExtension + 1;  // without the dot
    request.initialName = initialName.toStdString();
    return request;
}

void CQVVelorinCtrlGuiApp::ShowDocumentState() {
    frame_->SetDocumentName(document_->Title());
    frame_->SetRecentFiles(recentFiles_.Files());
}

void CQVVelorinCtrlGuiApp::OnFileNew() {
    document_->OnNewDocument();
    ShowDocumentState();
    emit documentReset();
}

void CQVVelorinCtrlGuiApp::OnFileOpen() {
    const auto path = prompts_.ChooseFileToOpen(DocumentFileRequest(QString()));
    if (path) OpenDocumentFile(QString::fromStdString(*path));
}

void CQVVelorinCtrlGuiApp::OpenDocumentFile(const QString &path) {
    document_->OnOpenDocument(path);
    recentFiles_.Add(document_->PathName());
    ShowDocumentState();
    emit documentReset();
}

void CQVVelorinCtrlGuiApp::OnOpenRecentFile(const QString &path) {
    if (!QFileInfo::exists(path)) {
        // A file that has gone away leaves the list rather than opening as an empty document.
        prompts_.Tell("The file\n" + path.toStdString() +
                      "\nno longer exists and is taken off the recent-file list.");
        recentFiles_.Remove(path);
        frame_->SetRecentFiles(recentFiles_.Files());
        return;
    }
    OpenDocumentFile(path);
}

void CQVVelorinCtrlGuiApp::OnFileSave() {
    if (document_->PathName().isEmpty()) {
        OnFileSaveAs();
        return;
    }
    SaveTo(document_->PathName());
}

void CQVVelorinCtrlGuiApp::OnFileSaveAs() {
    // A document without a file suggests its title with the document extension.
    QString suggestion = document_->PathName().isEmpty()
                             ? document_->Title() + core::kConfigDocumentExtension
                             : document_->PathName();
    const auto path = prompts_.ChooseFileToSave(DocumentFileRequest(suggestion));
    if (path) SaveTo(QString::fromStdString(*path));
}

void CQVVelorinCtrlGuiApp::SaveTo(const QString &path) {
    document_->OnSaveDocument(path);
    recentFiles_.Add(document_->PathName());
    ShowDocumentState();
    if (!document_->LastProblem().isEmpty()) {
        // Saying nothing here would let the user believe the settings were kept.
        prompts_.Tell("The configuration could not be written to\n" + path.toStdString() + "\n" +
                      document_->LastProblem().toStdString());
    }
}

void CQVVelorinCtrlGuiApp::OnAppAbout() {
    CAboutDlg dialog(frame_.get());
    dialog.exec();
}

void CQVVelorinCtrlGuiApp::OnForceDriverInstall() {
    // The library shows its own messages; its result is not needed here.
    Velorin_Install_qv_driver(applicationDirectory_.c_str());
}

void CQVVelorinCtrlGuiApp::OnDownloadFirmware() {
    const auto path = prompts_.ChooseFileToOpen(core::FirmwareFileRequest());
    if (!path) return;
    CFirmDnlDlg dialog(services_, QString::fromStdString(*path), frame_.get());
    dialog.exec();
}

}  // namespace velorin::gui
