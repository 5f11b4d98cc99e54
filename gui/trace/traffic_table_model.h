// The traffic window's rows as a Qt table model over the core's row list. Rows come in
// batches (Sync), never one signal per board call.
#pragma once

#include <QAbstractTableModel>
#include <QModelIndexList>

#include "core/trace/traffic_view.h"

namespace velorin::gui {

class TrafficTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit TrafficTableModel(const core::TrafficLog &log, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Lets expired rows go and appends the calls made since the last sync.
    void Sync();
    void SetFilter(const core::TrafficFilter &filter);
    void SetPaused(bool paused);
    const core::TrafficView &View() const { return view_; }

    // The rows of the selected cells as text, one line each, in row order.
    QString RowsText(const QModelIndexList &selected) const;

  private:
    core::TrafficView view_;
};

}  // namespace velorin::gui
