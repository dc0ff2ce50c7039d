#pragma once

// The chart window 「グラフ」: a run chart or a control chart (X-Rs or X̄-R,
// chosen in 「グラフの種類」) over a histogram of the values as of the last
// calculation, with the mean and the limits the result boxes show, and, once
// the user gives a tolerance in 規格上限/規格下限, the process capability
// (Cp, Cpk, 推定不良率) and the values outside it. The control charts mark
// the points that trip the tests for special causes the user leaves switched
// on, and 「異常の判定」 lists them.
//
// The main window opens it from グラフ in its 表示 menu and keeps at most one;
// it is modeless, has no owner and deletes itself on closing, like the
// information window. The main window pushes the figures of each calculation
// (setFigures) and empties them on clearing, so the charts change exactly when
// the result boxes do.
//
// From an event to the screen: a handler reads the window's choices into a
// stats::ChartRequest, and redraw() asks the core for everything shown in one
// call (stats::chartContent). The one owning value it returns is shared with
// the views (ChartViews.h), which draw it, and with the picture (ChartPicture.h,
// 画像を保存) and the record (ChartRecord.h, 印刷 and PDF に保存), which are
// painted from it without the window. The window keeps its widgets, the input
// it was given (figures, tolerance, file name, unsaved state) and that value.
//
// The controls' object names are in ChartNames.h, which the tests use too.

#include "chart/RecordText.h"
#include "stats/ChartContent.h"

#include <QPageLayout>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class ControlChartView;
class HistogramView;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QImage;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class RunChartView;

class ChartWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ChartWindow(QWidget *parent = nullptr);
    ~ChartWindow() override;

    /// The figures of the last calculation; nullptr empties the charts.
    /// The items without a number (stats::looseReadings' withoutNumber) are
    /// left out of the charts and named in a note.
    void setFigures(std::shared_ptr<const stats::StatisticsFigures> figures,
                    std::vector<std::size_t> withoutNumber = {});
    /// As if chosen in 「グラフの種類」.
    void setChartType(stats::ChartType type);
    /// As if set in 「群の大きさ」; clamped to 2..10.
    void setSubgroupSize(int n);
    /// As if typed in 規格上限/規格下限 and applied.
    void setTolerance(const stats::Tolerance &limits);
    /// The value file's name for the records; empty for a list never saved.
    void setSourceName(const QString &name);
    /// Whether the list changed since it was opened or saved, for the record.
    void setUnsavedChanges(bool unsaved);
    /// Whether the list changed since the calculation the window shows: a
    /// note says so until the next calculation (setFigures).
    void setListChanged(bool changed);

    /// What the window shows; nullptr while the charts are empty.
    std::shared_ptr<const stats::ChartContent> shown() const { return m_shown; }

    /// What 「画像を保存」 saves: the charts and the figures, without the buttons.
    QImage picture() const;
    /// Writes the picture as a PNG image or a PDF page, by the path's suffix;
    /// the reason when it could not, empty on success.
    QString saveImage(const QString &path) const;
    /// Writes the record as a PDF file; the reason when it could not, empty
    /// on success.
    QString saveRecord(const QString &path) const;

private: // one handler per user event
    void applyTolerance();      // Enter in Text1 or Text2, 適用 (Command1)
    void saveImageFromDialog(); // 画像を保存 (Command2)
    void showChosenType();      // グラフの種類, 群の大きさ
    void switchTests();         // a test's check box
    void choosePaper();         // 用紙
    void printRecord();         // 印刷
    void saveRecordFromDialog(); // PDF に保存

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
    QLabel *createCapabilityNote();
    void connectControls();
    void setTabOrders();
    stats::ChartRequest request() const;
    void redraw();
    void showControlChart();
    void showNote(QLabel *note, const QString &text);
    void showListNote();
    chart::RecordSource recordSource() const;
    /// The paper chosen in 用紙.
    QPageLayout::Orientation recordOrientation() const;
    void showSignals();
    void showFigures();
    QString recordFileName() const;

    // What the window was given, and what it shows.
    std::shared_ptr<const stats::StatisticsFigures> m_figures;
    std::vector<std::size_t> m_withoutNumber;
    bool m_listChanged = false;
    stats::Tolerance m_tolerance;
    QString m_sourceName;
    bool m_unsavedChanges = false;
    std::shared_ptr<const stats::ChartContent> m_shown;

    QLineEdit *m_upperToleranceBox = nullptr; // 規格上限
    QLineEdit *m_lowerToleranceBox = nullptr; // 規格下限
    QPushButton *m_applyButton = nullptr;     // 適用
    QPushButton *m_saveImageButton = nullptr; // 画像を保存
    QComboBox *m_chartTypeBox = nullptr;      // グラフの種類
    QSpinBox *m_subgroupSizeBox = nullptr;    // 群の大きさ
    QComboBox *m_paperBox = nullptr;          // 用紙 of the record
    QPushButton *m_printButton = nullptr;     // 印刷
    QPushButton *m_saveRecordButton = nullptr; // PDF に保存
    std::array<QCheckBox *, stats::SpecialCauseTests::kCount> m_testBoxes{};
    QLabel *m_listNote = nullptr; // the list changed since; the items left out
    QStackedWidget *m_chartStack = nullptr;   // the run chart, or the two below
    RunChartView *m_runChart = nullptr;
    ControlChartView *m_locationChart = nullptr; // X or X̄
    ControlChartView *m_spreadChart = nullptr;   // Rs or R
    QLabel *m_controlNote = nullptr;             // why no chart; values left out
    HistogramView *m_histogram = nullptr;
    QListWidget *m_signalList = nullptr; // 異常の判定
    std::vector<QLineEdit *> m_figureBoxes; // in the order of chart::figureTexts
    QLabel *m_figureNote = nullptr;
};
