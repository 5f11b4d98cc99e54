// Paints the traffic table's cells as plain elided text: the style's full item painting costs
// several times more, and the table repaints with every batch while it follows new rows.
#pragma once

#include <QStyledItemDelegate>

namespace velorin::gui {

class TrafficRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

}  // namespace velorin::gui
