#include "sheetwin/SheetChartView.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <optional>

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
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_analysis.kind) {
        painter.drawText(rect(), Qt::AlignCenter, QString::fromStdString(m_analysis.reason));
        return;
    }
    const int half = height() * 3 / 5;
    paintChart(painter, QRect(0, 0, width(), half), false);
    paintChart(painter, QRect(0, half, width(), height() - half), true);
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
        painter.setPen(QPen(kLine, 1, style));
        for (const double v : {l->upper, l->center})
            painter.drawLine(QPointF(left, yAt(v)), QPointF(right, yAt(v)));
        if (l->lower)
            painter.drawLine(QPointF(left, yAt(*l->lower)), QPointF(right, yAt(*l->lower)));
    }
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
