#include "gui/app/main_frame.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "core/base/program_names.h"
#include "core/device/settings_export.h"
#include "core/planning/view_commands.h"
#include "core/ui/control_ids.h"
#include "gui/app/lock_indicators.h"
#include "gui/planning/calculator_bars.h"
#include "gui/widgets/bitmap_resources.h"
#include "gui/widgets/control_id.h"
#include "gui/widgets/screen_fit.h"
#include "velorin_version.h"

namespace velorin::gui {

namespace {

// The main form's size until the main view takes the place.
constexpr QSize kViewPlaceholderSize(760, 440);

QIcon ToolIcon(const char *name) {
    EnsureResources();
    return QIcon(QString(":/images/tool_%1.png").arg(name));
}

// Like the bands of a rebar, a bar can be moved along the top of the window but not off it:
// the window has a fixed size and would not make room for a bar elsewhere.
void KeepInTheBandRow(QToolBar &bar) {
    bar.setAllowedAreas(Qt::TopToolBarArea);
    bar.setFloatable(false);
}

}  // namespace

CMainFrame::CMainFrame(QWidget *parent) : QMainWindow(parent) {
    setObjectName("mainFrame");
    // Caption, system menu, minimise and maximise boxes; no sizing border.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(core::kWindowTitle);
    EnsureResources();
    setWindowIcon(QIcon(BitmapResourcePath(bitmaps::kProgramIcon)));
    setAcceptDrops(true);

    BuildCommands();
    BuildMenus();
    BuildToolBar();
    BuildCalculatorBars();
    BuildStatusBar();

    // The view sits in a scroll area that shows it whole wherever the screen has room; on a
    // screen too small for the window, it is what gives way.
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName("viewScroller");
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCentralWidget(scroller_);
    auto *placeholder = new QWidget;
    placeholder->setObjectName("viewPlaceholder");
    placeholder->setFixedSize(kViewPlaceholderSize);
    scroller_->setWidget(placeholder);
    FitToContents();
}

QAction *CMainFrame::AddCommand(int id, const QString &text, const QString &tip) {
    auto *action = new QAction(text, this);
    action->setObjectName(QString("command%1").arg(id));
    SetControlId(action, id);
    if (!tip.isEmpty()) action->setStatusTip(tip);
    commands_.insert(id, action);
    return action;
}

void CMainFrame::BuildCommands() {
    AddCommand(ids::kFileNew, "&New\tCtrl+N", "Create a new configuration")
        ->setShortcut(QKeySequence("Ctrl+N"));
    AddCommand(ids::kFileOpen, "&Open...\tCtrl+O", "Open a configuration file")
        ->setShortcut(QKeySequence("Ctrl+O"));
    AddCommand(ids::kFileSave, "&Save\tCtrl+S", "Save the configuration")
        ->setShortcut(QKeySequence("Ctrl+S"));
    AddCommand(ids::kFileSaveAs, "Save &As...", "Save the configuration under a new name");
    // Greyed until the view gives it the image and the block.
    AddCommand(ids::kExportSettings, "Export Settings...",
               "Write the settings as a C header, JSON or CSV file for firmware")
        ->setEnabled(false);
    AddCommand(ids::kRecentFile, "Recent File", "Open this configuration file")->setEnabled(false);
    AddCommand(ids::kAppExit, "E&xit", "Quit the program");
    AddCommand(ids::kFilePrint, "&Print", "Print");

    QAction *undo = AddCommand(ids::kEditUndo, "&Undo\tCtrl+Z", "Undo the last action");
    undo->setShortcuts({QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")});
    QAction *cut = AddCommand(ids::kEditCut, "Cu&t\tCtrl+X", "Cut the selection");
    cut->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
    QAction *copy = AddCommand(ids::kEditCopy, "&Copy\tCtrl+C", "Copy the selection");
    copy->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")});
    QAction *paste = AddCommand(ids::kEditPaste, "&Paste\tCtrl+V", "Insert what was copied");
    paste->setShortcuts({QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")});
    // Nothing in the program edits text through these commands.
    for (QAction *action : {undo, cut, copy, paste, Command(ids::kFilePrint)}) {
        action->setEnabled(false);
    }

    AddCommand(ids::kViewToolbar, "&Toolbar", "Show or hide the tool bar")->setCheckable(true);
    AddCommand(ids::kViewStatusBar, "&Status Bar", "Show or hide the status bar")
        ->setCheckable(true);

    // The main view's commands are greyed until it connects them; the read-back command is
    // always offered.
    for (const core::ViewCommand &command : core::kViewCommands) {
        if (command.menu != core::CommandMenu::Main) continue;
        AddCommand(command.id, command.text, command.tip)
            ->setEnabled(command.id == ids::kReadDeviceSettings);
    }
    AddCommand(ids::kDownloadFirmware, "Download EVM Firmware",
               "Write new board firmware to the board's EEPROM");
    AddCommand(ids::kForceDriverInstall, "Force EVM Driver Installation",
               "Register the board's driver package again");
    AddCommand(ids::kAppAbout, "&About QV MXRG817A CtrlGui...",
               "Show the program's name and version");

    // Moving between the panes of the window: the view and the bars.
    QAction *next = AddCommand(ids::kNextPane, "Next Pane");
    next->setShortcut(QKeySequence("F6"));
    QAction *previous = AddCommand(ids::kPrevPane, "Previous Pane");
    previous->setShortcut(QKeySequence("Shift+F6"));
    addAction(next);
    addAction(previous);
    connect(next, &QAction::triggered, this, [this] { focusNextPrevChild(true); });
    connect(previous, &QAction::triggered, this, [this] { focusNextPrevChild(false); });

    connect(Command(ids::kFileNew), &QAction::triggered, this, &CMainFrame::newRequested);
    connect(Command(ids::kFileOpen), &QAction::triggered, this, &CMainFrame::openRequested);
    connect(Command(ids::kFileSave), &QAction::triggered, this, &CMainFrame::saveRequested);
    connect(Command(ids::kFileSaveAs), &QAction::triggered, this, &CMainFrame::saveAsRequested);
    connect(Command(ids::kAppExit), &QAction::triggered, this, &QWidget::close);
    connect(Command(ids::kAppAbout), &QAction::triggered, this, &CMainFrame::aboutRequested);
    connect(Command(ids::kDownloadFirmware), &QAction::triggered, this,
            &CMainFrame::firmwareDownloadRequested);
    connect(Command(ids::kForceDriverInstall), &QAction::triggered, this,
            &CMainFrame::driverInstallRequested);
}

void CMainFrame::BuildMenus() {
    QMenuBar *bar = menuBar();
    fileMenu_ = bar->addMenu("&File");
    fileMenu_->setObjectName("fileMenu");
    fileMenu_->addAction(Command(ids::kFileNew));
    fileMenu_->addAction(Command(ids::kFileOpen));
    fileMenu_->addAction(Command(ids::kFileSave));
    fileMenu_->addAction(Command(ids::kFileSaveAs));
    fileMenu_->addAction(Command(ids::kExportSettings));
    fileMenu_->addSeparator();
    fileMenu_->addAction(Command(ids::kRecentFile));
    recentLast_ = fileMenu_->addSeparator();
    fileMenu_->addAction(Command(ids::kAppExit));

    QMenu *edit = bar->addMenu("&Edit");
    edit->setObjectName("editMenu");
    edit->addAction(Command(ids::kEditUndo));
    edit->addSeparator();
    edit->addAction(Command(ids::kEditCut));
    edit->addAction(Command(ids::kEditCopy));
    edit->addAction(Command(ids::kEditPaste));

    QMenu *view = bar->addMenu("&View");
    view->setObjectName("viewMenu");
    view->addAction(Command(ids::kViewToolbar));
    view->addAction(Command(ids::kViewStatusBar));

    QMenu *device = bar->addMenu("&Device Settings");
    device->setObjectName("deviceSettingsMenu");
    for (const core::ViewCommand &command : core::kViewCommands) {
        if (command.menu != core::CommandMenu::Main) continue;
        if (!device->isEmpty()) device->addSeparator();
        device->addAction(Command(command.id));
    }

    QMenu *firmware = bar->addMenu("EVM Firmware");
    firmware->setObjectName("firmwareMenu");
    firmware->addAction(Command(ids::kDownloadFirmware));
    firmware->addSeparator();
    firmware->addAction(Command(ids::kForceDriverInstall));

    QMenu *help = bar->addMenu("&Help");
    help->setObjectName("helpMenu");
    help->addAction(Command(ids::kAppAbout));
}

void CMainFrame::BuildToolBar() {
    toolBar_ = new QToolBar("Standard", this);
    toolBar_->setObjectName("toolBar");
    toolBar_->setIconSize(QSize(16, 15));
    const struct {
        int id;
        const char *icon;
        const char *tip;
    } buttons[] = {{ids::kFileNew, "new", "New"},       {ids::kFileOpen, "open", "Open"},
                   {ids::kFileSave, "save", "Save"},    {0, nullptr, nullptr},
                   {ids::kEditCut, "cut", "Cut"},       {ids::kEditCopy, "copy", "Copy"},
                   {ids::kEditPaste, "paste", "Paste"}, {0, nullptr, nullptr},
                   {ids::kFilePrint, "print", "Print"}, {0, nullptr, nullptr},
                   {ids::kAppAbout, "about", "About"}};
    for (const auto &button : buttons) {
        if (button.id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction *action = Command(button.id);
        action->setIcon(ToolIcon(button.icon));
        action->setToolTip(button.tip);
        toolBar_->addAction(action);
    }
    KeepInTheBandRow(*toolBar_);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    QAction *toggle = Command(ids::kViewToolbar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, this, [this](bool on) {
        toolBar_->setVisible(on);
        FitToContents();
    });
}

void CMainFrame::BuildCalculatorBars() {
    // Bands in the order tool bar, "Input Calculator", "Output Calculator", each on its row.
    inputCalculator_ = new CInputCalculatorBar(this);
    outputCalculator_ = new COutputCalculatorBar(this);
    const struct {
        QWidget *bar;
        const char *title;
        const char *name;
    } bands[] = {{inputCalculator_, "Input Calculator", "inputCalculatorBand"},
                 {outputCalculator_, "Output Calculator", "outputCalculatorBand"}};
    for (const auto &band : bands) {
        addToolBarBreak(Qt::TopToolBarArea);
        auto *holder = new QToolBar(band.title, this);
        holder->setObjectName(band.name);
        holder->addWidget(band.bar);
        KeepInTheBandRow(*holder);
        addToolBar(Qt::TopToolBarArea, holder);
    }
}

void CMainFrame::BuildStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName("statusBar");
    bar->setSizeGripEnabled(false);
    // The message pane: "Ready" unless a command's description is showing.
    messagePane_ = new QLabel("Ready", bar);
    messagePane_->setObjectName("messagePane");
    bar->addWidget(messagePane_, 1);
    indicators_ = new LockIndicators(*bar);

    QAction *toggle = Command(ids::kViewStatusBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, this, [this](bool on) {
        statusBar()->setVisible(on);
        FitToContents();
    });
}

QSize CMainFrame::WholeSize() {
    const QWidget *view = scroller_->widget();
    scroller_->setFixedSize(view != nullptr ? view->size() : QSize());
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    return sizeHint();
}

QSize CMainFrame::FitToContents() {
    const QSize whole = WholeSize();
    // Too large for the screen: the view's area gives way, and scrolls.
    scroller_->setMinimumSize(0, 0);
    scroller_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    FixSizeWithinScreen(*this, whole);
    return whole;
}

QWidget *CMainFrame::View() const {
    return scroller_->widget();
}

QWidget *CMainFrame::TakeView() {
    return scroller_->takeWidget();
}

void CMainFrame::SetDocumentName(const QString &name) {
    setWindowTitle(QString(core::kWindowTitle) + " - " + name);
}

void CMainFrame::SetMessagePaneText(const QString &text) {
    messagePane_->setText(text.isEmpty() ? QStringLiteral("Ready") : text);
}

void CMainFrame::SetView(QWidget *view) {
    if (QWidget *before = scroller_->takeWidget()) {
        before->hide();
        before->deleteLater();
    }
    scroller_->setWidget(view);
    FitToContents();
}

void CMainFrame::ConnectViewCommand(int id, const std::function<void()> &handler) {
    if (QAction *action = Command(id)) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [handler] { handler(); });
    }
}

void CMainFrame::ConnectExportSettings(core::Prompts &prompts, const core::RegisterImage &image,
                                       const std::function<int()> &block) {
    ConnectViewCommand(ids::kExportSettings, [&prompts, &image, block] {
        core::ExportSettings(
            prompts, image, block(),
            {core::TodayIsoDate(), std::string("QVVelorinCtrlGui ") + VELORIN_PACKAGE_VERSION});
    });
}

void CMainFrame::SetRecentFiles(const QStringList &paths) {
    recentFiles_ = paths;
    for (QAction *entry : recentEntries_) {
        // The entry may be the one being handled right now, so it goes later, nameless.
        fileMenu_->removeAction(entry);
        entry->setObjectName(QString());
        entry->deleteLater();
    }
    recentEntries_.clear();
    // "Recent File" stands greyed while the list is empty and gives way to the entries.
    Command(ids::kRecentFile)->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        QString shown = QFileInfo(paths[i]).fileName();
        shown.replace("&", "&&");
        auto *entry = new QAction(QString("&%1 %2").arg(i + 1).arg(shown), this);
        entry->setObjectName(QString("recentFile%1").arg(i + 1));
        entry->setStatusTip(paths[i]);
        connect(entry, &QAction::triggered, this,
                [this, path = paths[i]] { emit recentFileRequested(path); });
        fileMenu_->insertAction(recentLast_, entry);
        recentEntries_.append(entry);
    }
}

void CMainFrame::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // The window manager's frame is known now; on a small screen it takes room from the view.
    if (!screen()->availableGeometry().contains(frameGeometry())) FitToContents();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event) {
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace velorin::gui
