#include "gui/trace/traffic_table_model.h"

#include <QColor>
#include <algorithm>
#include <vector>

#include "core/trace/traffic_table.h"

namespace velorin::gui {

namespace {
const QColor kFailureColor(200, 0, 0);
}  // namespace

TrafficTableModel::TrafficTableModel(const core::TrafficLog &log, QObject *parent)
    : QAbstractTableModel(parent), view_(log) {}

int TrafficTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(view_.Size());
}

int TrafficTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(core::kTrafficColumnCount);
}

QVariant TrafficTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !view_.Kept(static_cast<size_t>(index.row()))) return QVariant();
    const core::BoardCall &call = view_.Row(static_cast<size_t>(index.row()));
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(core::TrafficCell(
                call, static_cast<core::TrafficColumn>(index.column()), view_.Log().Origin()));
        case Qt::ForegroundRole:
            return call.ok ? QVariant() : QVariant(kFailureColor);
        default:
            return QVariant();
    }
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
    if (section < 0 || section >= columnCount()) return QVariant();
    return QString(core::TrafficColumnTitle(static_cast<core::TrafficColumn>(section)));
}

void TrafficTableModel::Sync() {
    if (const size_t expired = view_.Expired()) {
        beginRemoveRows(QModelIndex(), 0, static_cast<int>(expired) - 1);
        view_.DropExpired();
        endRemoveRows();
    }
    if (const size_t added = view_.CollectNew()) {
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(added) - 1);
        view_.CommitNew();
        endInsertRows();
    }
}

void TrafficTableModel::SetFilter(const core::TrafficFilter &filter) {
    if (filter == view_.Filter()) return;
    beginResetModel();
    view_.SetFilter(filter);
    endResetModel();
}

void TrafficTableModel::SetPaused(bool paused) {
    view_.SetPaused(paused);
    if (!paused) Sync();
}

QString TrafficTableModel::RowsText(const QModelIndexList &selected) const {
    std::vector<size_t> rows;
    for (const QModelIndex &index : selected) rows.push_back(static_cast<size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return QString::fromStdString(core::TrafficRowsText(view_, rows));
}

}  // namespace velorin::gui
