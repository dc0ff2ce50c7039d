#include "sheetwin/SheetChartView.h"

#include "print/PdfPage.h"
#include "stats/NumberText.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sheetwin {

namespace {

const QColor kLine(0x20, 0x40, 0xA0);
const QColor kPoint(0x20, 0x20, 0x20);
const QColor kSignalPoint(0xC0, 0x00, 0x00);

std::optional<double> valueOf(const sheet::SheetPoint &point, bool spread)
{
    return spread ? point.spread : point.location;
}

const stats::ControlLimits *limitsOf(const sheet::PhaseOutcome &phase, bool spread)
{
    if (!phase.limits)
        return nullptr;
    return spread ? &phase.limits->spread : &phase.limits->location;
}

/// A dotted line where each phase after the first starts, its title at the top.
/// `leftmost`: where the chart's own title ends, which no phase title covers.
template <typename XAt>
void paintPhaseStarts(QPainter &painter, const QRect &plot, const sheet::SheetAnalysis &analysis,
                      const XAt &xAt, double leftmost)
{
    for (std::size_t i = 0; i < analysis.phases.size(); ++i) {
        const sheet::PhaseOutcome &phase = analysis.phases[i];
        if (phase.empty)
            continue;
        const double x = xAt(static_cast<double>(phase.firstRow) - 0.5);
        if (i > 0) {
            painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        painter.setPen(Qt::darkGray);
        painter.drawText(QPointF(std::max(x + 3, leftmost), plot.top() - 3),
                         QString::fromStdString(phase.title));
    }
}

/// The numbers of the signal lines beside the points that trip a test:
/// above the point, or below it where another text stands there already,
/// and left out where neither has room.
template <typename XAt, typename YAt>
void paintMarks(QPainter &painter, const QRect &plot, const sheet::SheetAnalysis &analysis,
                bool spread, const std::vector<std::string> &marks, const XAt &xAt, const YAt &yAt,
                std::vector<QRectF> &taken)
{
    const QFontMetricsF metrics(painter.font());
    const auto clear = [&](const QRectF &box) {
        return QRectF(plot).contains(box) &&
               std::none_of(taken.begin(), taken.end(), [&](const QRectF &t) { return t.intersects(box); });
    };
    painter.setPen(kSignalPoint);
    for (std::size_t r = 0; r < analysis.points.size() && r < marks.size(); ++r) {
        const auto v = valueOf(analysis.points[r], spread);
        if (!v || marks[r].empty())
            continue;
        const QString mark = QString::fromStdString(marks[r]);
        const double width = metrics.horizontalAdvance(mark) + 2;
        const QPointF at(xAt(static_cast<double>(r)), yAt(*v));
        QRectF box(at.x() - width / 2, at.y() - 4 - metrics.height(), width, metrics.height());
        if (!clear(box))
            box.moveTop(at.y() + 4);
        if (!clear(box))
            continue;
        taken.push_back(box);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip, mark);
    }
}

void paintChart(QPainter &painter, const QRect &area, const sheet::SheetAnalysis &analysis,
                bool spread, const std::vector<std::string> *marks)
{
    const QRect plot = area.adjusted(48, 20, -12, -18);
    const std::string name = spread ? sheet::spreadName(*analysis.kind)
                                    : sheet::locationName(*analysis.kind);
    painter.setPen(kPoint);
    const QString title = QString::fromStdString(name + " 管理図");
    painter.drawText(area.adjusted(6, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, title);
    const double titleRight = area.left() + 6 + QFontMetricsF(painter.font()).horizontalAdvance(title) + 6;
    // The range that holds every point and every line.
    double low = INFINITY, high = -INFINITY;
    for (const sheet::SheetPoint &point : analysis.points)
        if (const auto v = valueOf(point, spread))
            low = std::min(low, *v), high = std::max(high, *v);
    for (const sheet::PhaseOutcome &phase : analysis.phases)
        if (const auto *l = limitsOf(phase, spread)) {
            low = std::min({low, l->center, l->lower.value_or(l->center)});
            high = std::max(high, l->upper);
        }
    if (!(low <= high) || analysis.points.empty())
        return;
    if (high == low)
        high = low + 1;
    // Room above the highest line for its label and the phases' titles, and
    // below the lowest for its label.
    const double span = high - low;
    high += span * 0.12;
    low -= span * 0.06;
    const double count = static_cast<double>(analysis.points.size());
    const auto xAt = [&](double row) {
        return plot.left() + (row + 0.5) / count * plot.width();
    };
    const auto yAt = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawRect(plot);
    paintPhaseStarts(painter, plot, analysis, xAt, titleRight);
    std::vector<QRectF> taken; // the texts in the plot so far, which no mark may cover
    // Each phase's lines over its own rows.
    for (const sheet::PhaseOutcome &phase : analysis.phases) {
        const auto *l = limitsOf(phase, spread);
        if (!l || phase.empty)
            continue;
        const double left = xAt(static_cast<double>(phase.firstRow) - 0.5);
        const double right = xAt(static_cast<double>(phase.lastRow) + 0.5);
        const Qt::PenStyle style = phase.source == sheet::LimitSource::OwnRows ? Qt::SolidLine
                                                                               : Qt::DashDotLine;
        std::vector<std::pair<const char *, double>> lines = {{"UCL", l->upper}, {"CL", l->center}};
        if (l->lower)
            lines.push_back({"LCL", *l->lower});
        for (const auto &[name, v] : lines) {
            painter.setPen(QPen(kLine, 1, style));
            painter.drawLine(QPointF(left, yAt(v)), QPointF(right, yAt(v)));
            painter.setPen(kLine);
            const QString label = QString::fromStdString(std::string(name) + " " + stats::formatResult(v));
            const QFontMetricsF labelMetrics(painter.font());
            taken.push_back(QRectF(left + 3, yAt(v) - 2 - labelMetrics.ascent(),
                                   labelMetrics.horizontalAdvance(label), labelMetrics.height()));
            painter.drawText(QPointF(left + 3, yAt(v) - 2), label);
        }
    }
    // Group numbers along the bottom, about ten of them, never closer than
    // the widest of them.
    painter.setPen(kPoint);
    const QFontMetricsF metrics(painter.font());
    const double widest = metrics.horizontalAdvance(QString::number(analysis.points.size())) + 6;
    const double perRow = plot.width() / count;
    const std::size_t step = std::max<std::size_t>(
        {1, analysis.points.size() / 10, static_cast<std::size_t>(std::ceil(widest / perRow))});
    for (std::size_t r = 0; r < analysis.points.size(); r += step) {
        const QString number = QString::number(r + 1);
        painter.drawText(QPointF(xAt(static_cast<double>(r)) - metrics.horizontalAdvance(number) / 2,
                                 plot.bottom() + 14),
                         number);
    }
    // The points, joined where neighbours both have one.
    QPainterPath path;
    bool joined = false;
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        const auto v = valueOf(analysis.points[r], spread);
        if (!v) {
            joined = false;
            continue;
        }
        const QPointF at(xAt(static_cast<double>(r)), yAt(*v));
        joined ? path.lineTo(at) : path.moveTo(at);
        joined = true;
    }
    painter.setPen(QPen(kPoint, 1));
    painter.drawPath(path);
    for (std::size_t r = 0; r < analysis.points.size(); ++r) {
        const sheet::SheetPoint &point = analysis.points[r];
        const auto v = valueOf(point, spread);
        if (!v)
            continue;
        const bool tripped = !(spread ? point.spreadTests : point.locationTests).empty();
        const QColor color = tripped ? kSignalPoint : kPoint;
        painter.setPen(QPen(color, 1.2));
        painter.setBrush(point.excluded ? QBrush(Qt::white) : QBrush(color));
        painter.drawEllipse(QPointF(xAt(static_cast<double>(r)), yAt(*v)), 3.0, 3.0);
    }
    painter.setBrush(Qt::NoBrush);
    if (marks)
        paintMarks(painter, plot, analysis, spread, *marks, xAt, yAt, taken);
}

} // namespace

SheetChartView::SheetChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SheetChart"));
    setMinimumSize(320, 240);
    setAccessibleName(QStringLiteral("管理図"));
}

void SheetChartView::setAnalysis(const sheet::SheetAnalysis &analysis)
{
    m_analysis = analysis;
    update();
}

void SheetChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintSheetCharts(painter, rect(), m_analysis);
}

void paintSheetCharts(QPainter &painter, const QRect &area, const sheet::SheetAnalysis &analysis,
                      const SheetChartMarks *marks)
{
    painter.fillRect(area, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!analysis.kind) {
        painter.drawText(area, Qt::AlignCenter, QString::fromStdString(analysis.reason));
        return;
    }
    const int half = area.height() * 3 / 5;
    paintChart(painter, QRect(area.left(), area.top(), area.width(), half), analysis, false,
               marks ? &marks->location : nullptr);
    paintChart(painter, QRect(area.left(), area.top() + half, area.width(), area.height() - half),
               analysis, true, marks ? &marks->spread : nullptr);
}

QImage SheetChartView::picture(const QSize &size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setFont(font());
    paintSheetCharts(painter, QRect(QPoint(0, 0), size), m_analysis);
    return image;
}

QString SheetChartView::saveImage(const QString &path, const QSize &size) const
{
    const QString type = QFileInfo(path).suffix().toLower();
    if (type != QLatin1String("png") && type != QLatin1String("pdf"))
        return QStringLiteral("ファイルの種類は .png か .pdf にしてください。");
    const QImage image = picture(size);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (type == QLatin1String("png")) {
        if (!image.save(&file, "PNG"))
            return QStringLiteral("画像を書き出せませんでした。");
    } else {
        // One page of the picture's size, a point to a pixel.
        QPdfWriter pdf(&file);
        print::setUpPdfPage(pdf, {.size = QPageSize(QSizeF(size), QPageSize::Point, QString(),
                                                    QPageSize::ExactMatch),
                                  .resolution = 72,
                                  .title = QStringLiteral("管理図シート"),
                                  .creator = QStringLiteral("Vorla"),
                                  .margins = QMarginsF(0, 0, 0, 0)});
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("PDF を書き出せませんでした。");
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), image);
        painter.end();
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}


} // namespace sheetwin
