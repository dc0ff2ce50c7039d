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

/// The run chart: the values in list order, joined, with the mean, the
/// limits and the tolerance limits as horizontal lines; values beyond a
/// limit are marked in a contrasting colour.
class RunChartView : public QWidget
{
    Q_OBJECT

public:
    explicit RunChartView(QWidget *parent = nullptr);

    /// The data to draw, or nullptr for an empty chart. Not owned: it must
    /// live until the next call.
    void setData(const stats::ChartData *data);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const stats::ChartData *m_data = nullptr;
};

/// The histogram of the same values, on the same value scale, with the
/// lines marked as vertical lines.
class HistogramView : public QWidget
{
    Q_OBJECT

public:
    explicit HistogramView(QWidget *parent = nullptr);

    void setData(const stats::ChartData *data);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const stats::ChartData *m_data = nullptr;
};
