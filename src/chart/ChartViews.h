#pragma once

// The two pictures of the chart window, painted with QPainter from the chart
// data the core works out (stats::chartData). Neither computes anything but
// the scale from values to pixels.

#include "stats/Chart.h"

#include <QWidget>

#include <string>

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
    /// live until the next call. The accessible description becomes the
    /// data's text alternative, so a screen reader hears what is drawn.
    void setData(const stats::ChartData *data);

protected:
    ChartView(const QString &name, const QString &accessibleName, QWidget *parent);
    /// What a screen reader says in place of the picture of this data.
    virtual std::string describe(const stats::ChartData &data) const = 0;

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
    std::string describe(const stats::ChartData &data) const override;
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
    std::string describe(const stats::ChartData &data) const override;
    void paintEvent(QPaintEvent *event) override;
};
