// CLinePlot: a plot of lines over one x axis and one or two y axes, with a title and a legend,
// painted directly. The loop-response plots redraw on every slider step, so a change of
// points or range costs no layout of items: the next paint maps the points and strokes them.
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/loopfilter/loop_filter_dialog_model.h"
#include "core/loopfilter/plot_axis.h"

namespace velorin::gui {

class CLinePlot : public QWidget {
    Q_OBJECT
  public:
    enum class Side { Left, Right };
    enum class LegendAt { Bottom, Right };
    struct Line {
        QColor colour;
        double width = 2.0;
        bool dashed = false;
    };

    CLinePlot(const QString &title, LegendAt legend, QWidget *parent = nullptr);

    void SetAxisTitles(const QString &x, const QString &left, const QString &right = QString());
    // How the readout under the pointer writes x and each axis's values (printf, one double);
    // the axes' titles give the units.
    void SetReadoutFormats(const char *x, const char *left, const char *right = "%.3g");
    // A series of points in the units of its axes; an empty legend keeps it out of the legend.
    // The readout names it as its legend unless given another name (empty: not read out).
    int AddSeries(const QString &name, const QString &legend, Line line, Side side = Side::Left,
                  const std::optional<QString> &readout = std::nullopt);
    void SetCurve(int series, const core::PlotCurve &curve, double xScale = 1.0);
    // A vertical line from (x, y0) to (x, y1), or nothing when there is no figure.
    void SetMarker(int series, const std::optional<core::PlotMarker> &marker, double xScale = 1.0);
    void SetXAxis(const core::PlotAxis &axis);
    void SetYAxis(Side side, const core::PlotAxis &axis);

    // What a series shows (empty for an unknown name), for the pictures' readers and tests.
    QList<QPointF> Points(const QString &name) const;
    const core::PlotAxis &XAxis() const { return x_; }
    const core::PlotAxis &YAxis(Side side) const;
    // The texts this plot cannot show whole at its present size.
    QStringList CutTexts() const;
    // What the readout says with the pointer at this position: x after the x axis's title,
    // then each series' value there; nothing outside the plot's area.
    QStringList Readout(QPointF position) const;
    // What it says now, where the pointer or the keys (Left, Right, Page Up and Down, Home,
    // End) put it; nothing while it is not shown. Assistive technology reads it as the
    // plot's value.
    QStringList CurrentReadout() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

  private:
    struct Series {
        QString name, legend, readout;
        Line line;
        Side side;
        core::PlotCurve curve;
    };
    struct Layout;
    struct ReadoutRow {
        QString text;
        const Series *series = nullptr;  // none on the x row
        double value = 0.0;
    };

    Layout Arrange(QSize size) const;
    std::vector<const Series *> LegendEntries() const;
    QFont TitleFont() const;
    void PaintGrid(QPainter &painter, const Layout &layout) const;
    void PaintCurves(QPainter &painter, const Layout &layout) const;
    void PaintLegend(QPainter &painter, const Layout &layout) const;
    std::vector<ReadoutRow> ReadoutRows(double fraction) const;
    void MoveCursor(std::optional<double> fraction);
    void PaintReadout(QPainter &painter, const Layout &layout) const;

    QString title_;
    LegendAt legendAt_;
    QString xTitle_, leftTitle_, rightTitle_;
    core::PlotAxis x_, left_, right_;
    std::vector<Series> series_;
    const char *xFormat_ = "%.4g", *leftFormat_ = "%.3g", *rightFormat_ = "%.3g";
    std::optional<double> cursor_;  // where the readout stands, as a fraction of the x axis
};

}  // namespace velorin::gui
