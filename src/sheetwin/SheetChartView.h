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

#include <QImage>
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

    /// The charts as a picture of `size` pixels.
    QImage picture(const QSize &size) const;
    /// Writes the picture to a .png or .pdf file (atomically); "" on
    /// success, else why not.
    QString saveImage(const QString &path, const QSize &size = {1200, 800}) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintCharts(QPainter &painter, const QRect &area) const;
    void paintChart(QPainter &painter, const QRect &area, bool spread) const;

    sheet::SheetAnalysis m_analysis;
};

} // namespace sheetwin
