#pragma once

// The chart window 「グラフ」: a run chart and a histogram of the values as of
// the last calculation, with the mean and the limits the result boxes show,
// and, once the user gives a tolerance in 規格上限/規格下限, the process
// capability (Cp, Cpk) and the values outside it.
//
// The main window opens it from its menu item v12 and keeps at most one; it
// is modeless, has no owner and deletes itself on closing, like the
// information window. The main window pushes the figures of each calculation
// (setFigures) and empties them on clearing, so the charts change exactly when
// the result boxes do. Everything drawn comes from stats::chartData; this
// window reads its two entry boxes, calls the core and paints.

#include "stats/Chart.h"
#include "stats/Statistics.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class HistogramView;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class RunChartView;

class ChartWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ChartWindow(QWidget *parent = nullptr);
    ~ChartWindow() override;

    /// The figures of the last calculation; nullptr empties the charts.
    void setFigures(std::shared_ptr<const stats::StatisticsFigures> figures);

    /// What the charts show; std::nullopt while they are empty.
    const std::optional<stats::ChartData> &chartData() const { return m_data; }

private: // one handler per user event
    void Form_Load();
    void Text1_KeyPress(short keyAscii);
    void Text2_KeyPress(short keyAscii);
    void Command1_Click();
    void Command2_Click();

    void createControls();
    QLineEdit *addFigure(QGridLayout *grid, const char *name, const QString &caption);
    static void setFigure(QLineEdit *box, const QString &text);
    void refresh();
    void showFigures();
    /// Writes the window as a PNG image or a PDF page, by the path's suffix;
    /// the reason when it could not, empty on success.
    QString saveImage(const QString &path);

    std::shared_ptr<const stats::StatisticsFigures> m_figures;
    stats::Tolerance m_limits;
    std::optional<stats::ChartData> m_data;

    QLabel *Label1 = nullptr; // 規格上限
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr; // 規格下限
    QLineEdit *Text2 = nullptr;
    QPushButton *Command1 = nullptr; // 適用
    QPushButton *Command2 = nullptr; // 画像を保存
    RunChartView *Picture1 = nullptr;
    HistogramView *Picture2 = nullptr;
    QLabel *Label3 = nullptr; // how Cp and Cpk are defined

    QLineEdit *m_count = nullptr;
    QLineEdit *m_mean = nullptr;
    QLineEdit *m_sigma = nullptr;
    QLineEdit *m_sampleSigma = nullptr;
    QLineEdit *m_upperLimit = nullptr;
    QLineEdit *m_lowerLimit = nullptr;
    QLineEdit *m_beyond = nullptr;
    QLineEdit *m_classes = nullptr;
    QLineEdit *m_cp = nullptr;
    QLineEdit *m_cpk = nullptr;
    QLineEdit *m_outside = nullptr;
    QLabel *m_note = nullptr;
};
