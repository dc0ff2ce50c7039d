#pragma once

// The chart window 「グラフ」: a run chart or a control chart (X-Rs or X̄-R,
// chosen in 「グラフの種類」) and a histogram of the values as of the last
// calculation, with the mean and the limits the result boxes show, and, once
// the user gives a tolerance in 規格上限/規格下限, the process capability
// (Cp, Cpk, 推定不良率) and the values outside it. The control charts mark
// the points that trip the tests for special causes the user leaves switched
// on, and 「異常の判定」 lists them. 印刷 and PDF に保存 make a one-page record.
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
//   chartType          m_chartTypeBox            showChosenType()
//   subgroupSize       m_subgroupSizeBox         showChosenType()
//   printRecord        m_printButton             printRecord()
//   saveRecordPdf      m_saveRecordButton        saveRecordFromDialog()
//   specialCause1..8   m_testBoxes               switchTests()
//   chartStack         m_chartStack              -   (the run chart, or the two below)
//   locationChart      m_locationChart           -   (X or X̄)
//   spreadChart        m_spreadChart             -   (Rs or R)
//   controlNote        m_controlNote             -   (why no chart; values left out)
//   signalList         m_signalList              -   (異常の判定)
//   figureExpected     m_expectedFigure          -   (推定不良率)
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
#include "chart/QtControlChart.h"
#include "stats/Statistics.h"

#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class ControlChartView;
class HistogramView;
class QCheckBox;
class QComboBox;
class QImage;
class QListWidget;
class QPagedPaintDevice;
class QSpinBox;
class QStackedWidget;
class QBoxLayout;
class QGridLayout;
class QIODevice;
class QLabel;
class QLayout;
class QLineEdit;
class QPainter;
class QRectF;
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
    /// The control chart shown, or why none could be formed; std::nullopt
    /// for the run chart and while the charts are empty.
    const std::optional<stats::ControlChartOutcome> &controlChart() const { return m_control; }

    /// Writes the one-page record as a PDF file; the reason when it could
    /// not, empty on success.
    QString saveRecord(const QString &path);

private: // one handler per user event
    void applyTolerance();
    void saveImageFromDialog();
    void showChosenType();
    void switchTests();
    void printRecord();
    void saveRecordFromDialog();

private:
    void loadWindow();
    void createControls();
    QBoxLayout *createToleranceRow();
    QBoxLayout *createChartTypeRow();
    QWidget *createCharts();
    QWidget *createControlCharts();
    QLayout *createSidePanel();
    QWidget *createFiguresPanel();
    QWidget *createSignalPanel();
    QWidget *createTestSwitches();
    void connectControls();
    void setTabOrders();
    QLabel *createCapabilityNote();
    QLineEdit *addFigure(QGridLayout *grid, const char *name, const QString &caption);
    static void setFigure(QLineEdit *box, const QString &text);
    void refresh();
    std::optional<stats::ControlChartOutcome> formControlChart() const;
    stats::SpecialCauseTests enabledTests() const;
    void showCharts();
    void showControlChart();
    void showControlNote(const QString &text);
    void showSignals();
    void showFigures();
    void showCapability();
    ChartType currentChartType() const;
    QString recordChartName() const;
    QString pictureHeading() const;
    void paintRecord(QPainter &painter, const QRectF &page);
    bool writePdfPage(QIODevice &file, const QImage &image);

    std::shared_ptr<const stats::StatisticsFigures> m_figures;
    stats::Tolerance m_tolerance;
    QString m_sourceName;
    std::optional<stats::ChartData> m_data;
    std::optional<stats::ControlChartOutcome> m_control;

    QLineEdit *m_upperToleranceBox = nullptr; // 規格上限
    QLineEdit *m_lowerToleranceBox = nullptr; // 規格下限
    QPushButton *m_applyButton = nullptr;     // 適用
    QPushButton *m_saveImageButton = nullptr; // 画像を保存
    QComboBox *m_chartTypeBox = nullptr;      // グラフの種類
    QSpinBox *m_subgroupSizeBox = nullptr;    // 群の大きさ
    QPushButton *m_printButton = nullptr;     // 印刷
    QPushButton *m_saveRecordButton = nullptr; // PDF に保存
    std::array<QCheckBox *, stats::SpecialCauseTests::kCount> m_testBoxes{};
    QWidget *m_chartsArea = nullptr;  // what the picture shows on the left
    QWidget *m_figuresPanel = nullptr; // and on the right, over the signals
    QWidget *m_signalPanel = nullptr;
    QStackedWidget *m_chartStack = nullptr;
    RunChartView *m_runChart = nullptr;
    ControlChartView *m_locationChart = nullptr;
    ControlChartView *m_spreadChart = nullptr;
    QLabel *m_controlNote = nullptr;
    HistogramView *m_histogram = nullptr;
    QListWidget *m_signalList = nullptr; // 異常の判定

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
    QLineEdit *m_expectedFigure = nullptr;
    QLabel *m_figureNote = nullptr;
};
