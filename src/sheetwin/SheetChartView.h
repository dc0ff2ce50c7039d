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

/// What stands beside each row's point: the numbers of its signal lines
/// ("3" or "3–4"), empty for none; one entry per row, or none at all.
struct SheetChartMarks
{
    std::vector<std::string> location;
    std::vector<std::string> spread;
};

/// The two charts of an analysis in `area`, each phase's start marked with
/// its title, in the painter's font; the window and the record both draw
/// them so.
void paintSheetCharts(QPainter &painter, const QRect &area, const sheet::SheetAnalysis &analysis,
                      const SheetChartMarks *marks = nullptr);

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
    sheet::SheetAnalysis m_analysis;
};

} // namespace sheetwin
