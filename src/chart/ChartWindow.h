#pragma once

// The chart window 「グラフ」: a run chart and a histogram of the values as of
// the last calculation, with the mean and the limits the result boxes show,
// and, once the user gives a tolerance in 規格上限/規格下限, the process
// capability (Cp, Cpk) and the values outside it.
//
// The main window opens it from グラフ in its 表示 menu and keeps at most one;
// it is modeless, has no owner and deletes itself on closing, like the
// information window. The main window pushes the figures of each calculation
// (setFigures) and empties them on clearing, so the charts change exactly when
// the result boxes do. Everything drawn comes from stats::chartData; this
// window reads its two entry boxes, calls the core and paints.
//
// Each control keeps its designer name as its object name, which tests and
// screen readers find it by:
//
//   objectName         member                    handler
//   Text1              m_upperToleranceBox       applyTolerance() on Enter
//   Text2              m_lowerToleranceBox       applyTolerance() on Enter
//   Command1           m_applyButton             applyTolerance()
//   Command2           m_saveImageButton         saveImageFromDialog()
//   runChart           m_runChart                -
//   histogram          m_histogram               -
//   figures            panel (local)             -
//   figureCount        m_countFigure             -
//   figureMean         m_meanFigure              -
//   figureSigma        m_sigmaFigure             -
//   figureSampleSigma  m_sampleSigmaFigure       -
//   figureUpperLimit   m_upperLimitFigure        -
//   figureLowerLimit   m_lowerLimitFigure        -
//   figureBeyond       m_beyondFigure            -
//   figureClasses      m_classesFigure           -
//   figureCp           m_cpFigure                -
//   figureCpk          m_cpkFigure               -
//   figureOutside      m_outsideFigure           -
//   figureNote         m_figureNote              -
//   Label3             note (local)              -   (how Cp and Cpk are defined)
//   (none)             the two boxes' captions (local)

#include "stats/Chart.h"
#include "stats/Statistics.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class HistogramView;
class QImage;
class QBoxLayout;
class QGridLayout;
class QIODevice;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class RunChartView;

/// What 「グラフの種類」 offers: the run chart, or one of the two control charts.
enum class ChartType { Run, IndividualsMovingRange, MeansRanges };

class ChartWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ChartWindow(QWidget *parent = nullptr);
    ~ChartWindow() override;

    /// The figures of the last calculation; nullptr empties the charts.
    void setFigures(std::shared_ptr<const stats::StatisticsFigures> figures);

    /// As if chosen in 「グラフの種類」.
    void setChartType(ChartType type);
    /// As if set in 「群の大きさ」; clamped to 2..10.
    void setSubgroupSize(int n);
    /// As if typed in 規格上限/規格下限 and applied.
    void setTolerance(const stats::Tolerance &limits);
    /// The value file's name for the records; empty for a list never saved.
    void setSourceName(const QString &name);

    /// What 「画像を保存」 saves: the charts and the figures, without the buttons.
    QImage picture();
    /// Writes the picture as a PNG image or a PDF page, by the path's suffix;
    /// the reason when it could not, empty on success.
    QString saveImage(const QString &path);

    /// What the charts show; std::nullopt while they are empty.
    const std::optional<stats::ChartData> &chartData() const { return m_data; }

private: // one handler per user event
    void applyTolerance();
    void saveImageFromDialog();

private:
    void loadWindow();
    void createControls();
    QBoxLayout *createToleranceRow();
    QLayout *createCharts();
    QWidget *createFiguresPanel();
    QLabel *createCapabilityNote();
    QLineEdit *addFigure(QGridLayout *grid, const char *name, const QString &caption);
    static void setFigure(QLineEdit *box, const QString &text);
    void refresh();
    void showFigures();
    void showCapability();
    bool writePdfPage(QIODevice &file);

    std::shared_ptr<const stats::StatisticsFigures> m_figures;
    stats::Tolerance m_tolerance;
    ChartType m_chartType = ChartType::Run;
    int m_subgroupSize = 5;
    QString m_sourceName;
    std::optional<stats::ChartData> m_data;

    QLineEdit *m_upperToleranceBox = nullptr; // 規格上限
    QLineEdit *m_lowerToleranceBox = nullptr; // 規格下限
    QPushButton *m_applyButton = nullptr;     // 適用
    QPushButton *m_saveImageButton = nullptr; // 画像を保存
    RunChartView *m_runChart = nullptr;
    HistogramView *m_histogram = nullptr;

    QLineEdit *m_countFigure = nullptr;
    QLineEdit *m_meanFigure = nullptr;
    QLineEdit *m_sigmaFigure = nullptr;
    QLineEdit *m_sampleSigmaFigure = nullptr;
    QLineEdit *m_upperLimitFigure = nullptr;
    QLineEdit *m_lowerLimitFigure = nullptr;
    QLineEdit *m_beyondFigure = nullptr;
    QLineEdit *m_classesFigure = nullptr;
    QLineEdit *m_cpFigure = nullptr;
    QLineEdit *m_cpkFigure = nullptr;
    QLineEdit *m_outsideFigure = nullptr;
    QLabel *m_figureNote = nullptr;
};
