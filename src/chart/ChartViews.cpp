#include "chart/ChartViews.h"

#include "stats/NumberText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Past this many points the joining line is drawn without antialiasing, and
// plain points lose their markers when they stand closer than this many pixels.
constexpr std::size_t kSmoothPoints = 2000;
constexpr double kMarkerSpacing = 5.0;

const QColor kFrame(96, 96, 96);
const QColor kGrid(228, 228, 228);

/// Round steps of 1, 2 or 5 times a power of ten, about `wanted` of them
/// between low and high.
std::vector<double> axisTicks(double low, double high, int wanted, double smallestStep = 0.0)
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

/// The value range shown: the data's range with a little room on each side.
struct ValueScale
{
    double low = 0;
    double high = 1;

    // In halves, so that a range from near the lowest double to near the
    // highest (a tolerance far out) still scales to finite pixels.
    explicit ValueScale(const stats::ChartData &data)
    {
        const double room = (data.high / 2 - data.low / 2) * 0.08;
        low = std::max(data.low - room, -std::numeric_limits<double>::max());
        high = std::min(data.high + room, std::numeric_limits<double>::max());
    }
    double fraction(double value) const { return (value / 2 - low / 2) / (high / 2 - low / 2); }
};

const QString kEmptyText = QStringLiteral("演算開始を押すと、そのときの一覧をここに描きます");

void drawEmpty(QPainter &painter, const QRect &area, const QString &title)
{
    painter.setPen(kFrame);
    painter.drawText(area.adjusted(6, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, title);
    painter.setPen(Qt::darkGray);
    painter.drawText(area, Qt::AlignCenter, kEmptyText);
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

} // namespace

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

ChartView::ChartView(const QString &name, const QString &accessibleName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    setAccessibleName(accessibleName);
    setAccessibleDescription(kEmptyText);
    setMinimumSize(300, 150);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::setData(const stats::ChartData *data)
{
    m_data = data;
    setAccessibleDescription(data ? QString::fromStdString(describe(*data)) : kEmptyText);
    update();
}

RunChartView::RunChartView(QWidget *parent)
    : ChartView(QStringLiteral("runChart"), QStringLiteral("推移グラフ"), parent)
{
}

std::string RunChartView::describe(const stats::ChartData &data) const
{
    return stats::runChartDescription(data);
}

void RunChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QString title = QStringLiteral("推移（一覧の順）");
    if (!m_data || m_data->points.empty()) {
        drawEmpty(painter, rect(), title);
        return;
    }
    const stats::ChartData &data = *m_data;
    const QFontMetrics metrics(font());
    const ValueScale scale(data);
    const std::vector<double> valueTicks = axisTicks(scale.low, scale.high, 6);
    int tickWidth = 0;
    for (const double t : valueTicks)
        tickWidth = std::max(tickWidth, metrics.horizontalAdvance(tickText(t)));
    int labelWidth = 0;
    for (const auto &line : data.lines)
        labelWidth = std::max(labelWidth,
                              metrics.horizontalAdvance(QString::fromStdString(line.label)));
    const int lineHeight = metrics.height();
    const QRectF plot = QRectF(rect()).adjusted(tickWidth + 10, lineHeight + 8,
                                                -(labelWidth + 12), -(lineHeight + 10));
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const std::size_t n = data.points.size();
    auto y = [&](double v) { return plot.bottom() - scale.fraction(v) * plot.height(); };
    auto x = [&](std::size_t i) {
        return n == 1 ? plot.center().x()
                      : plot.left() + static_cast<double>(i) * plot.width() / double(n - 1);
    };

    painter.setPen(kFrame);
    painter.drawText(QRectF(plot.left(), 2, plot.width(), lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    for (const double t : valueTicks) {
        const double ty = y(t);
        painter.setPen(kGrid);
        painter.drawLine(QPointF(plot.left(), ty), QPointF(plot.right(), ty));
        painter.setPen(kFrame);
        painter.drawText(QRectF(0, ty - lineHeight / 2.0, plot.left() - 5, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(t));
    }
    // Item numbers start at 1, as a user counts them.
    for (const double t : axisTicks(1, static_cast<double>(n), 8, 1.0)) {
        const double tx = x(static_cast<std::size_t>(t) - 1);
        painter.setPen(kFrame);
        painter.drawLine(QPointF(tx, plot.bottom()), QPointF(tx, plot.bottom() + 3));
        painter.drawText(QRectF(tx - 40, plot.bottom() + 3, 80, lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, tickText(t));
    }
    painter.setPen(kFrame);
    painter.drawRect(plot);

    // The values, joined.
    QPolygonF run;
    run.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i)
        run << QPointF(x(i), y(data.points[i].value));
    painter.setRenderHint(QPainter::Antialiasing, n <= kSmoothPoints);
    QPen runPen(ChartStyle::pointColour(false), 1.0);
    runPen.setCosmetic(true);
    painter.setPen(runPen);
    painter.drawPolyline(n > kSmoothPoints ? columnEnvelope(run) : run);

    const bool markEvery = n == 1 || plot.width() / double(n - 1) >= kMarkerSpacing;
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < n; ++i) {
        const bool beyond = data.points[i].beyondLimit;
        if (!beyond && !markEvery)
            continue;
        painter.setBrush(ChartStyle::pointColour(beyond));
        const double r = beyond ? 3.0 : 2.0;
        painter.drawEllipse(run[static_cast<qsizetype>(i)], r, r);
    }

    // The lines, each labelled beside the plot with the result box's text.
    std::vector<double> centres;
    for (const auto &line : data.lines)
        centres.push_back(y(line.value));
    const std::vector<double> placed =
        spread(centres, lineHeight, plot.top(), plot.bottom());
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const auto &line = data.lines[i];
        painter.setPen(linePen(line.kind));
        painter.drawLine(QPointF(plot.left(), centres[i]), QPointF(plot.right(), centres[i]));
        painter.setPen(ChartStyle::lineColour(line.kind));
        painter.drawText(QRectF(plot.right() + 6, placed[i] - lineHeight / 2.0, labelWidth + 6,
                                lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(line.label));
    }
}

HistogramView::HistogramView(QWidget *parent)
    : ChartView(QStringLiteral("histogram"), QStringLiteral("ヒストグラム"), parent)
{
}

std::string HistogramView::describe(const stats::ChartData &data) const
{
    return stats::histogramDescription(data);
}

void HistogramView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QString title = QStringLiteral("ヒストグラム");
    if (!m_data || m_data->histogram.classes.empty()) {
        drawEmpty(painter, rect(), title);
        return;
    }
    const stats::ChartData &data = *m_data;
    const stats::Histogram &histogram = data.histogram;
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const ValueScale scale(data);

    // Line labels stand above the plot, each in the first row where it fits.
    std::vector<int> rowOf(data.lines.size(), 0);
    std::vector<double> labelAt(data.lines.size(), 0.0);
    std::vector<double> labelWidth(data.lines.size(), 0.0);
    std::vector<std::vector<std::pair<double, double>>> rows;
    const QRectF outer = QRectF(rect()).adjusted(0, 0, -12, 0);
    std::int64_t most = 1;
    for (const auto &c : histogram.classes)
        most = std::max(most, c.count);
    const std::vector<double> countTicks = axisTicks(0, static_cast<double>(most), 4, 1.0);
    // Room above the tallest class, up to the next count tick.
    double ceiling = static_cast<double>(most);
    if (countTicks.size() >= 2)
        ceiling = std::max(ceiling + 0.5 * (countTicks[1] - countTicks[0]),
                           countTicks.back() + (countTicks[1] - countTicks[0]) * 0.25);
    int tickWidth = metrics.horizontalAdvance(QStringLiteral("0"));
    for (const double t : countTicks)
        tickWidth = std::max(tickWidth, metrics.horizontalAdvance(tickText(t)));
    const double left = tickWidth + 10;
    auto xIn = [&](double v, double l, double w) { return l + scale.fraction(v) * w; };
    const double plotWidth = outer.right() - left;
    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const QString label = QString::fromStdString(data.lines[i].label);
        const double w = metrics.horizontalAdvance(label) + 8;
        const double at = std::clamp(xIn(data.lines[i].value, left, plotWidth) - w / 2, left,
                                     std::max(left, outer.right() - w));
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
        rowOf[i] = static_cast<int>(row);
        labelAt[i] = at;
        labelWidth[i] = w;
    }
    const double top = lineHeight + 8 + static_cast<double>(rows.size()) * lineHeight;
    const QRectF plot(left, top, plotWidth, rect().height() - top - (lineHeight + 10));
    if (plot.width() < 10 || plot.height() < 10)
        return;
    auto x = [&](double v) { return xIn(v, plot.left(), plot.width()); };
    auto y = [&](double count) { return plot.bottom() - count / ceiling * plot.height(); };

    painter.setPen(kFrame);
    painter.drawText(QRectF(plot.left(), 2, plot.width(), lineHeight + 4),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    for (const double t : countTicks) {
        painter.setPen(kGrid);
        painter.drawLine(QPointF(plot.left(), y(t)), QPointF(plot.right(), y(t)));
        painter.setPen(kFrame);
        painter.drawText(QRectF(0, y(t) - lineHeight / 2.0, plot.left() - 5, lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, tickText(t));
    }
    for (const double t : axisTicks(scale.low, scale.high, 6)) {
        painter.drawLine(QPointF(x(t), plot.bottom()), QPointF(x(t), plot.bottom() + 3));
        painter.drawText(QRectF(x(t) - 50, plot.bottom() + 3, 100, lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, tickText(t));
    }

    painter.setPen(QColor(49, 130, 189));
    painter.setBrush(QColor(158, 202, 225));
    for (const auto &c : histogram.classes) {
        if (c.count > 0)
            painter.drawRect(QRectF(QPointF(x(c.lower), y(double(c.count))),
                                    QPointF(x(c.upper), plot.bottom())));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(kFrame);
    painter.drawRect(plot);

    for (std::size_t i = 0; i < data.lines.size(); ++i) {
        const auto &line = data.lines[i];
        const double lx = x(line.value);
        painter.setPen(linePen(line.kind));
        painter.drawLine(QPointF(lx, plot.top()), QPointF(lx, plot.bottom()));
        const double labelTop = lineHeight + 8 + rowOf[i] * lineHeight;
        painter.setPen(ChartStyle::lineColour(line.kind));
        painter.drawText(QRectF(labelAt[i], labelTop, labelWidth[i], lineHeight), Qt::AlignCenter,
                         QString::fromStdString(line.label));
    }
}
