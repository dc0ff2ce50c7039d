#pragma once

// The charts of the chart window, painted with QPainter from what the core
// works out (stats::chartContent). Nothing here computes but the placing of
// values in pixels; the axes' arithmetic is the core's (stats/Axis.h).
//
// Each chart is a paint function over a rectangle of any paint device, so
// the window's views, the picture that 画像を保存 and `vorla --chart` write,
// and the printed record draw alike. A chart paints in steps that read top to
// bottom: the layout of its plot area, the title, the axes, the frame, what
// it shows (a joined series of points, or bars) and the labelled lines. The
// steps the charts share are PlotPainter's.
//
// The views are thin widgets over the paint functions. ChartView gives them
// their construction and their empty state (a title over a message); each
// keeps a share of the content it draws, so none points into the window.

#include "stats/ChartContent.h"

#include <QPolygonF>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

/// Colours and pen styles shared by every chart, so a line reads the same
/// on each.
struct ChartStyle
{
    static QColor lineColour(stats::LineKind kind);
    static Qt::PenStyle lineStyle(stats::LineKind kind);
    static QColor pointColour(bool beyondLimit);
};

/// The message an empty chart shows (and its accessible description).
QString emptyChartText();

/// Paints a chart's title and, centred and wrapped, a message over the area.
void drawEmptyChart(QPainter &painter, const QRect &area, const QString &title,
                    const QString &message);

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
    /// A tick mark below the plot at each tick, its text centred under it;
    /// where the texts would crowd, only every few of them is written.
    void drawBottomAxis(const std::vector<double> &ticks,
                        const std::function<double(double)> &xOf) const;
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

/// The run chart's title.
QString runChartTitle();

/// The run chart in `area`: the values in list order, joined, with the mean,
/// the limits and the tolerance limits as horizontal lines; values beyond a
/// limit are marked in a contrasting colour.
void paintRunChart(QPainter &painter, const QRect &area, const stats::ChartData &data);

/// The histogram in `area`, on the run chart's value scale, with the lines as
/// vertical lines and the normal curve of x̄ and s over the bars (none for
/// s <= 0); the count axis reaches over the higher of the bars and the curve.
void paintHistogram(QPainter &painter, const QRect &area, const stats::ChartContent &content);

/// One chart of a control chart in `area`: the points joined in order, the
/// control lines labelled with their values, the tolerance lines over the
/// location chart, and each point that trips a test marked by a red diamond
/// with a mark beside it: the tests' numbers, or the mark given for that
/// point (the record numbers its signals). A mark that would overlap one
/// already written is left out; the diamond stays.
void paintControlSeries(QPainter &painter, const QRect &area, const stats::ControlSeries &series,
                        const std::vector<stats::ChartLine> &toleranceLines,
                        const std::vector<std::string> *marks = nullptr);

/// The control lines of a series as the chart lines the shared steps draw:
/// the centre line as the mean, the control limits as the limits.
std::vector<stats::ChartLine> controlLines(const stats::ControlSeries &series);

/// A chart widget: its names, its size policy and its empty state, a title
/// over a message, which it also gives a screen reader.
class ChartView : public QWidget
{
    Q_OBJECT

protected:
    ChartView(const char *name, const QString &accessibleName, const QString &title,
              int minimumHeight, QWidget *parent);

    /// Shows the message under the title in place of a chart.
    void showMessage(const QString &title, const QString &message);
    /// Shows the chart, which a screen reader hears as `description`.
    void showChart(const QString &title, const QString &description);
    const QString &title() const { return m_title; }

    /// Paints the chart into rect() over the white background.
    virtual void paintChart(QPainter &painter) const = 0;

private:
    void paintEvent(QPaintEvent *event) override;

    QString m_title;
    QString m_message; // while there is no chart
    bool m_showsChart = false;
};

/// The run chart of the window's content.
class RunChartView : public ChartView
{
    Q_OBJECT

public:
    explicit RunChartView(QWidget *parent = nullptr);
    /// What to draw; nullptr for the empty chart.
    void setContent(std::shared_ptr<const stats::ChartContent> content);

protected:
    void paintChart(QPainter &painter) const override;

private:
    std::shared_ptr<const stats::ChartContent> m_content;
};

/// The histogram of the window's content.
class HistogramView : public ChartView
{
    Q_OBJECT

public:
    explicit HistogramView(QWidget *parent = nullptr);
    /// What to draw; nullptr for the empty chart.
    void setContent(std::shared_ptr<const stats::ChartContent> content);

protected:
    void paintChart(QPainter &painter) const override;

private:
    std::shared_ptr<const stats::ChartContent> m_content;
};

/// One chart of a control chart (X or X̄ above, Rs or R below), or the
/// reason there is none.
class ControlChartView : public ChartView
{
    Q_OBJECT

public:
    ControlChartView(const char *name, const QString &accessibleName, QWidget *parent = nullptr);

    /// The series to draw, with the tolerance lines to draw over it.
    void setSeries(std::shared_ptr<const stats::ControlSeries> series,
                   std::vector<stats::ChartLine> toleranceLines = {});
    /// No chart, and why: the core's reason, or the empty-state message.
    void setMessage(const QString &title, const QString &message);

protected:
    void paintChart(QPainter &painter) const override;

private:
    std::shared_ptr<const stats::ControlSeries> m_series;
    std::vector<stats::ChartLine> m_toleranceLines;
};
