#pragma once

// The two pictures of the chart window, painted with QPainter from the chart
// data the core works out (stats::chartData). Neither computes anything but
// the scale from values to pixels.

#include "stats/Chart.h"

#include <QWidget>

/// Colours and pen styles shared by both pictures, so a line reads the same
/// on each.
struct ChartStyle
{
    static QColor lineColour(stats::LineKind kind);
    static Qt::PenStyle lineStyle(stats::LineKind kind);
    static QColor pointColour(bool beyondLimit);
};

/// A chart over the window's chart data, which it draws and does not own.
class ChartView : public QWidget
{
    Q_OBJECT

public:
    /// The data to draw, or nullptr for an empty chart. Not owned: it must
    /// live until the next call.
    void setData(const stats::ChartData *data);

protected:
    ChartView(const QString &name, const QString &accessibleName, QWidget *parent);

    const stats::ChartData *m_data = nullptr;
};

/// The run chart: the values in list order, joined, with the mean, the
/// limits and the tolerance limits as horizontal lines; values beyond a
/// limit are marked in a contrasting colour.
class RunChartView : public ChartView
{
    Q_OBJECT

public:
    explicit RunChartView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

/// The histogram of the same values, on the same value scale, with the
/// lines marked as vertical lines.
class HistogramView : public ChartView
{
    Q_OBJECT

public:
    explicit HistogramView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
