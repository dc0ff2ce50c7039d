#include "chart/ChartViews.h"

#include "chart/ChartTexts.h"
#include "stats/NumberText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Past this many points the joining line is drawn without antialiasing, and
// plain points lose their markers when they stand closer than this many pixels.
constexpr std::size_t kSmoothPoints = 2000;
constexpr double kMarkerSpacing = 5.0;

const QColor kFrame(96, 96, 96);
const QColor kGrid(228, 228, 228);
const QColor kBarEdge(49, 130, 189);
const QColor kBarFill(158, 202, 225);
const QColor kCurve(230, 120, 0);
const QColor kSignal(220, 30, 30);

/// Moves label centres apart until they stand at least `gap` from each
/// other, kept within [first, last] where there is room.
std::vector<double> spread(std::vector<double> centres, double gap, double first, double last)
{
    std::vector<std::size_t> order(centres.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return centres[a] < centres[b]; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        double &c = centres[order[k]];
        c = std::max(c, first);
        if (k > 0)
            c = std::max(c, centres[order[k - 1]] + gap);
    }
    for (std::size_t k = order.size(); k-- > 0;) {
        double &c = centres[order[k]];
        c = std::min(c, last);
        if (k + 1 < order.size())
            c = std::min(c, centres[order[k + 1]] - gap);
    }
    return centres;
}

/// The same joined line with at most four points per pixel column: where
/// the line enters the column, its lowest and highest point there, and where
/// it leaves. Drawn without antialiasing it covers the same pixels as the
/// whole line, at a fraction of the cost for a long list.
QPolygonF columnEnvelope(const QPolygonF &run)
{
    QPolygonF envelope;
    qsizetype i = 0;
    while (i < run.size()) {
        const double column = std::floor(run[i].x());
        const QPointF first = run[i];
        double low = first.y();
        double high = first.y();
        qsizetype j = i;
        for (; j < run.size() && std::floor(run[j].x()) == column; ++j) {
            low = std::min(low, run[j].y());
            high = std::max(high, run[j].y());
        }
        envelope << first << QPointF(first.x(), low) << QPointF(first.x(), high) << run[j - 1];
        i = j;
    }
    return envelope;
}

QPen linePen(stats::LineKind kind)
{
    QPen pen(ChartStyle::lineColour(kind), 1.5, ChartStyle::lineStyle(kind));
    pen.setCosmetic(true);
    return pen;
}

int widestTickText(const QFontMetrics &metrics, const std::vector<double> &ticks, int least = 0)
{
    int widest = least;
    for (const double t : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(tickText(t)));
    return widest;
}

int widestLabel(const QFontMetrics &metrics, const std::vector<stats::ChartLine> &lines)
{
    int widest = 0;
    for (const auto &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line.label)));
    return widest;
}

/// The plot of a chart over values: the tick texts stand left of it, the
/// lines' labels (labelWidth wide) right of it, the title above it.
PlotPainter valuePlot(QPainter &painter, const QRect &whole, const QFontMetrics &metrics,
                      const std::vector<double> &valueTicks, int labelWidth)
{
    const int lineHeight = metrics.height();
    return {painter,
            QRectF(whole).adjusted(widestTickText(metrics, valueTicks) + 10, lineHeight + 8,
                                   -(labelWidth + 12), -(lineHeight + 10)),
            lineHeight};
}

} // namespace

// ---- the steps every chart shares ------------------------------------------

std::vector<double> axisTicks(double low, double high, int wanted, double smallestStep)
{
    std::vector<double> ticks;
    // Halves first: the span of a range reaching both ends of the double
    // range would itself leave it.
    const double halfSpan = high / 2 - low / 2;
    if (!(halfSpan > 0) || !std::isfinite(halfSpan))
        return ticks;
    const double rough = std::max(halfSpan / wanted * 2, std::numeric_limits<double>::min());
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (rough <= factor * power) {
            step = factor * power;
            break;
        }
    }
    step = std::max(step, smallestStep);
    for (double k = std::ceil(low / step); k * step <= high && ticks.size() < 50; k += 1)
        ticks.push_back(std::abs(k) < 0.5 ? 0.0 : k * step);
    return ticks;
}

QString tickText(double value)
{
    // A tick a rounding step away from a round number is written as that
    // number; a tiny or huge tick keeps its own digits, which the rounding
    // would lose or carry past the double range.
    const double snapped = std::round(value * 1e9) / 1e9;
    const bool ownDigits = std::abs(value) < 1e-3 || !std::isfinite(snapped);
    return QString::fromStdString(stats::numberToText(ownDigits ? value : snapped));
}

ValueScale::ValueScale(double dataLow, double dataHigh)
{
    // In halves, so that a range from near the lowest double to near the
    // highest (a tolerance far out) still scales to finite pixels.
    const double room = (dataHigh / 2 - dataLow / 2) * 0.08;
    low = std::max(dataLow - room, -std::numeric_limits<double>::max());
    high = std::min(dataHigh + room, std::numeric_limits<double>::max());
}

double ValueScale::fraction(double value) const
{
    return (value / 2 - low / 2) / (high / 2 - low / 2);
}

QString emptyChartText()
{
    return QStringLiteral("演算開始を押すと、そのときの一覧をここに描きます");
}

void drawEmptyChart(QPainter &painter, const QRect &area, const QString &title)
{
    painter.setPen(kFrame);
    painter.drawText(area.adjusted(6, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, title);
    painter.setPen(Qt::darkGray);
    painter.drawText(area, Qt::AlignCenter, emptyChartText());
}

void PlotPainter::drawTitle(const QString &title) const
{
    painter.setPen(kFrame);
    painter.drawText(QRectF(plot.left(), 2, plot.width(), lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
}

void PlotPainter::drawLeftAxis(const std::vector<double> &ticks,
                               const std::function<double(double)> &yOf) const
{
    for (const double t : ticks) {
        const double y = yOf(t);
        painter.setPen(kGrid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kFrame);
        painter.drawText(QRectF(0, y - lineHeight / 2.0, plot.left() - 5, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(t));
    }
}

void PlotPainter::drawBottomAxis(const std::vector<double> &ticks,
                                 const std::function<double(double)> &xOf, double textWidth) const
{
    painter.setPen(kFrame);
    for (const double t : ticks) {
        const double x = xOf(t);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        painter.drawText(QRectF(x - textWidth / 2, plot.bottom() + 3, textWidth, lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, tickText(t));
    }
}

void PlotPainter::drawFrame() const
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(kFrame);
    painter.drawRect(plot);
}

void PlotPainter::drawSeries(const QPolygonF &points, const std::vector<bool> &marked) const
{
    const auto n = static_cast<std::size_t>(points.size());
    // Antialiasing stays as set here for the lines drawn over the series.
    painter.setRenderHint(QPainter::Antialiasing, n <= kSmoothPoints);
    QPen joinPen(ChartStyle::pointColour(false), 1.0);
    joinPen.setCosmetic(true);
    painter.setPen(joinPen);
    painter.drawPolyline(n > kSmoothPoints ? columnEnvelope(points) : points);

    const bool markEvery = n == 1 || plot.width() / double(n - 1) >= kMarkerSpacing;
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < n; ++i) {
        if (!marked[i] && !markEvery)
            continue;
        painter.setBrush(ChartStyle::pointColour(marked[i]));
        const double radius = marked[i] ? 3.0 : 2.0;
        painter.drawEllipse(points[static_cast<qsizetype>(i)], radius, radius);
    }
}

void PlotPainter::drawHorizontalLines(const std::vector<stats::ChartLine> &lines,
                                      const std::function<double(double)> &yOf,
                                      int labelWidth) const
{
    std::vector<double> heights;
    for (const auto &line : lines)
        heights.push_back(yOf(line.value));
    const std::vector<double> labelCentres =
        spread(heights, lineHeight, plot.top(), plot.bottom());
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        painter.setPen(linePen(lines[i].kind));
        painter.drawLine(QPointF(plot.left(), heights[i]), QPointF(plot.right(), heights[i]));
        drawLineLabel(lines[i].kind,
                      QRectF(plot.right() + 6, labelCentres[i] - lineHeight / 2.0, labelWidth + 6,
                             lineHeight),
                      Qt::AlignLeft | Qt::AlignVCenter, lines[i].label);
    }
}

void PlotPainter::drawVerticalLine(stats::LineKind kind, double x) const
{
    painter.setPen(linePen(kind));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
}

void PlotPainter::drawLineLabel(stats::LineKind kind, const QRectF &box, Qt::Alignment alignment,
                                const std::string &label) const
{
    painter.setPen(ChartStyle::lineColour(kind));
    painter.drawText(box, alignment, QString::fromStdString(label));
}

// ---- the two pictures ------------------------------------------------------

QColor ChartStyle::lineColour(stats::LineKind kind)
{
    switch (kind) {
    case stats::LineKind::Mean:
        return QColor(0, 128, 0);
    case stats::LineKind::UpperLimit:
    case stats::LineKind::LowerLimit:
        return QColor(0, 90, 200);
    case stats::LineKind::UpperTolerance:
    case stats::LineKind::LowerTolerance:
        return QColor(150, 0, 150);
    }
    return Qt::black;
}

Qt::PenStyle ChartStyle::lineStyle(stats::LineKind kind)
{
    switch (kind) {
    case stats::LineKind::Mean:
        return Qt::SolidLine;
    case stats::LineKind::UpperLimit:
    case stats::LineKind::LowerLimit:
        return Qt::DashLine;
    case stats::LineKind::UpperTolerance:
    case stats::LineKind::LowerTolerance:
        return Qt::DashDotLine;
    }
    return Qt::SolidLine;
}

QColor ChartStyle::pointColour(bool beyondLimit)
{
    return beyondLimit ? QColor(220, 30, 30) : QColor(30, 60, 140);
}

ChartView::ChartView(const QString &name, const QString &accessibleName, const QString &title,
                     QWidget *parent)
    : QWidget(parent), m_title(title)
{
    setObjectName(name);
    setAccessibleName(accessibleName);
    setAccessibleDescription(emptyChartText());
    setMinimumSize(300, 150);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::setData(const stats::ChartData *data)
{
    m_data = data;
    setAccessibleDescription(data ? QString::fromStdString(describe(*data)) : emptyChartText());
    update();
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_data || showsNothing(*m_data))
        drawEmptyChart(painter, rect(), m_title);
    else
        paintChart(painter, *m_data);
}

// ---- the run chart -----------------------------------------------------------

namespace {

/// Item numbers start at 1, as a user counts them.
std::vector<double> itemTicks(std::size_t count)
{
    return axisTicks(1, static_cast<double>(count), 8, 1.0);
}

std::vector<bool> beyondLimit(const std::vector<stats::RunPoint> &points)
{
    std::vector<bool> beyond;
    beyond.reserve(points.size());
    for (const auto &point : points)
        beyond.push_back(point.beyondLimit);
    return beyond;
}

} // namespace

RunChartView::RunChartView(QWidget *parent)
    : ChartView(QStringLiteral("runChart"), QStringLiteral("推移グラフ"),
                QStringLiteral("推移（一覧の順）"), parent)
{
}

std::string RunChartView::describe(const stats::ChartData &data) const
{
    return stats::runChartDescription(data);
}

bool RunChartView::showsNothing(const stats::ChartData &data) const
{
    return data.points.empty();
}

void RunChartView::paintChart(QPainter &painter, const stats::ChartData &data) const
{
    const QFontMetrics metrics(font());
    const ValueScale scale(data.low, data.high);
    const std::vector<double> valueTicks = axisTicks(scale.low, scale.high, 6);
    // Tick texts stand left of the plot, the lines' labels right of it.
    const int labelWidth = widestLabel(metrics, data.lines);
    const PlotPainter area = valuePlot(painter, rect(), metrics, valueTicks, labelWidth);
    if (area.tooSmall())
        return;
    const std::size_t n = data.points.size();
    const QRectF &plot = area.plot;
    auto y = [&](double value) { return area.yAt(scale.fraction(value)); };
    auto x = [&](std::size_t i) {
        return n == 1 ? plot.center().x()
                      : plot.left() + static_cast<double>(i) * plot.width() / double(n - 1);
    };
    QPolygonF run;
    run.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i)
        run << QPointF(x(i), y(data.points[i].value));

    area.drawTitle(m_title);
    area.drawLeftAxis(valueTicks, y);
    area.drawBottomAxis(itemTicks(n), [&](double t) { return x(static_cast<std::size_t>(t) - 1); },
                        80);
    area.drawFrame();
    area.drawSeries(run, beyondLimit(data.points));
    area.drawHorizontalLines(data.lines, y, labelWidth);
}

// ---- the histogram ------------------------------------------------------------

namespace {

/// The count axis: its ticks and the count at the plot's top, which leaves
/// room above the tallest class up to the next tick.
struct CountAxis
{
    std::vector<double> ticks;
    double ceiling = 1;
};

CountAxis countAxis(const stats::Histogram &histogram)
{
    std::int64_t most = 1;
    for (const auto &c : histogram.classes)
        most = std::max(most, c.count);
    CountAxis axis{axisTicks(0, static_cast<double>(most), 4, 1.0), static_cast<double>(most)};
    const std::vector<double> &ticks = axis.ticks;
    if (ticks.size() >= 2)
        axis.ceiling = std::max(axis.ceiling + 0.5 * (ticks[1] - ticks[0]),
                                ticks.back() + (ticks[1] - ticks[0]) * 0.25);
    return axis;
}

/// Where a line's label stands above the plot.
struct LabelPlace
{
    std::size_t row = 0;
    double left = 0;
    double width = 0;
};

/// Centres each label over its line, within [left, right] where there is
/// room, in the first row where it overlaps no other label.
std::vector<LabelPlace> labelPlaces(const std::vector<stats::ChartLine> &lines,
                                    const QFontMetrics &metrics,
                                    const std::function<double(double)> &xOf, double left,
                                    double right)
{
    std::vector<LabelPlace> places;
    std::vector<std::vector<std::pair<double, double>>> rows;
    for (const auto &line : lines) {
        const double w = metrics.horizontalAdvance(QString::fromStdString(line.label)) + 8;
        const double at = std::clamp(xOf(line.value) - w / 2, left, std::max(left, right - w));
        std::size_t row = 0;
        for (; row < rows.size(); ++row) {
            const bool clear = std::none_of(rows[row].begin(), rows[row].end(), [&](auto span) {
                return at < span.second && at + w > span.first;
            });
            if (clear)
                break;
        }
        if (row == rows.size())
            rows.emplace_back();
        rows[row].push_back({at, at + w});
        places.push_back({row, at, w});
    }
    return places;
}

/// A bar from the plot's bottom up to each class's count; empty classes
/// draw nothing.
void drawBars(const PlotPainter &area, const stats::Histogram &histogram,
              const std::function<double(double)> &xOf, const std::function<double(double)> &yOf)
{
    area.painter.setPen(kBarEdge);
    area.painter.setBrush(kBarFill);
    for (const auto &c : histogram.classes) {
        if (c.count > 0)
            area.painter.drawRect(QRectF(QPointF(xOf(c.lower), yOf(double(c.count))),
                                         QPointF(xOf(c.upper), area.plot.bottom())));
    }
}

std::size_t rowCount(const std::vector<LabelPlace> &places)
{
    std::size_t rows = 0;
    for (const LabelPlace &place : places)
        rows = std::max(rows, place.row + 1);
    return rows;
}

} // namespace

HistogramView::HistogramView(QWidget *parent)
    : ChartView(QStringLiteral("histogram"), QStringLiteral("ヒストグラム"),
                QStringLiteral("ヒストグラム"), parent)
{
}

std::string HistogramView::describe(const stats::ChartData &data) const
{
    return stats::histogramDescription(data);
}

bool HistogramView::showsNothing(const stats::ChartData &data) const
{
    return data.histogram.classes.empty();
}

void HistogramView::paintChart(QPainter &painter, const stats::ChartData &data) const
{
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const ValueScale scale(data.low, data.high);
    const CountAxis counts = countAxis(data.histogram);
    // The plot's width is known before its height: the lines' labels stand
    // above it, in as many rows as they need.
    const double left =
        widestTickText(metrics, counts.ticks, metrics.horizontalAdvance(QStringLiteral("0"))) + 10;
    const double right = QRectF(rect()).adjusted(0, 0, -12, 0).right();
    auto xIn = [&](double value) { return left + scale.fraction(value) * (right - left); };
    const std::vector<LabelPlace> labels = labelPlaces(data.lines, metrics, xIn, left, right);
    const double labelsTop = lineHeight + 8;
    const double top = labelsTop + static_cast<double>(rowCount(labels)) * lineHeight;
    const PlotPainter area{
        painter, QRectF(left, top, right - left, rect().height() - top - (lineHeight + 10)),
        lineHeight};
    if (area.tooSmall())
        return;
    auto x = [&](double value) { return area.xAt(scale.fraction(value)); };
    auto y = [&](double count) { return area.yAt(count / counts.ceiling); };

    area.drawTitle(m_title);
    area.drawLeftAxis(counts.ticks, y);
    area.drawBottomAxis(axisTicks(scale.low, scale.high, 6), x, 100);
    drawBars(area, data.histogram, x, y);
    drawNormalCurve(area, data.histogram, scale, y);
    area.drawFrame();
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const stats::ChartLine &line = data.lines[i];
        area.drawVerticalLine(line.kind, x(line.value));
        const LabelPlace &label = labels[i];
        area.drawLineLabel(line.kind,
                           QRectF(label.left, labelsTop + static_cast<double>(label.row) * lineHeight,
                                  label.width, lineHeight),
                           Qt::AlignCenter, line.label);
    }
}

void HistogramView::setNormalCurve(double mean, double s)
{
    m_curveMean = mean;
    m_curveSigma = s;
    update();
}

/// The curve sampled every few pixels across the plot, clipped to it: its
/// peak may stand above the tallest bar.
void HistogramView::drawNormalCurve(const PlotPainter &area, const stats::Histogram &histogram,
                                    const ValueScale &scale,
                                    const std::function<double(double)> &yOf) const
{
    std::int64_t count = 0;
    for (const auto &c : histogram.classes)
        count += c.count;
    const int samples = std::max(2, static_cast<int>(area.plot.width() / 3));
    std::vector<double> xs;
    for (int i = 0; i <= samples; ++i)
        xs.push_back(scale.low + (scale.high / 2 - scale.low / 2) * 2 * i / samples);
    const std::vector<double> heights =
        stats::normalCurveHeights(xs, m_curveMean, m_curveSigma, count, histogram.width);
    if (heights.size() != xs.size())
        return;
    QPolygonF curve;
    for (std::size_t i = 0; i < xs.size(); ++i)
        curve << QPointF(area.xAt(scale.fraction(xs[i])), yOf(heights[i]));
    area.painter.save();
    area.painter.setClipRect(area.plot);
    area.painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kCurve, 2.0);
    pen.setCosmetic(true);
    area.painter.setPen(pen);
    area.painter.drawPolyline(curve);
    area.painter.restore();
}

// ---- the control charts ---------------------------------------------------------

std::vector<stats::ChartLine> controlLines(const stats::ControlSeries &series)
{
    std::vector<stats::ChartLine> lines;
    for (const stats::ControlLine &line : series.lines) {
        const stats::LineKind kind =
            line.kind == stats::ControlLineKind::CenterLine          ? stats::LineKind::Mean
            : line.kind == stats::ControlLineKind::UpperControlLimit ? stats::LineKind::UpperLimit
                                                                     : stats::LineKind::LowerLimit;
        lines.push_back({kind, line.value, line.label});
    }
    return lines;
}

ControlChartView::ControlChartView(const QString &name, const QString &accessibleName,
                                   QWidget *parent)
    : QWidget(parent), m_message(emptyChartText())
{
    setObjectName(name);
    setAccessibleName(accessibleName);
    setAccessibleDescription(m_message);
    setMinimumSize(300, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ControlChartView::setSeries(const stats::ControlSeries *series,
                                 std::vector<stats::ChartLine> toleranceLines)
{
    m_series = series;
    m_lines = controlLines(*series);
    m_lines.insert(m_lines.end(), toleranceLines.begin(), toleranceLines.end());
    m_title = QString::fromStdString(series->name) + QStringLiteral(" 管理図");
    m_message.clear();
    setAccessibleDescription(QString::fromStdString(chart::controlChartDescription(*series)));
    update();
}

void ControlChartView::setMessage(const QString &title, const QString &message)
{
    m_series = nullptr;
    m_lines.clear();
    m_title = title;
    m_message = message;
    setAccessibleDescription(message);
    update();
}

void ControlChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_series) {
        painter.setPen(kFrame);
        painter.drawText(rect().adjusted(6, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, m_title);
        painter.setPen(Qt::darkGray);
        painter.drawText(rect().adjusted(12, 0, -12, 0), Qt::AlignCenter | Qt::TextWordWrap,
                         m_message);
        return;
    }
    paintSeries(painter);
}

void ControlChartView::paintSeries(QPainter &painter) const
{
    const QFontMetrics metrics(font());
    double low = m_series->low;
    double high = m_series->high;
    for (const stats::ChartLine &line : m_lines) {
        low = std::min(low, line.value);
        high = std::max(high, line.value);
    }
    const ValueScale scale(low, high);
    const std::vector<double> valueTicks = axisTicks(scale.low, scale.high, 5);
    const int labelWidth = widestLabel(metrics, m_lines);
    const PlotPainter area = valuePlot(painter, rect(), metrics, valueTicks, labelWidth);
    if (area.tooSmall())
        return;
    const std::vector<double> &values = m_series->values;
    const std::size_t n = values.size();
    auto y = [&](double value) { return area.yAt(scale.fraction(value)); };
    auto x = [&](double i) { return n == 1 ? area.plot.center().x() : area.xAt(i / double(n - 1)); };
    QPolygonF points;
    for (std::size_t i = 0; i < n; ++i)
        points << QPointF(x(double(i)), y(values[i]));
    const auto first = static_cast<double>(m_series->firstNumber);
    area.drawTitle(m_title);
    area.drawLeftAxis(valueTicks, y);
    area.drawBottomAxis(axisTicks(first, first + double(n) - 1, 8, 1.0),
                        [&](double t) { return x(t - first); }, 80);
    area.drawFrame();
    area.drawSeries(points, std::vector<bool>(n, false));
    area.drawHorizontalLines(m_lines, y, labelWidth);
    drawSignals(area, points);
}

/// A red diamond over each point that trips a test, larger than the
/// ordinary dot, with the tests' numbers above it.
void ControlChartView::drawSignals(const PlotPainter &area, const QPolygonF &points) const
{
    constexpr double kSize = 5.0;
    QPainter &painter = area.painter;
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < m_series->trippedTests.size(); ++i) {
        const stats::SpecialCauseTests tests = m_series->trippedTests[i];
        if (tests.empty())
            continue;
        const QPointF at = points[static_cast<qsizetype>(i)];
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSignal);
        painter.drawPolygon(QPolygonF{at + QPointF(0, -kSize), at + QPointF(kSize, 0),
                                      at + QPointF(0, kSize), at + QPointF(-kSize, 0)});
        painter.setPen(kSignal);
        painter.drawText(QRectF(at.x() - 40, at.y() - kSize - area.lineHeight, 80, area.lineHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QString::fromStdString(tests.numbersText()));
    }
}
