#include "gui/trace/traffic_row_delegate.h"

#include <QPainter>

namespace velorin::gui {

namespace {
constexpr int kTextMargin = 3;
}  // namespace

void TrafficRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    const QVariant foreground = index.data(Qt::ForegroundRole);
    QColor color =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (foreground.isValid() && !selected) color = foreground.value<QColor>();
    painter->setPen(color);
    const QRect text = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    const QString shown =
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width());
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

}  // namespace velorin::gui
