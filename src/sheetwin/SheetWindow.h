#pragma once

// The sheet window (管理図シート): the header on top, the table of subgroups
// on the left, the two charts on the right above the capability (工程能力)
// and the normal probability plot, and 「異常の判定」 below, the rows that
// give no point first. It owns a SheetDocument and only forwards
// what the user does to it; the table model and the charts redraw from the
// document's analysis after every change.
//
//   a value typed, Enter -> SheetTableModel::setData -> SheetDocument::setValue
//     -> sheetChanged -> the model works out the analysis again
//     -> analysisChanged -> showAnalysis(): the charts and 「異常の判定」
//
// Entry points for the main window: openNew(), openFile(path) and
// fromValues(texts, n) (「シートへ送る」), and restored() for a sheet the
// journal kept. Each shows a new window that deletes itself when closed.
// Given a data folder, the window's document journals every change in its
// journal folder (a normal close deletes the journal).

#include "chart/RecordText.h"
#include "sheetwin/SheetDocument.h"

#include <QMainWindow>

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSpinBox;

namespace sheetwin {

class ProbabilityPlotView;
class SheetChartView;
class SheetTableModel;
class SheetTableView;

class SheetWindow : public QMainWindow
{
    Q_OBJECT
public:
    /// `dataDir` empty: no journal.
    explicit SheetWindow(const QString &dataDir = QString(), QWidget *parent = nullptr);
    ~SheetWindow() override;

    /// A new, empty sheet of n = 5, shown.
    static SheetWindow *openNew(const QString &dataDir = QString(), QWidget *parent = nullptr);
    /// The sheet of a file, shown; nullptr, after a message that says what
    /// and where, when the file is refused.
    static SheetWindow *openFile(const QString &path, const QString &dataDir = QString(),
                                 QWidget *parent = nullptr);
    /// A new sheet of the list's values in rows of n (1 for individuals), shown.
    static SheetWindow *fromValues(const QStringList &texts, int subgroupSize,
                                   const QString &dataDir = QString(), QWidget *parent = nullptr);
    /// The sheet a journal left, with its file and saved state, shown; its
    /// changes go on in `journal`.
    static SheetWindow *restored(sheet::Sheet sheet, const QString &path, bool unsaved,
                                 std::unique_ptr<JournalFile> journal, const QString &dataDir,
                                 QWidget *parent = nullptr);

    SheetDocument &document() { return m_document; }
    SheetTableView *table() const { return m_table; }
    SheetChartView *chart() const { return m_chart; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // One handler per user event.
    void newSheet();                    // ファイル → 新しいシート
    void openFromDialog();              // ファイル → 開く
    bool saveSheet();                   // ファイル → 保存
    bool saveSheetAs();                 // ファイル → 名前を付けて保存
    void importCsvFromDialog();         // ファイル → CSV を取り込む
    void exportCsv(bool shiftJis);      // ファイル → CSV に書き出す
    void printRecord();                 // ファイル → 印刷 (the paper: ファイル → 記録の用紙)
    void saveRecordFromDialog();        // ファイル → PDF に保存
    void insertRowAtCurrent();          // 編集 → 行を挿入
    void removeCurrentRow();            // 編集 → 行を削除
    void toggleExclusionOfCurrent();    // 編集 → 除外する・戻す
    void fixLimitsFromSelection();      // 管理線 → 選択した群で固定
    void fixLimitsFromStandard();       // 管理線 → 標準値で固定
    void setPhaseFromCurrent();         // 管理線 → 期の設定
    void removePhaseOfCurrent();        // 管理線 → この期を削除
    void switchTest(int test, bool on); // 判定 → 判定 1..8
    void applyHeader();                 // a header box edited
    void goToListedRow();               // 「異常の判定」 double-clicked

    void createWidgets();
    void createMenus();
    void createPaperMenu(QMenu *menu);
    void showHeader();   // the header boxes from the document
    void showAnalysis(); // the charts, 「異常の判定」 and the test switches
    void showCapability(); // the capability of the current phase and its probability plot
    void showTitle();
    void showProblem(const std::string &problem);
    bool maybeSave();
    chart::RecordSource recordSource() const; // the record's file line and time
    std::size_t currentRow() const;

    QString m_dataDir;
    SheetDocument m_document;
    SheetTableModel *m_model = nullptr;
    SheetTableView *m_table = nullptr;
    SheetChartView *m_chart = nullptr;
    QListWidget *m_findings = nullptr;
    QLabel *m_capability = nullptr;           // objectName "capability"
    ProbabilityPlotView *m_probabilityPlot = nullptr;
    std::array<QLineEdit *, 10> m_headerBoxes{};
    QSpinBox *m_subgroupBox = nullptr;
    QCheckBox *m_stdDevBox = nullptr;
    std::array<QAction *, 8> m_testActions{};
};

} // namespace sheetwin
