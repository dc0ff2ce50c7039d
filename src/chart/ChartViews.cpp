#include "chart/ChartViews.h"

#include "chart/ChartNames.h"
#include "chart/ChartTexts.h"
#include "stats/Axis.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

QString tickText(double value)
{
    return QString::fromStdString(stats::tickText(value));
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

QFontMetrics metricsOf(const QPainter &painter)
{
    return QFontMetrics(painter.font(), painter.device());
}

/// The height of a line of the painter's font, rounded up: the rounded
/// ascent and descent may add up to less than the text's own height, and
/// lines set that far apart would touch.
/// A font with families to fall back on counts the tallest of them: a line
/// of Japanese text in a Latin font is drawn in the Japanese one.
int lineHeightOf(const QPainter &painter)
{
    qreal height = QFontMetricsF(painter.font(), painter.device()).height();
    for (const QString &family : painter.font().families()) {
        QFont face = painter.font();
        face.setFamilies({family});
        height = std::max(height, QFontMetricsF(face, painter.device()).height());
    }
    return static_cast<int>(std::ceil(height));
}

/// The plot of a chart over values in a whole area whose top left is the
/// origin: the tick texts stand left of it, the lines' labels (labelWidth
/// wide) right of it, the title above it.
PlotPainter valuePlot(QPainter &painter, const QRect &whole, const std::vector<double> &valueTicks,
                      int labelWidth)
{
    const QFontMetrics metrics = metricsOf(painter);
    const int lineHeight = lineHeightOf(painter);
    return {painter,
            QRectF(whole).adjusted(widestTickText(metrics, valueTicks) + 10, lineHeight + 8,
                                   -(labelWidth + 12), -(lineHeight + 10)),
            lineHeight};
}

/// Paints `paint` over an area of its own, its top left as the origin.
template <typename Paint> void paintInside(QPainter &painter, const QRect &area, Paint paint)
{
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    paint(QRect(QPoint(0, 0), area.size()));
    painter.restore();
}

} // namespace

// ---- the steps every chart shares ------------------------------------------

QString emptyChartText()
{
    return QStringLiteral("演算開始を押すと、そのときの一覧をここに描きます");
}

void drawEmptyChart(QPainter &painter, const QRect &area, const QString &title,
                    const QString &message)
{
    painter.setPen(kFrame);
    painter.drawText(area.adjusted(6, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, title);
    painter.setPen(Qt::darkGray);
    painter.drawText(area.adjusted(12, 0, -12, 0), Qt::AlignCenter | Qt::TextWordWrap, message);
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
        // A text at the plot's bottom stands just above it, clear of the
        // bottom axis' texts.
        const double top = std::min(y - lineHeight / 2.0, plot.bottom() - lineHeight + 2);
        painter.drawText(QRectF(0, top, plot.left() - 5, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(t));
    }
}

void PlotPainter::drawBottomAxis(const std::vector<double> &ticks,
                                 const std::function<double(double)> &xOf) const
{
    const QFontMetrics metrics = metricsOf(painter);
    std::vector<double> centres;
    std::vector<double> widths;
    QStringList texts;
    for (const double t : ticks) {
        texts << tickText(t);
        centres.push_back(xOf(t));
        widths.push_back(metrics.horizontalAdvance(texts.back()));
    }
    const std::size_t stride = stats::labelStride(centres, widths, lineHeight);
    painter.setPen(kFrame);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double x = centres[i];
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        if (i % stride == 0)
            painter.drawText(QRectF(x - widths[i] / 2 - 2, plot.bottom() + 3, widths[i] + 4,
                                    lineHeight),
                             Qt::AlignHCenter | Qt::AlignTop, texts[static_cast<qsizetype>(i)]);
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
        stats::spreadApart(heights, lineHeight, plot.top(), plot.bottom());
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

// ---- colours ------------------------------------------------------------------

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

// ---- the run chart -----------------------------------------------------------

namespace {

std::vector<bool> beyondLimit(const std::vector<stats::RunPoint> &points)
{
    std::vector<bool> beyond;
    beyond.reserve(points.size());
    for (const auto &point : points)
        beyond.push_back(point.beyondLimit);
    return beyond;
}

void paintRunPlot(QPainter &painter, const QRect &whole, const stats::ChartData &data)
{
    const stats::ValueScale scale(data.low, data.high);
    const std::vector<double> valueTicks = stats::axisTicks(scale.low, scale.high, 6);
    const int labelWidth = widestLabel(metricsOf(painter), data.lines);
    const PlotPainter area = valuePlot(painter, whole, valueTicks, labelWidth);
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

    area.drawTitle(runChartTitle());
    area.drawLeftAxis(valueTicks, y);
    // Item numbers start at 1, as a user counts them.
    area.drawBottomAxis(stats::numberTicks(1, static_cast<double>(n)),
                        [&](double t) { return x(static_cast<std::size_t>(t) - 1); });
    area.drawFrame();
    area.drawSeries(run, beyondLimit(data.points));
    area.drawHorizontalLines(data.lines, y, labelWidth);
}

} // namespace

QString runChartTitle()
{
    return QStringLiteral("推移（一覧の順）");
}

void paintRunChart(QPainter &painter, const QRect &area, const stats::ChartData &data)
{
    paintInside(painter, area, [&](const QRect &whole) {
        if (data.points.empty())
            drawEmptyChart(painter, whole, runChartTitle(), emptyChartText());
        else
            paintRunPlot(painter, whole, data);
    });
}

// ---- the histogram ------------------------------------------------------------

namespace {

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

std::size_t rowCount(const std::vector<LabelPlace> &places)
{
    std::size_t rows = 0;
    for (const LabelPlace &place : places)
        rows = std::max(rows, place.row + 1);
    return rows;
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

/// The normal curve's value positions and heights, sampled every few pixels
/// across a plot `plotWidth` wide; empty without a curve.
struct NormalCurve
{
    std::vector<double> xs;
    std::vector<double> heights;

    double peak() const
    {
        return heights.empty() ? 0.0 : *std::max_element(heights.begin(), heights.end());
    }
};

NormalCurve normalCurve(const stats::ChartContent &content, const stats::ValueScale &scale,
                        double plotWidth)
{
    const stats::Histogram &histogram = content.data.histogram;
    std::int64_t count = 0;
    for (const auto &c : histogram.classes)
        count += c.count;
    const int samples = std::max(2, static_cast<int>(plotWidth / 3));
    NormalCurve curve;
    for (int i = 0; i <= samples; ++i)
        curve.xs.push_back(scale.low + (scale.high / 2 - scale.low / 2) * 2 * i / samples);
    curve.heights = stats::normalCurveHeights(curve.xs, content.mean, content.sampleSigma.value,
                                              count, histogram.width);
    if (curve.heights.size() != curve.xs.size())
        curve = {};
    return curve;
}

void drawNormalCurve(const PlotPainter &area, const stats::ValueScale &scale,
                     const NormalCurve &curve, const std::function<double(double)> &yOf)
{
    QPolygonF line;
    for (std::size_t i = 0; i < curve.xs.size(); ++i)
        line << QPointF(area.xAt(scale.fraction(curve.xs[i])), yOf(curve.heights[i]));
    area.painter.save();
    area.painter.setClipRect(area.plot);
    area.painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kCurve, 2.0);
    pen.setCosmetic(true);
    area.painter.setPen(pen);
    area.painter.drawPolyline(line);
    area.painter.restore();
}

QString histogramTitle()
{
    return QStringLiteral("ヒストグラム");
}

void paintHistogramPlot(QPainter &painter, const QRect &whole, const stats::ChartContent &content)
{
    const stats::ChartData &data = content.data;
    const QFontMetrics metrics = metricsOf(painter);
    const int lineHeight = lineHeightOf(painter);
    const stats::ValueScale scale(data.low, data.high);
    std::int64_t most = 1;
    for (const auto &c : data.histogram.classes)
        most = std::max(most, c.count);
    // The plot's width is known before its height: the lines' labels stand
    // above it, in as many rows as they need. The count axis needs the
    // curve's peak, so the curve is sampled across that width first.
    const double right = QRectF(whole).adjusted(0, 0, -12, 0).right();
    const NormalCurve curve = normalCurve(content, scale, right);
    const stats::CountAxis counts =
        stats::countAxis(std::max(static_cast<double>(most), curve.peak()));
    const double left =
        widestTickText(metrics, counts.ticks, metrics.horizontalAdvance(QStringLiteral("0"))) + 10;
    auto xIn = [&](double value) { return left + scale.fraction(value) * (right - left); };
    const std::vector<LabelPlace> labels = labelPlaces(data.lines, metrics, xIn, left, right);
    const double labelsTop = lineHeight + 8;
    const double top = labelsTop + static_cast<double>(rowCount(labels)) * lineHeight;
    const PlotPainter area{
        painter, QRectF(left, top, right - left, whole.height() - top - (lineHeight + 10)),
        lineHeight};
    if (area.tooSmall())
        return;
    auto x = [&](double value) { return area.xAt(scale.fraction(value)); };
    auto y = [&](double count) { return area.yAt(count / counts.ceiling); };

    area.drawTitle(histogramTitle());
    area.drawLeftAxis(counts.ticks, y);
    area.drawBottomAxis(stats::axisTicks(scale.low, scale.high, 6), x);
    drawBars(area, data.histogram, x, y);
    drawNormalCurve(area, scale, curve, y);
    area.drawFrame();
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const stats::ChartLine &line = data.lines[i];
        area.drawVerticalLine(line.kind, x(line.value));
        const LabelPlace &label = labels[i];
        area.drawLineLabel(line.kind,
                           QRectF(label.left,
                                  labelsTop + static_cast<double>(label.row) * lineHeight,
                                  label.width, lineHeight),
                           Qt::AlignCenter, line.label);
    }
}

} // namespace

void paintHistogram(QPainter &painter, const QRect &area, const stats::ChartContent &content)
{
    paintInside(painter, area, [&](const QRect &whole) {
        if (content.data.histogram.classes.empty())
            drawEmptyChart(painter, whole, histogramTitle(), emptyChartText());
        else
            paintHistogramPlot(painter, whole, content);
    });
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

namespace {

QString controlChartTitle(const stats::ControlSeries &series)
{
    return QString::fromStdString(series.name) + QStringLiteral(" 管理図");
}

/// A red diamond over each point that trips a test, larger than the
/// ordinary dot, with its mark above it where there is room.
void drawSignals(const PlotPainter &area, const stats::ControlSeries &series,
                 const QPolygonF &points, const std::vector<std::string> *marks)
{
    constexpr double kSize = 5.0;
    QPainter &painter = area.painter;
    const QFontMetrics metrics = metricsOf(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    std::vector<QRectF> written;
    for (std::size_t i = 0; i < series.trippedTests.size(); ++i) {
        const stats::SpecialCauseTests tests = series.trippedTests[i];
        if (tests.empty())
            continue;
        const QPointF at = points[static_cast<qsizetype>(i)];
        painter.setPen(Qt::NoPen);
        painter.setBrush(kSignal);
        painter.drawPolygon(QPolygonF{at + QPointF(0, -kSize), at + QPointF(kSize, 0),
                                      at + QPointF(0, kSize), at + QPointF(-kSize, 0)});
        const QString mark = QString::fromStdString(
            marks && i < marks->size() ? (*marks)[i] : tests.numbersText());
        const double width = metrics.horizontalAdvance(mark) + 2;
        const QRectF &plot = area.plot;
        const auto clear = [&](const QRectF &box) {
            return plot.contains(box) &&
                   std::none_of(written.begin(), written.end(),
                                [&](const QRectF &other) { return other.intersects(box); });
        };
        // Above the point, or below it when a mark already stands there;
        // within the plot, so no mark runs into the axes' texts.
        QRectF box(std::clamp(at.x() - width / 2, plot.left(), std::max(plot.left(), plot.right() - width)),
                   at.y() - kSize - area.lineHeight, width, area.lineHeight);
        if (!clear(box))
            box.moveTop(at.y() + kSize);
        if (!clear(box))
            continue;
        written.push_back(box);
        painter.setPen(kSignal);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip, mark);
    }
}

void paintControlPlot(QPainter &painter, const QRect &whole, const stats::ControlSeries &series,
                      const std::vector<stats::ChartLine> &toleranceLines,
                      const std::vector<std::string> *marks)
{
    std::vector<stats::ChartLine> lines = controlLines(series);
    lines.insert(lines.end(), toleranceLines.begin(), toleranceLines.end());
    double low = series.low;
    double high = series.high;
    for (const stats::ChartLine &line : lines) {
        low = std::min(low, line.value);
        high = std::max(high, line.value);
    }
    const stats::ValueScale scale(low, high);
    const std::vector<double> valueTicks = stats::axisTicks(scale.low, scale.high, 5);
    const int labelWidth = widestLabel(metricsOf(painter), lines);
    const PlotPainter area = valuePlot(painter, whole, valueTicks, labelWidth);
    if (area.tooSmall())
        return;
    const std::vector<double> &values = series.values;
    const std::size_t n = values.size();
    auto y = [&](double value) { return area.yAt(scale.fraction(value)); };
    auto x = [&](double i) {
        return n == 1 ? area.plot.center().x() : area.xAt(i / double(n - 1));
    };
    QPolygonF points;
    for (std::size_t i = 0; i < n; ++i)
        points << QPointF(x(double(i)), y(values[i]));
    const auto first = static_cast<double>(series.firstNumber);
    area.drawTitle(controlChartTitle(series));
    area.drawLeftAxis(valueTicks, y);
    area.drawBottomAxis(stats::numberTicks(first, first + double(n) - 1),
                        [&](double t) { return x(t - first); });
    area.drawFrame();
    area.drawSeries(points, std::vector<bool>(n, false));
    area.drawHorizontalLines(lines, y, labelWidth);
    drawSignals(area, series, points, marks);
}

} // namespace

void paintControlSeries(QPainter &painter, const QRect &area, const stats::ControlSeries &series,
                        const std::vector<stats::ChartLine> &toleranceLines,
                        const std::vector<std::string> *marks)
{
    paintInside(painter, area, [&](const QRect &whole) {
        paintControlPlot(painter, whole, series, toleranceLines, marks);
    });
}

// ---- the views ----------------------------------------------------------------

ChartView::ChartView(const char *name, const QString &accessibleName, const QString &title,
                     int minimumHeight, QWidget *parent)
    : QWidget(parent), m_title(title), m_message(emptyChartText())
{
    setObjectName(QLatin1String(name));
    setAccessibleName(accessibleName);
    setAccessibleDescription(m_message);
    setMinimumSize(300, minimumHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::showMessage(const QString &title, const QString &message)
{
    m_title = title;
    m_message = message;
    m_showsChart = false;
    setAccessibleDescription(message);
    update();
}

void ChartView::showChart(const QString &title, const QString &description)
{
    m_title = title;
    m_message.clear();
    m_showsChart = true;
    setAccessibleDescription(description);
    update();
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_showsChart)
        paintChart(painter);
    else
        drawEmptyChart(painter, rect(), m_title, m_message);
}

RunChartView::RunChartView(QWidget *parent)
    : ChartView(chart::names::kRunChart, QStringLiteral("推移グラフ"), runChartTitle(), 150, parent)
{
}

void RunChartView::setContent(std::shared_ptr<const stats::ChartContent> content)
{
    m_content = std::move(content);
    if (m_content)
        showChart(title(), QString::fromStdString(stats::runChartDescription(m_content->data)));
    else
        showMessage(title(), emptyChartText());
}

void RunChartView::paintChart(QPainter &painter) const
{
    paintRunChart(painter, rect(), m_content->data);
}

HistogramView::HistogramView(QWidget *parent)
    : ChartView(chart::names::kHistogram, QStringLiteral("ヒストグラム"), histogramTitle(), 150,
                parent)
{
}

void HistogramView::setContent(std::shared_ptr<const stats::ChartContent> content)
{
    m_content = std::move(content);
    if (m_content)
        showChart(title(), QString::fromStdString(stats::histogramDescription(m_content->data)));
    else
        showMessage(title(), emptyChartText());
}

void HistogramView::paintChart(QPainter &painter) const
{
    paintHistogram(painter, rect(), *m_content);
}

ControlChartView::ControlChartView(const char *name, const QString &accessibleName,
                                   QWidget *parent)
    : ChartView(name, accessibleName, QString(), 120, parent)
{
}

void ControlChartView::setSeries(std::shared_ptr<const stats::ControlSeries> series,
                                 std::vector<stats::ChartLine> toleranceLines)
{
    m_series = std::move(series);
    m_toleranceLines = std::move(toleranceLines);
    showChart(controlChartTitle(*m_series),
              QString::fromStdString(chart::controlChartDescription(*m_series)));
}

void ControlChartView::setMessage(const QString &title, const QString &message)
{
    m_series.reset();
    m_toleranceLines.clear();
    showMessage(title, message);
}

void ControlChartView::paintChart(QPainter &painter) const
{
    paintControlSeries(painter, rect(), *m_series, m_toleranceLines);
}
