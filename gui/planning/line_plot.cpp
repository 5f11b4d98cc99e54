#include "gui/planning/line_plot.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace velorin::gui {

namespace {

constexpr double kPad = 4.0, kGap = 4.0, kSwatch = 20.0, kEntrySpacing = 12.0;
constexpr double kMinimumPlot = 60.0;

const QColor kFrameColour(150, 150, 150);
const QColor kMajorGridColour(215, 215, 215);
const QColor kMinorGridColour(237, 237, 237);

using core::AxisFraction;

QString Formatted(const char *format, double value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return QString::asprintf(format, value);
#pragma GCC diagnostic pop
}

bool Drawable(const core::PlotAxis &axis, double value) {
    return std::isfinite(value) && (!axis.log || value > 0.0);
}

double Widest(const QFontMetricsF &metrics, const core::PlotAxis &axis) {
    double widest = 0.0;
    for (const core::AxisTick &tick : axis.ticks) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(tick.label)));
    }
    return widest;
}

// The first and the last labelled tick, whose labels may reach past the plot's ends.
std::pair<const core::AxisTick *, const core::AxisTick *> OuterLabels(const core::PlotAxis &axis) {
    const core::AxisTick *first = nullptr, *last = nullptr;
    for (const core::AxisTick &tick : axis.ticks) {
        if (tick.label.empty()) continue;
        if (first == nullptr) first = &tick;
        last = &tick;
    }
    return {first, last};
}

// A plot is a chart to assistive technology, and its value is what the readout says.
class PlotAccessible : public QAccessibleWidget {
  public:
    explicit PlotAccessible(CLinePlot *plot) : QAccessibleWidget(plot, QAccessible::Chart) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return static_cast<const CLinePlot *>(widget())->CurrentReadout().join("; ");
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *PlotInterface(const QString & /*className*/, QObject *object) {
    if (auto *plot = qobject_cast<CLinePlot *>(object)) return new PlotAccessible(plot);
    return nullptr;
}

}  // namespace

struct CLinePlot::Layout {
    QRectF title, plot;
    QRectF xLabels, xTitle, leftTitle, rightTitle;
    double leftLabelsRight = 0.0, rightLabelsLeft = 0.0;
    std::vector<QRectF> legend;  // one per legend entry
};

CLinePlot::CLinePlot(const QString &title, LegendAt legend, QWidget *parent)
    : QWidget(parent), title_(title), legendAt_(legend) {
    static const bool accessible = [] {
        QAccessible::installFactory(PlotInterface);
        return true;
    }();
    (void)accessible;
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(
        "Left and Right move the readout along the plot; it reads the value of every curve there");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(title);
}

void CLinePlot::SetAxisTitles(const QString &x, const QString &left, const QString &right) {
    xTitle_ = x;
    leftTitle_ = left;
    rightTitle_ = right;
    update();
}

void CLinePlot::SetReadoutFormats(const char *x, const char *left, const char *right) {
    xFormat_ = x;
    leftFormat_ = left;
    rightFormat_ = right;
}

int CLinePlot::AddSeries(const QString &name, const QString &legend, Line line, Side side,
                         const std::optional<QString> &readout) {
    series_.push_back({name, legend, readout.value_or(legend), line, side, {}});
    return static_cast<int>(series_.size()) - 1;
}

void CLinePlot::SetCurve(int series, const core::PlotCurve &curve, double xScale) {
    core::PlotCurve &shown = series_.at(static_cast<size_t>(series)).curve;
    const size_t count = std::min(curve.x.size(), curve.y.size());
    shown.x.resize(count);
    shown.y.assign(curve.y.begin(), curve.y.begin() + static_cast<std::ptrdiff_t>(count));
    for (size_t i = 0; i < count; ++i) shown.x[i] = curve.x[i] * xScale;
    update();
}

void CLinePlot::SetMarker(int series, const std::optional<core::PlotMarker> &marker,
                          double xScale) {
    core::PlotCurve line;
    if (marker) line = {{marker->x, marker->x}, {marker->y0, marker->y1}};
    SetCurve(series, line, xScale);
}

void CLinePlot::SetXAxis(const core::PlotAxis &axis) {
    if (axis == x_) return;
    x_ = axis;
    update();
}

void CLinePlot::SetYAxis(Side side, const core::PlotAxis &axis) {
    core::PlotAxis &y = side == Side::Left ? left_ : right_;
    if (axis == y) return;
    y = axis;
    update();
}

const core::PlotAxis &CLinePlot::YAxis(Side side) const {
    return side == Side::Left ? left_ : right_;
}

QList<QPointF> CLinePlot::Points(const QString &name) const {
    QList<QPointF> points;
    for (const Series &series : series_) {
        if (series.name != name) continue;
        for (size_t i = 0; i < series.curve.x.size(); ++i) {
            points.append(QPointF(series.curve.x[i], series.curve.y[i]));
        }
    }
    return points;
}

std::vector<const CLinePlot::Series *> CLinePlot::LegendEntries() const {
    std::vector<const Series *> entries;
    for (const Series &series : series_) {
        if (!series.legend.isEmpty() && !series.curve.x.empty()) entries.push_back(&series);
    }
    return entries;
}

QFont CLinePlot::TitleFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

CLinePlot::Layout CLinePlot::Arrange(QSize size) const {
    const QFontMetricsF metrics(font());
    const double line = metrics.height();
    const double width = size.width(), height = size.height();
    const bool rightAxis = !rightTitle_.isEmpty();
    Layout layout;
    layout.title = QRectF(kPad, kPad, width - 2 * kPad, QFontMetricsF(TitleFont()).height());

    const auto [firstX, lastX] = OuterLabels(x_);
    const auto halfLabel = [&](const core::AxisTick *tick) {
        return tick == nullptr ? 0.0
                               : metrics.horizontalAdvance(QString::fromStdString(tick->label)) / 2;
    };
    double left = kPad + (leftTitle_.isEmpty() ? 0.0 : line + kGap) + Widest(metrics, left_) + kGap;
    left = std::max(left, kPad + halfLabel(firstX));
    double right = width - kPad;
    if (rightAxis) right -= line + kGap + Widest(metrics, right_) + kGap;

    // The legend's entries: a swatch of the line, then the text.
    std::vector<double> entryWidths;
    for (const Series *series : LegendEntries()) {
        entryWidths.push_back(kSwatch + kGap + metrics.horizontalAdvance(series->legend));
    }
    double legendRows = 0.0;
    if (legendAt_ == LegendAt::Right && !entryWidths.empty()) {
        const double column = *std::max_element(entryWidths.begin(), entryWidths.end());
        right -= column + 2 * kGap;
        const double x =
            right + (rightAxis ? line + 2 * kGap + Widest(metrics, right_) : 0.0) + 2 * kGap;
        const double top = layout.title.bottom() + kGap;
        for (size_t i = 0; i < entryWidths.size(); ++i) {
            layout.legend.emplace_back(x, top + static_cast<double>(i) * line, entryWidths[i],
                                       line);
        }
    } else if (!entryWidths.empty()) {
        // Rows from the left, as many entries to a row as fit.
        double x = kPad, row = 0.0;
        for (double entry : entryWidths) {
            if (x > kPad && x + entry > width - kPad) {
                x = kPad;
                ++row;
            }
            layout.legend.emplace_back(x, row * line, entry, line);
            x += entry + kEntrySpacing;
        }
        legendRows = row + 1.0;
    }
    right = std::min(right, width - kPad - halfLabel(lastX));

    const double top = layout.title.bottom() + kGap + line / 2;
    double bottom = height - kPad - line - kGap;  // the x axis's labels
    if (!xTitle_.isEmpty()) bottom -= line;
    if (legendRows > 0.0) bottom -= legendRows * line + kGap;
    layout.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    layout.xLabels = QRectF(0.0, bottom + kGap, width, line);
    layout.xTitle = QRectF(left, layout.xLabels.bottom(), right - left, line);
    if (legendRows > 0.0) {
        const double legendTop = layout.xLabels.bottom() + (xTitle_.isEmpty() ? 0.0 : line) + kGap;
        for (QRectF &entry : layout.legend) entry.translate(0.0, legendTop);
    }
    layout.leftLabelsRight = left - kGap;
    layout.leftTitle = QRectF(kPad, top, line, bottom - top);
    layout.rightLabelsLeft = right + kGap;
    layout.rightTitle = QRectF(right + 2 * kGap + Widest(metrics, right_), top, line, bottom - top);
    return layout;
}

QStringList CLinePlot::CutTexts() const {
    const Layout layout = Arrange(size());
    const QRectF whole(0.0, 0.0, width(), height());
    const QFontMetricsF metrics(font());
    QStringList cut;
    if (QFontMetricsF(TitleFont()).horizontalAdvance(title_) > layout.title.width()) cut << title_;
    const std::vector<const Series *> entries = LegendEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!whole.contains(layout.legend[i])) cut << entries[i]->legend;
    }
    // Each axis's labels side by side without overlapping, and its title along the plot.
    const auto crowded = [&](const core::PlotAxis &axis, bool horizontal, double length) {
        double previousEnd = -INFINITY;
        for (const core::AxisTick &tick : axis.ticks) {
            if (tick.label.empty() || !Drawable(axis, tick.value)) continue;
            const QString label = QString::fromStdString(tick.label);
            const double extent = horizontal ? metrics.horizontalAdvance(label) : metrics.height();
            const double centre = AxisFraction(axis, tick.value) * length;
            if (centre - extent / 2 < previousEnd) cut << label;
            previousEnd = centre + extent / 2;
        }
    };
    crowded(x_, true, layout.plot.width());
    crowded(left_, false, layout.plot.height());
    if (!rightTitle_.isEmpty()) crowded(right_, false, layout.plot.height());
    if (metrics.horizontalAdvance(xTitle_) > layout.xTitle.width()) cut << xTitle_;
    if (metrics.horizontalAdvance(leftTitle_) > layout.leftTitle.height()) cut << leftTitle_;
    if (metrics.horizontalAdvance(rightTitle_) > layout.rightTitle.height()) cut << rightTitle_;
    if (layout.plot.width() < kMinimumPlot || layout.plot.height() < kMinimumPlot) {
        cut << accessibleName();
    }
    return cut;
}

QSize CLinePlot::minimumSizeHint() const {
    const QSize roomy(2000, 2000);
    const Layout layout = Arrange(roomy);
    const QFontMetricsF metrics(font());
    double width = roomy.width() - layout.plot.width() + 3 * kMinimumPlot;
    width = std::max(width, QFontMetricsF(TitleFont()).horizontalAdvance(title_) + 2 * kPad);
    double height = roomy.height() - layout.plot.height() +
                    std::max(2 * kMinimumPlot, metrics.horizontalAdvance(leftTitle_));
    if (legendAt_ == LegendAt::Right && !layout.legend.empty()) {
        height = std::max(height, layout.legend.back().bottom() + kPad);
    }
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

QSize CLinePlot::sizeHint() const {
    return minimumSizeHint() + QSize(160, 80);
}

void CLinePlot::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const Layout layout = Arrange(size());
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(TitleFont());
    painter.drawText(layout.title, Qt::AlignHCenter | Qt::AlignTop, title_);
    painter.setFont(font());
    if (layout.plot.width() <= 0.0 || layout.plot.height() <= 0.0) return;
    PaintGrid(painter, layout);
    PaintCurves(painter, layout);
    PaintLegend(painter, layout);
    PaintReadout(painter, layout);
}

void CLinePlot::PaintGrid(QPainter &painter, const Layout &layout) const {
    const QRectF &plot = layout.plot;
    const QColor text = palette().color(QPalette::Text);
    const double line = QFontMetricsF(font()).height();
    for (const core::AxisTick &tick : x_.ticks) {
        if (!Drawable(x_, tick.value)) continue;
        const double x = plot.left() + AxisFraction(x_, tick.value) * plot.width();
        painter.setPen(tick.label.empty() ? kMinorGridColour : kMajorGridColour);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        if (tick.label.empty()) continue;
        painter.setPen(text);
        painter.drawText(QRectF(x - 200.0, layout.xLabels.top(), 400.0, line),
                         Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(tick.label));
    }
    const auto yTicks = [&](const core::PlotAxis &axis, bool leftSide) {
        for (const core::AxisTick &tick : axis.ticks) {
            if (!Drawable(axis, tick.value)) continue;
            const double y = plot.bottom() - AxisFraction(axis, tick.value) * plot.height();
            if (leftSide) {
                painter.setPen(tick.label.empty() ? kMinorGridColour : kMajorGridColour);
                painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            }
            if (tick.label.empty()) continue;
            painter.setPen(text);
            const QRectF room = leftSide
                                    ? QRectF(0.0, y - line / 2, layout.leftLabelsRight, line)
                                    : QRectF(layout.rightLabelsLeft, y - line / 2, 400.0, line);
            painter.drawText(room, (leftSide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                             QString::fromStdString(tick.label));
        }
    };
    yTicks(left_, true);
    if (!rightTitle_.isEmpty()) yTicks(right_, false);
    // The plot's frame shows the keyboard focus.
    painter.setPen(hasFocus() ? QPen(palette().color(QPalette::Highlight), 2.0)
                              : QPen(kFrameColour));
    painter.drawRect(plot);

    painter.setPen(text);
    painter.drawText(layout.xTitle, Qt::AlignHCenter | Qt::AlignTop, xTitle_);
    // The y axes' titles read upwards on the left and downwards on the right.
    const auto vertical = [&](const QRectF &room, const QString &title, double angle) {
        if (title.isEmpty()) return;
        painter.save();
        painter.translate(room.center());
        painter.rotate(angle);
        painter.drawText(QRectF(-room.height() / 2, -room.width() / 2, room.height(), room.width()),
                         Qt::AlignCenter, title);
        painter.restore();
    };
    vertical(layout.leftTitle, leftTitle_, -90.0);
    vertical(layout.rightTitle, rightTitle_, 90.0);
}

void CLinePlot::PaintCurves(QPainter &painter, const Layout &layout) const {
    const QRectF &plot = layout.plot;
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Series &series : series_) {
        const core::PlotAxis &y = series.side == Side::Left ? left_ : right_;
        QPen pen(series.line.colour, series.line.width);
        if (series.line.dashed) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        // A point that cannot be drawn (a loop that does not exist there) breaks the line.
        QPolygonF run;
        const auto flush = [&] {
            if (run.size() > 1) painter.drawPolyline(run);
            run.clear();
        };
        for (size_t i = 0; i < series.curve.x.size(); ++i) {
            const double x = series.curve.x[i], value = series.curve.y[i];
            if (!Drawable(x_, x) || !Drawable(y, value)) {
                flush();
                continue;
            }
            const double px = plot.left() + AxisFraction(x_, x) * plot.width();
            const double py = plot.bottom() - AxisFraction(y, value) * plot.height();
            run.append(QPointF(px, py));
        }
        flush();
    }
    painter.restore();
}

void CLinePlot::PaintLegend(QPainter &painter, const Layout &layout) const {
    const std::vector<const Series *> entries = LegendEntries();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 0; i < entries.size(); ++i) {
        const QRectF &room = layout.legend[i];
        QPen pen(entries[i]->line.colour, std::min(entries[i]->line.width, 2.0));
        if (entries[i]->line.dashed) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        const double y = room.center().y();
        painter.drawLine(QPointF(room.left() + 1.0, y), QPointF(room.left() + kSwatch - 1.0, y));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(room.adjusted(kSwatch + kGap, 0.0, 0.0, 0.0),
                         Qt::AlignLeft | Qt::AlignVCenter, entries[i]->legend);
    }
    painter.restore();
}

std::vector<CLinePlot::ReadoutRow> CLinePlot::ReadoutRows(double fraction) const {
    const double x = core::AxisValueAt(x_, fraction);
    std::vector<ReadoutRow> rows{{xTitle_ + ": " + Formatted(xFormat_, x), nullptr, x}};
    for (const Series &series : series_) {
        if (series.readout.isEmpty()) continue;
        const std::optional<double> value = core::CurveValueAt(series.curve, x, x_.log);
        if (!value) continue;
        const char *format = series.side == Side::Left ? leftFormat_ : rightFormat_;
        rows.push_back({series.readout + ": " + Formatted(format, *value), &series, *value});
    }
    return rows;
}

QStringList CLinePlot::Readout(QPointF position) const {
    const QRectF plot = Arrange(size()).plot;
    if (!plot.contains(position) || plot.width() <= 0.0) return {};
    QStringList lines;
    for (const ReadoutRow &row : ReadoutRows((position.x() - plot.left()) / plot.width())) {
        lines << row.text;
    }
    return lines;
}

QStringList CLinePlot::CurrentReadout() const {
    QStringList lines;
    if (!cursor_) return lines;
    for (const ReadoutRow &row : ReadoutRows(*cursor_)) lines << row.text;
    return lines;
}

void CLinePlot::MoveCursor(std::optional<double> fraction) {
    if (fraction) fraction = std::clamp(*fraction, 0.0, 1.0);
    if (fraction == cursor_) return;
    cursor_ = fraction;
    update();
    QAccessibleValueChangeEvent changed(this, CurrentReadout().join("; "));
    QAccessible::updateAccessibility(&changed);
}

void CLinePlot::mouseMoveEvent(QMouseEvent *event) {
    const QRectF plot = Arrange(size()).plot;
    if (plot.contains(event->position()) && plot.width() > 0.0) {
        MoveCursor((event->position().x() - plot.left()) / plot.width());
    } else if (!hasFocus()) {
        MoveCursor(std::nullopt);
    }
    QWidget::mouseMoveEvent(event);
}

void CLinePlot::leaveEvent(QEvent *event) {
    if (!hasFocus()) MoveCursor(std::nullopt);
    QWidget::leaveEvent(event);
}

void CLinePlot::keyPressEvent(QKeyEvent *event) {
    // A step of a hundredth of the axis, a tenth with Shift or the page keys.
    const double step = event->modifiers() & Qt::ShiftModifier ? 0.1 : 0.01;
    const double at = cursor_.value_or(0.5);
    switch (event->key()) {
        case Qt::Key_Left:
            return MoveCursor(at - step);
        case Qt::Key_Right:
            return MoveCursor(at + step);
        case Qt::Key_PageDown:
            return MoveCursor(at - 0.1);
        case Qt::Key_PageUp:
            return MoveCursor(at + 0.1);
        case Qt::Key_Home:
            return MoveCursor(0.0);
        case Qt::Key_End:
            return MoveCursor(1.0);
        default:
            QWidget::keyPressEvent(event);
    }
}

void CLinePlot::focusInEvent(QFocusEvent *event) {
    if (!cursor_) MoveCursor(0.5);
    update();
    QWidget::focusInEvent(event);
}

void CLinePlot::focusOutEvent(QFocusEvent *event) {
    MoveCursor(std::nullopt);
    update();
    QWidget::focusOutEvent(event);
}

void CLinePlot::PaintReadout(QPainter &painter, const Layout &layout) const {
    if (!cursor_) return;
    const QRectF &plot = layout.plot;
    const std::vector<ReadoutRow> rows = ReadoutRows(*cursor_);
    const double at = plot.left() + *cursor_ * plot.width();
    painter.save();
    painter.setPen(QPen(kFrameColour, 1.0, Qt::DotLine));
    painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
    // A dot where the line meets each curve that is in view.
    painter.setRenderHint(QPainter::Antialiasing);
    for (const ReadoutRow &row : rows) {
        if (row.series == nullptr) continue;
        const core::PlotAxis &y = row.series->side == Side::Left ? left_ : right_;
        const double fraction = AxisFraction(y, row.value);
        if (!(fraction >= 0.0 && fraction <= 1.0)) continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(row.series->line.colour);
        painter.drawEllipse(QPointF(at, plot.bottom() - fraction * plot.height()), 3.0, 3.0);
    }
    // The box beside the pointer, on whichever side has room for it; each curve's row starts
    // with a piece of its line.
    const QFontMetricsF metrics(font());
    const double line = metrics.height();
    double width = 0.0;
    for (const ReadoutRow &row : rows) {
        width = std::max(width, (row.series != nullptr ? kSwatch + kGap : 0.0) +
                                    metrics.horizontalAdvance(row.text));
    }
    QRectF box(0.0, 0.0, width + 2 * kGap, static_cast<double>(rows.size()) * line + 2 * kGap);
    box.moveTopLeft(QPointF(at + 2 * kGap, plot.top() + kGap));
    if (box.right() > plot.right()) box.moveRight(at - 2 * kGap);
    box.moveLeft(std::max(box.left(), 0.0));
    box.moveBottom(std::min(box.bottom(), static_cast<double>(height())));
    QColor fill = palette().color(QPalette::ToolTipBase);
    fill.setAlpha(235);
    painter.fillRect(box, fill);
    painter.setPen(kFrameColour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    double top = box.top() + kGap;
    for (const ReadoutRow &row : rows) {
        double left = box.left() + kGap;
        if (row.series != nullptr) {
            QPen pen(row.series->line.colour, std::min(row.series->line.width, 2.0));
            if (row.series->line.dashed) pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.drawLine(QPointF(left + 1.0, top + line / 2),
                             QPointF(left + kSwatch - 1.0, top + line / 2));
            left += kSwatch + kGap;
        }
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.drawText(QRectF(left, top, box.right() - left, line),
                         Qt::AlignLeft | Qt::AlignVCenter, row.text);
        top += line;
    }
    painter.restore();
}

}  // namespace velorin::gui
