#include "gui/trace/board_traffic_dock.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/program_names.h"
#include "core/trace/traffic_save.h"
#include "core/trace/traffic_table.h"
#include "gui/app/main_frame.h"
#include "gui/trace/traffic_row_delegate.h"
#include "gui/trace/traffic_table_model.h"

namespace velorin::gui {

namespace {

// Ten batches a second: each repaints the table while it follows the newest rows, about 2 ms
// however few rows came, so this keeps the window's share of the thread near 2 % while
// rows stream in, and a row still shows within a tenth of a second.
constexpr int kBatchPeriodMs = 100;
constexpr int kTableHeight = 220;
constexpr const char *kSettingsGroup = "Board Traffic";

using core::TrafficColumn;

// Each column's width, widened where the font needs it for its title or the widest text it is
// sized for: the Time column holds an hour of milliseconds.
constexpr struct {
    TrafficColumn column;
    int width;
    const char *widest;
} kColumnWidths[] = {
    {TrafficColumn::Time, 66, "3600000.000"}, {TrafficColumn::Block, 44, ""},
    {TrafficColumn::Call, 250, ""},           {TrafficColumn::Meaning, 270, ""},
    {TrafficColumn::Command, 64, ""},         {TrafficColumn::Value, 50, ""},
    {TrafficColumn::Index, 76, ""},           {TrafficColumn::Answer, 56, ""},
};
// Room for a cell's margins, and for a header's sort arrow and frame.
constexpr int kCellPadding = 14;

QSettings Settings() {
    return QSettings(core::kSettingsOrganisation, core::kApplicationName);
}

}  // namespace

CBoardTrafficDock::CBoardTrafficDock(core::TrafficLog &log, core::Prompts &prompts, QWidget *parent)
    : QDockWidget("Board Traffic", parent), log_(log), prompts_(prompts) {
    setObjectName("boardTrafficDock");
    setAccessibleName("Board Traffic");
    setAllowedAreas(Qt::BottomDockWidgetArea);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    BuildContents();

    timer_.setObjectName("trafficBatchTimer");
    timer_.setInterval(kBatchPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &CBoardTrafficDock::Sync);
    // Rows are taken only while they can be seen; the log keeps recording meanwhile.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) {
            Sync();
            timer_.start();
        } else {
            timer_.stop();
        }
    });
    connect(toggleViewAction(), &QAction::toggled, this, &CBoardTrafficDock::SaveSettings);
    connect(this, &QDockWidget::topLevelChanged, this, &CBoardTrafficDock::SaveSettings);
}

CBoardTrafficDock::~CBoardTrafficDock() {
    SaveSettings();
}

void CBoardTrafficDock::BuildContents() {
    auto *contents = new QWidget(this);
    contents->setObjectName("boardTrafficContents");

    hidePoll_ = new QCheckBox("Hide poll", contents);
    hidePoll_->setObjectName("hidePollCheck");
    hidePoll_->setChecked(true);
    hidePoll_->setToolTip("Hide the main view's board poll, five requests every half second");
    block_ = new QComboBox(contents);
    block_->setObjectName("blockFilterCombo");
    block_->setAccessibleName("Block filter");
    block_->addItems({"All blocks", "Block A", "Block B", "Block C", "Block D"});
    block_->setToolTip(
        "Show one block's calls; calls that address no block (staging, ports, shared records) "
        "stay");
    failuresOnly_ = new QCheckBox("Failures only", contents);
    failuresOnly_->setObjectName("failuresOnlyCheck");
    pause_ = new QPushButton("Pause", contents);
    pause_->setObjectName("pauseButton");
    pause_->setCheckable(true);
    pause_->setToolTip("Hold the table still; calls are still recorded and appear on resume");
    auto *clear = new QPushButton("Clear", contents);
    clear->setObjectName("clearButton");
    auto *save = new QPushButton("Save...", contents);
    save->setObjectName("saveButton");
    save->setToolTip("Save the rows shown as a CSV file");
    auto *copy = new QPushButton("Copy", contents);
    copy->setObjectName("copyButton");
    copy->setToolTip("Copy the selected rows as text");
    status_ = new QLabel(contents);
    status_->setObjectName("trafficStatus");
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the longest status from the start, so that the bar never squeezes it.
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(
        "100000 rows, 99999999 older calls dropped, paused"));

    model_ = new TrafficTableModel(log_, this);
    table_ = new QTableView(contents);
    table_->setObjectName("trafficTable");
    table_->setAccessibleName("Board traffic");
    table_->setModel(model_);
    table_->setItemDelegate(new TrafficRowDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setWordWrap(false);
    table_->setMinimumHeight(kTableHeight);
    table_->verticalHeader()->hide();
    // Fixed row heights keep a table of 100,000 rows cheap to lay out.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    const QFontMetrics cells = table_->fontMetrics();
    const QFontMetrics headers = table_->horizontalHeader()->fontMetrics();
    for (const auto &c : kColumnWidths) {
        const int column = static_cast<int>(c.column);
        const QString title = model_->headerData(column, Qt::Horizontal).toString();
        table_->setColumnWidth(column,
                               std::max({c.width, cells.horizontalAdvance(c.widest) + kCellPadding,
                                         headers.horizontalAdvance(title) + kCellPadding}));
    }
    table_->horizontalHeader()->setStretchLastSection(true);
    auto *copyAction = new QAction("Copy", table_);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    table_->addAction(copyAction);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{hidePoll_, block_, failuresOnly_, pause_,
                                                       clear, save, copy})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(status_);
    auto *layout = new QVBoxLayout(contents);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
    setWidget(contents);

    connect(hidePoll_, &QCheckBox::toggled, this, &CBoardTrafficDock::ApplyFilter);
    connect(failuresOnly_, &QCheckBox::toggled, this, &CBoardTrafficDock::ApplyFilter);
    connect(block_, &QComboBox::currentIndexChanged, this, &CBoardTrafficDock::ApplyFilter);
    connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
        model_->SetPaused(paused);
        ShowStatus();
    });
    connect(clear, &QPushButton::clicked, this, &CBoardTrafficDock::OnClear);
    connect(save, &QPushButton::clicked, this, &CBoardTrafficDock::OnSave);
    connect(copy, &QPushButton::clicked, this, &CBoardTrafficDock::OnCopy);
    connect(copyAction, &QAction::triggered, this, &CBoardTrafficDock::OnCopy);
    ShowStatus();
}

void CBoardTrafficDock::Sync() {
    QScrollBar *scroll = table_->verticalScrollBar();
    // Follow the newest rows unless the user has scrolled up to read older ones.
    const bool following = scroll->value() == scroll->maximum();
    const int before = model_->rowCount();
    model_->Sync();
    if (following && model_->rowCount() != before) table_->scrollToBottom();
    ShowStatus();
}

void CBoardTrafficDock::ApplyFilter() {
    core::TrafficFilter filter;
    filter.hidePoll = hidePoll_->isChecked();
    filter.block = block_->currentIndex() - 1;
    filter.failuresOnly = failuresOnly_->isChecked();
    model_->SetFilter(filter);
    table_->scrollToBottom();
    ShowStatus();
}

void CBoardTrafficDock::ShowStatus() {
    QString text = QString("%1 rows").arg(model_->rowCount());
    if (log_.Dropped() > 0) text += QString(", %1 older calls dropped").arg(log_.Dropped());
    if (model_->View().Paused()) text += ", paused";
    if (status_->text() != text) status_->setText(text);
}

void CBoardTrafficDock::OnSave() {
    Sync();
    core::SaveTraffic(model_->View(), prompts_);
}

void CBoardTrafficDock::OnCopy() {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    QApplication::clipboard()->setText(model_->RowsText(rows));
}

void CBoardTrafficDock::OnClear() {
    log_.Clear();
    Sync();
}

void CBoardTrafficDock::SaveSettings() const {
    QSettings settings = Settings();
    settings.beginGroup(kSettingsGroup);
    settings.setValue("visible", !isHidden());
    settings.setValue("floating", isFloating());
    if (isFloating()) settings.setValue("geometry", saveGeometry());
}

namespace {

// The frame grown by the docked window, or given its height back; where the grown frame would
// be taller than the screen's work area, the window floats on its own at the bottom of the
// screen instead. Either way the frame is kept on the screen.
void FitAroundDock(CMainFrame &frame, CBoardTrafficDock &dock) {
    const QSize whole = frame.FitToContents();
    const QRect available = frame.screen()->availableGeometry();
    const int decoration = frame.frameGeometry().height() - frame.height();
    if (!dock.isHidden() && !dock.isFloating() &&
        whole.height() + decoration > available.height()) {
        dock.setFloating(true);
        const int height = std::min(dock.sizeHint().height(), available.height() / 2);
        dock.setGeometry(available.left(), available.bottom() + 1 - height,
                         std::min(frame.width(), available.width()), height);
        frame.FitToContents();
    }
    const QRect outer = frame.frameGeometry();
    if (outer.bottom() > available.bottom()) {
        frame.move(frame.x(), std::max(available.top(), available.bottom() + 1 - outer.height()));
    }
}

}  // namespace

CBoardTrafficDock *InstallBoardTrafficDock(CMainFrame &frame, core::TrafficLog &log,
                                           core::Prompts &prompts) {
    auto *dock = new CBoardTrafficDock(log, prompts, &frame);
    dock->hide();
    frame.addDockWidget(Qt::BottomDockWidgetArea, dock);

    QAction *toggle = dock->toggleViewAction();
    toggle->setObjectName("viewBoardTraffic");
    toggle->setStatusTip("Show or hide the board traffic window");
    if (auto *view = frame.findChild<QMenu *>("viewMenu")) view->addAction(toggle);

    QSettings settings = Settings();
    settings.beginGroup(kSettingsGroup);
    if (settings.value("floating", false).toBool()) {
        dock->setFloating(true);
        dock->restoreGeometry(settings.value("geometry").toByteArray());
    }
    // The action's check mark changes before the dock is shown or hidden through it; the dock
    // is shown or hidden here first, so that the frame is fitted to what it then holds.
    QObject::connect(toggle, &QAction::toggled, &frame, [&frame, dock](bool shown) {
        if (shown == dock->isHidden()) dock->setVisible(shown);
        FitAroundDock(frame, *dock);
    });
    QObject::connect(dock, &QDockWidget::topLevelChanged, &frame,
                     [&frame, dock] { FitAroundDock(frame, *dock); });
    dock->setVisible(settings.value("visible", false).toBool());
    FitAroundDock(frame, *dock);
    return dock;
}

}  // namespace velorin::gui
