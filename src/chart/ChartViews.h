#pragma once

// The two pictures of the chart window, painted with QPainter from the chart
// data the core works out (stats::chartData). Neither computes anything but
// the scale from values to pixels.
//
// A picture paints in steps that read top to bottom: the empty-state message
// or the layout of its plot area, then the title, the axes, the frame, what
// it shows (a joined series of points, or bars), and the labelled lines.
// The steps both pictures share are PlotPainter's, so another chart over a
// series of values (a control chart, say) is these steps in its own order.

#include "stats/Chart.h"
#include "chart/QtControlChart.h"

#include <QPolygonF>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QFontMetrics;
class QPainter;

/// Colours and pen styles shared by both pictures, so a line reads the same
/// on each.
struct ChartStyle
{
    static QColor lineColour(stats::LineKind kind);
    static Qt::PenStyle lineStyle(stats::LineKind kind);
    static QColor pointColour(bool beyondLimit);
};

/// The value range shown: the data's range with a little room on each side.
struct ValueScale
{
    double low = 0;
    double high = 1;

    /// For the range [dataLow, dataHigh], which must not be empty.
    ValueScale(double dataLow, double dataHigh);
    /// Where a value lies in the shown range: 0 at low, 1 at high.
    double fraction(double value) const;
};

/// Round steps of 1, 2 or 5 times a power of ten, about `wanted` of them
/// between low and high, none closer than smallestStep.
std::vector<double> axisTicks(double low, double high, int wanted, double smallestStep = 0.0);

/// A tick's text: a number as the result boxes write it.
QString tickText(double value);

/// The message an empty chart shows (and its accessible description).
QString emptyChartText();

/// Paints a chart's title and the empty-state message over the whole area.
void drawEmptyChart(QPainter &painter, const QRect &area, const QString &title);

/// The drawing steps every chart shares, over one plot rectangle: a value
/// is placed by its fraction of the plot's width or height.
struct PlotPainter
{
    QPainter &painter;
    QRectF plot;
    int lineHeight = 0; // of the painter's font

    double xAt(double fraction) const { return plot.left() + fraction * plot.width(); }
    double yAt(double fraction) const { return plot.bottom() - fraction * plot.height(); }
    /// Too small to draw anything useful in.
    bool tooSmall() const { return plot.width() < 10 || plot.height() < 10; }

    /// The title, on the line above the plot.
    void drawTitle(const QString &title) const;
    /// A grid line across the plot at each tick, the tick's text left of it.
    void drawLeftAxis(const std::vector<double> &ticks,
                      const std::function<double(double)> &yOf) const;
    /// A tick mark below the plot at each tick, its text centred under it.
    void drawBottomAxis(const std::vector<double> &ticks, const std::function<double(double)> &xOf,
                        double textWidth) const;
    void drawFrame() const;
    /// The points joined in order; a marked point gets a larger marker in the
    /// contrasting colour, the others small markers where they stand apart.
    void drawSeries(const QPolygonF &points, const std::vector<bool> &marked) const;
    /// Each line across the plot at its value, labelled right of the plot in
    /// a column labelWidth wide; labels that would overlap move apart.
    void drawHorizontalLines(const std::vector<stats::ChartLine> &lines,
                             const std::function<double(double)> &yOf, int labelWidth) const;
    /// A line from the plot's top to its bottom at x.
    void drawVerticalLine(stats::LineKind kind, double x) const;
    /// A line's label in the line's colour.
    void drawLineLabel(stats::LineKind kind, const QRectF &box, Qt::Alignment alignment,
                       const std::string &label) const;
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
    ChartView(const QString &name, const QString &accessibleName, const QString &title,
              QWidget *parent);
    /// What a screen reader says in place of the picture of this data.
    virtual std::string describe(const stats::ChartData &data) const = 0;
    /// Whether the data leaves this chart empty.
    virtual bool showsNothing(const stats::ChartData &data) const = 0;
    /// Paints the data over the white background.
    virtual void paintChart(QPainter &painter, const stats::ChartData &data) const = 0;

    void paintEvent(QPaintEvent *event) override;

    const QString m_title;
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
    bool showsNothing(const stats::ChartData &data) const override;
    void paintChart(QPainter &painter, const stats::ChartData &data) const override;
};

/// The histogram of the same values, on the same value scale, with the
/// lines marked as vertical lines and the normal curve over the bars.
class HistogramView : public ChartView
{
    Q_OBJECT

public:
    explicit HistogramView(QWidget *parent = nullptr);

    /// The normal curve of x̄ and s drawn over the bars; none for s <= 0.
    void setNormalCurve(double mean, double s);

protected:
    std::string describe(const stats::ChartData &data) const override;
    bool showsNothing(const stats::ChartData &data) const override;
    void paintChart(QPainter &painter, const stats::ChartData &data) const override;

private:
    void drawNormalCurve(const PlotPainter &area, const stats::Histogram &histogram,
                         const ValueScale &scale, const std::function<double(double)> &yOf) const;

    double m_curveMean = 0.0;
    double m_curveSigma = 0.0;
};

/// One chart of a control chart (X or X̄ above, Rs or R below): the points
/// joined in order, the control lines labelled with their values, the
/// tolerance lines over the location chart, and each point that trips a test
/// marked by a red diamond with the tests' numbers beside it. Without a
/// series it shows the reason instead.
class ControlChartView : public QWidget
{
    Q_OBJECT

public:
    ControlChartView(const QString &name, const QString &accessibleName,
                     QWidget *parent = nullptr);

    /// The series to draw, with the tolerance lines to draw over it. Not
    /// owned: it must live until the next call.
    void setSeries(const stats::ControlSeries *series,
                   std::vector<stats::ChartLine> toleranceLines = {});
    /// No chart, and why: the core's reason, or the empty-state message.
    void setMessage(const QString &title, const QString &message);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintSeries(QPainter &painter) const;
    void drawSignals(const PlotPainter &area, const QPolygonF &points) const;

    const stats::ControlSeries *m_series = nullptr;
    std::vector<stats::ChartLine> m_lines; // the control lines, then the tolerance's
    QString m_title;
    QString m_message;
};

/// The control lines of a series as the chart lines the shared steps draw:
/// the centre line as the mean, the control limits as the limits.
std::vector<stats::ChartLine> controlLines(const stats::ControlSeries &series);
