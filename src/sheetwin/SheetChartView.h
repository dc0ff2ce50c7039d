#pragma once

// The sheet's two charts beside its table: the location (X or X̄) above the
// spread (Rs, R or s), one point per row at its group number. Each phase's
// lines are drawn over its own rows only: solid for an analysis phase,
// dash-dot for the fixed limits of a control phase (延長管理線). Excluded
// points are hollow, points that trip a test red. Everything drawn comes
// from the document's analysis; this only scales and paints.

#pragma push_macro("signals")
#undef signals
#include "sheet/SheetAnalysis.h"
#pragma pop_macro("signals")

#include <QWidget>

class QPainter;

namespace sheetwin {

class SheetChartView : public QWidget
{
    Q_OBJECT
public:
    explicit SheetChartView(QWidget *parent = nullptr);

    /// Takes the analysis to draw and repaints.
    void setAnalysis(const sheet::SheetAnalysis &analysis);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintChart(QPainter &painter, const QRect &area, bool spread) const;

    sheet::SheetAnalysis m_analysis;
};

} // namespace sheetwin
