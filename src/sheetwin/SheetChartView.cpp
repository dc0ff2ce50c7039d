#include "sheetwin/SheetChartView.h"

#include "print/PdfPage.h"
#include "stats/NumberText.h"

#include <QFileInfo>
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
    paintCharts(painter, rect());
}

void SheetChartView::paintCharts(QPainter &painter, const QRect &area) const
{
    painter.fillRect(area, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_analysis.kind) {
        painter.drawText(area, Qt::AlignCenter, QString::fromStdString(m_analysis.reason));
        return;
    }
    const int half = area.height() * 3 / 5;
    paintChart(painter, QRect(area.left(), area.top(), area.width(), half), false);
    paintChart(painter, QRect(area.left(), area.top() + half, area.width(), area.height() - half), true);
}

QImage SheetChartView::picture(const QSize &size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setFont(font());
    paintCharts(painter, QRect(QPoint(0, 0), size));
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

void SheetChartView::paintChart(QPainter &painter, const QRect &area, bool spread) const
{
    const QRect plot = area.adjusted(48, 20, -12, -18);
    const std::string name = spread ? sheet::spreadName(*m_analysis.kind)
                                    : sheet::locationName(*m_analysis.kind);
    painter.setPen(kPoint);
    painter.drawText(area.adjusted(6, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(name + " 管理図"));
    // The range that holds every point and every line.
    double low = INFINITY, high = -INFINITY;
    for (const sheet::SheetPoint &point : m_analysis.points)
        if (const auto v = valueOf(point, spread))
            low = std::min(low, *v), high = std::max(high, *v);
    for (const sheet::PhaseOutcome &phase : m_analysis.phases)
        if (const auto *l = limitsOf(phase, spread)) {
            low = std::min({low, l->center, l->lower.value_or(l->center)});
            high = std::max(high, l->upper);
        }
    if (!(low <= high) || m_analysis.points.empty())
        return;
    if (high == low)
        high = low + 1;
    const double count = static_cast<double>(m_analysis.points.size());
    const auto xAt = [&](double row) {
        return plot.left() + (row + 0.5) / count * plot.width();
    };
    const auto yAt = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawRect(plot);
    // Each phase's lines over its own rows.
    for (const sheet::PhaseOutcome &phase : m_analysis.phases) {
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
            painter.drawText(QPointF(left + 3, yAt(v) - 2),
                             QString::fromStdString(std::string(name) + " " + stats::formatResult(v)));
        }
    }
    // Group numbers along the bottom, about ten of them.
    painter.setPen(kPoint);
    const std::size_t step = std::max<std::size_t>(1, m_analysis.points.size() / 10);
    for (std::size_t r = 0; r < m_analysis.points.size(); r += step)
        painter.drawText(QPointF(xAt(static_cast<double>(r)) - 6, plot.bottom() + 14),
                         QString::number(r + 1));
    // The points, joined where neighbours both have one.
    QPainterPath path;
    bool joined = false;
    for (std::size_t r = 0; r < m_analysis.points.size(); ++r) {
        const auto v = valueOf(m_analysis.points[r], spread);
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
    for (std::size_t r = 0; r < m_analysis.points.size(); ++r) {
        const sheet::SheetPoint &point = m_analysis.points[r];
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
}

} // namespace sheetwin
