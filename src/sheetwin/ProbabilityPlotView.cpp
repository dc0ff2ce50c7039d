#include "sheetwin/ProbabilityPlotView.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <climits>
#include <cmath>

namespace sheetwin {

namespace {
// More points than the plot has pixels show nothing more.
constexpr std::size_t kMostPoints = 1000;
} // namespace

ProbabilityPlotView::ProbabilityPlotView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ProbabilityPlot"));
    setAccessibleName(QStringLiteral("正規確率プロット"));
    setMinimumSize(200, 160);
}

void ProbabilityPlotView::setValues(const std::vector<double> &values, double mean, double s)
{
    m_points = sheet::probabilityPlot(values, kMostPoints);
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
    // One dot drawn once and stamped at each point; a sheet's thousands of
    // values fall many to a pixel, and a dot on the pixel of the one before
    // adds nothing. Drawing each as an antialiased ellipse cost the sheet
    // window more than the rest of an accepted row together.
    const qreal ratio = painter.device()->devicePixelRatioF();
    QPixmap dot(QSize(6, 6) * ratio);
    dot.setDevicePixelRatio(ratio);
    dot.fill(Qt::transparent);
    {
        QPainter dotPainter(&dot);
        dotPainter.setRenderHint(QPainter::Antialiasing);
        dotPainter.setPen(Qt::NoPen);
        dotPainter.setBrush(QColor(0x20, 0x20, 0x20));
        dotPainter.drawEllipse(QPointF(3.0, 3.0), 2.0, 2.0);
    }
    QPoint last(INT_MIN, INT_MIN);
    for (const sheet::ProbabilityPoint &point : m_points) {
        const QPointF at(xAt(point.value), yAt(point.quantile));
        if (at.toPoint() == last)
            continue;
        last = at.toPoint();
        painter.drawPixmap(at - QPointF(3.0, 3.0), dot);
    }
}

} // namespace sheetwin
