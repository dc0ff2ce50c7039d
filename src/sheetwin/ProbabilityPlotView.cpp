#include "sheetwin/ProbabilityPlotView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sheetwin {

ProbabilityPlotView::ProbabilityPlotView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ProbabilityPlot"));
    setAccessibleName(QStringLiteral("正規確率プロット"));
    setMinimumSize(200, 160);
}

void ProbabilityPlotView::setValues(const std::vector<double> &values, double mean, double s)
{
    m_points = sheet::probabilityPlot(values);
    m_mean = mean;
    m_sigma = s;
    update();
}

void ProbabilityPlotView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawText(rect().adjusted(6, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("正規確率プロット"));
    if (m_points.size() < 2 || !(m_sigma > 0.0) || !std::isfinite(m_sigma))
        return;
    const QRectF plot = QRectF(rect()).adjusted(30, 20, -10, -16);
    const double low = m_points.front().value, high = m_points.back().value;
    const double span = high > low ? high - low : 1.0;
    const double zLimit = std::max(std::abs(m_points.front().quantile), std::abs(m_points.back().quantile));
    const auto xAt = [&](double v) { return plot.left() + (v - low) / span * plot.width(); };
    const auto yAt = [&](double z) { return plot.center().y() - z / zLimit * plot.height() / 2; };
    painter.setPen(QPen(Qt::gray, 1));
    painter.drawRect(plot);
    // A normal distribution of the values' mean and s lies on this line.
    painter.setPen(QPen(QColor(0x20, 0x40, 0xA0), 1));
    painter.drawLine(QPointF(xAt(m_mean - zLimit * m_sigma), yAt(-zLimit)),
                     QPointF(xAt(m_mean + zLimit * m_sigma), yAt(zLimit)));
    painter.setClipRect(plot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x20, 0x20));
    for (const sheet::ProbabilityPoint &point : m_points)
        painter.drawEllipse(QPointF(xAt(point.value), yAt(point.quantile)), 2.0, 2.0);
}

} // namespace sheetwin
