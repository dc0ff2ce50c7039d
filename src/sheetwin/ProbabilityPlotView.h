#pragma once

// The normal probability plot of the capability's values: each value
// against the normal quantile of its median rank, and the straight line a
// normal distribution with the values' mean and s would follow. Points from
// sheet::probabilityPlot; this only scales and paints.

#pragma push_macro("signals")
#undef signals
#include "sheet/Capability.h"
#pragma pop_macro("signals")

#include <QWidget>

#include <vector>

namespace sheetwin {

class ProbabilityPlotView : public QWidget
{
    Q_OBJECT
public:
    explicit ProbabilityPlotView(QWidget *parent = nullptr);

    /// The values to plot, with their mean and s for the line.
    void setValues(const std::vector<double> &values, double mean, double s);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<sheet::ProbabilityPoint> m_points;
    double m_mean = 0.0, m_sigma = 0.0;
};

} // namespace sheetwin
