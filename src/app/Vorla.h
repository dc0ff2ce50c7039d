#pragma once

// The main window. A user's action travels like this:
//
//  - Return in the entry box calls enterTypedValue(): the typed text is
//    appended unchanged to the value list, the count box is read back with
//    stats::parseValueText, advanced by one and written with
//    stats::numberToText, and the open command is switched off.
//  - A paste of several lines or cells into the entry box calls
//    enterPastedValues(), which enters each as Return would
//    (files::splitPastedValues cuts them apart; a pasted table enters one
//    column, chosen in a ColumnDialog, files::pastedValues): all of them or,
//    when files::planValues refuses the paste (too many values, or one too
//    long), none.
//  - A double-click on a listed value (or Delete) calls removeSelectedValue();
//    Ctrl+Z or 「元に戻す」 calls undoLastChange(), which puts it back. A
//    clear (clearAll()) is undone the same way.
//  - 「修正」 (F2) and 「ここに挿入」 in the list's context menu open an
//    EntryBox over the selected row (ValueEditDelegate; for an insertion, over
//    a new empty row before it). When it closes, finishListEdit() judges the
//    text by the entry box's rules (files::planValues) and corrects or inserts
//    the value in place, one step for undoLastChange().
//  - The start button calls calculate(): it hands the item texts and the
//    sigma choice to stats::calculateFigures and writes the eleven texts of
//    stats::statisticsTexts into the result boxes. The values are never kept
//    as numbers: the list's texts are the only store. They live in a
//    ValueListModel (m_values) as UTF-8, the core's own form, behind the
//    QListView m_valueList.
//  - Files given on the command line or dropped on the window go through
//    openValueFile(), the part of openValueFileFromDialog() after its dialog.
//  - Exiting or closing the window with values changed since the last save
//    or open (m_unsaved) first offers to save them.
//  - calculate() also keeps the figures behind the boxes (m_figures) and
//    hands them to the chart window, if open; clearAll() drops them. So the
//    charts change exactly when the boxes do.
//  - Open and save choose their file through m_fileDialog; the file's text
//    goes through files::readValueFile on the way in (which may ask, through
//    callbacks, how a file that reads both ways is encoded and which column
//    of a table file to read, in a ColumnDialog) and
//    files::encodeValueFile and files::writeFileAtomically on the way out.
//  - printReport(), after the A4 prompt, takes the scratch file's lines
//    (files::readScratchLines) when another program placed one, the list's
//    items otherwise, and the result boxes; report::composeReport lays out the
//    report's lines and report::printReport sends them to the printer that
//    the printer factory opens (the system's default printer unless a test
//    put in its own), or, with no printer, to a PDF file the user names.
//
// Handlers read widgets, call the Qt-free core (and, for files and
// printing, the file and print layers), write widgets back, and ask or tell
// the user through dialogs and message boxes. The scratch files' folder
// comes in from outside (scratchDirectory() in main.cpp), so tests can point
// it at a temporary folder.
//
// Each control keeps its designer name as its objectName, by which tests
// and accessibility find it:
//
//   designer name      member / local (in createControls, createMenus)  handler
//   Form (Vorla)       -                         loadWindow(), focusEntryBox()
//   Text1              m_entryBox                enterTypedValue(), enterPastedValues()
//   List1              m_valueList               removeSelectedValue(), undoLastChange()
//   mnuUndo            m_undoAction              undoLastChange()
//   mnuCorrect         m_correctAction           correctSelectedValue()
//   mnuInsert          m_insertAction            insertBeforeSelectedValue()
//   valueEditor        (made by m_valueEditor)   finishListEdit(), takePasteIntoEditor()
//   Combo1             m_sigmaChoice             -
//   Command1           m_calculateButton         calculate()
//   Text2              m_meanBox                 -
//   Text3              m_standardDeviationBox    -
//   Text4              m_upperLimitBox           -
//   Text5              m_lowerLimitBox           -
//   Text6              m_aboveCountBox           -
//   Text7              m_abovePercentBox         -
//   Text8              m_belowCountBox           -
//   Text9              m_belowPercentBox         -
//   Text10             m_countBox                -
//   Text11             m_maximumBox              -
//   Text12             m_minimumBox              -
//   Label1 ... Label15 (local, caption only)     -
//   LabelNotice        m_readingNotice           hideReadingNotice() on a click
//   CommonDialog1      m_fileDialog              -
//   f1                 fileMenu (local)          -
//   f11                m_openAction              openValueFileFromDialog()
//   f12                saveAction (local)        saveValueFile()
//   f2, f3             separators (local)        -
//   f21                printAction (local)       printReport()
//   f31                exitAction (local)        exitProgram()
//   v1                 viewMenu (local)          -
//   v11                clearAction (local)       clearAll()
//   v12                chartAction (local)       showCharts()
//   mnuJ               informationMenu (local)   -
//   mnu_J2             informationAction (local) showInformation()

#include "stats/Statistics.h"
#include "ui/FileDialog.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace report {
class ReportPrinter;
struct BoxTexts;
}

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class EntryBox;
class ValueListModel;
class ValueEditDelegate;
class form1;
class ChartWindow;

class Vorla : public QMainWindow
{
    Q_OBJECT

public:
    /// Opens the printer the print command sends its report to; nullptr when
    /// there is none.
    using PrinterFactory = std::function<std::unique_ptr<report::ReportPrinter>()>;

    explicit Vorla(const QString &scratchDir, QWidget *parent = nullptr);
    ~Vorla() override;

    /// Replaces the system's default printer as the print command's target.
    void setPrinterFactory(PrinterFactory openPrinter);

    /// Appends a value file's lines to the list exactly as the open command
    /// does once its dialog has given the path: same reading, messages and
    /// caption. Does not look at whether the open command is switched on.
    /// Returns whether the file was read.
    bool openValueFile(const QString &path);

protected:
    bool event(QEvent *event) override;
    /// Files dropped on the window open as with openValueFile, in order; while
    /// the open command is switched off, the drop is refused and told why.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    /// Files dragged over a text box go to the window; text stays the box's.
    bool eventFilter(QObject *watched, QEvent *event) override;
    /// With unsaved values, asks whether to save them first; the window stays
    /// open when the user cancels or the save does not happen.
    void closeEvent(QCloseEvent *event) override;

private: // one handler per user event
    void loadWindow();              // the window is created
    void focusEntryBox();           // the window becomes active
    void enterTypedValue();         // Return in the entry box
    /// Text with breaks, or too long for the box, pasted or dropped into the
    /// entry box (or committed there by an input method), joined with what
    /// the box held around it.
    void enterPastedValues(const QString &text);
    void removeSelectedValue();     // double-click or Delete in the list
    void undoLastChange();          // Ctrl+Z, 「元に戻す」
    void correctSelectedValue();    // 修正, F2 in the list
    void insertBeforeSelectedValue(); // ここに挿入
    void finishListEdit();          // the list's editor closes
    /// Text with breaks, or too long, pasted into the list's editor.
    void takePasteIntoEditor(EntryBox *editor, const QString &text);
    void calculate();               // 演算開始
    void openValueFileFromDialog(); // ファイルを開く
    void saveValueFile();           // 名前を付けて保存
    void printReport();             // 印刷
    void exitProgram();             // 終了
    void clearAll();                // クリア
    void showCharts();              // グラフ
    void nameSource(const QString &path);
    void showInformation();         // 情報

    void createControls();
    /// The list's editor, its two context menu actions and what keeps them
    /// in step with the list.
    void createListEditing();
    QAction *createListAction(const char *name, const QString &text,
                              void (Vorla::*handler)());
    /// The current row when it is selected, -1 otherwise: what 修正 and
    /// ここに挿入 act on.
    int selectedRow() const;
    void updateListEditActions();
    void openListEditor(int row, const QString &accessibleName);
    /// Ends an edit in the list as if its editor had lost the focus.
    void acceptListEdit();
    /// The value an edited text makes, by the entry box's rules: nullopt for
    /// an empty text, and (after saying why) for a text that is refused.
    std::optional<std::string> judgedValue(const QString &text);
    void applyCorrection(int row, std::string value);
    void finishInsertion(int row, bool unsavedBefore, std::optional<std::string> value);
    /// Undoes the last step when it is a correction or an insertion.
    bool undoListEdit();
    void createMenus();
    QLineEdit *createTextBox(const char *name, int left, int top, int width,
                             const QString &accessibleName);
    QLabel *createLabel(const char *name, const QString &caption, int left, int top,
                        int width);
    QString scratchPath(const char *name) const;
    report::BoxTexts boxTexts() const;
    void clearBoxes();
    /// Scrolls the list to its last item, the one just entered.
    void showLastItem();
    /// After a calculation: selects the items read as 0 or only in part and
    /// says how many there are, or hides the notice when there are none.
    void noticeLooseReadings(const stats::LooseReadings &loose);
    void hideReadingNotice();
    /// How many more items the list takes.
    std::size_t room() const;
    /// The list's items, for the file code.
    QStringList listTexts() const;
    /// Opening a file ends what Ctrl+Z can bring back.
    void forgetUndo();
    /// Puts a cleared list back in front of what was entered since, with the
    /// unsaved state, open command and caption it had.
    void undoClear();
    /// Appends entered values and counts them, as Enter does for each.
    void appendEntries(std::vector<std::string> values);
    /// The save command after its first check: asks for a name and writes the
    /// file. True when the list was saved.
    bool saveList();
    /// Asks what becomes of values not yet saved; true when the window may
    /// close (saved, or the user chose not to save).
    bool mayDiscardUnsaved();
    void showResults(const stats::StatisticsTexts &texts);
    /// Raises the count in m_countBox by `entries`, one entry at a time.
    void advanceCount(std::size_t entries);
    /// The report's value section: the scratch file's lines when another
    /// program placed one, the list's items otherwise. nullopt (after saying
    /// why) when a scratch file is there but cannot be read.
    std::optional<std::vector<std::string>> reportEntries();
    /// With no printer: offers to save the report as a PDF file instead.
    void saveReportAsPdf(const std::vector<std::string> &lines);

    QString m_scratchDir;
    QString m_sourceName; // the value file's path, for the chart window's records
    /// The information window while it is open; it deletes itself on closing.
    QPointer<form1> m_info;
    /// The chart window while it is open; it deletes itself on closing.
    QPointer<ChartWindow> m_chart;
    /// The figures of the last calculation, for the chart window; empty
    /// after clearing.
    std::shared_ptr<const stats::StatisticsFigures> m_figures;
    PrinterFactory m_openPrinter;
    /// The list's items, which m_valueList shows.
    ValueListModel *m_values = nullptr;
    /// A value removed from the list, with the place it had.
    struct Removal
    {
        int index = 0;
        std::string item;
    };
    /// A value corrected in place, with the text it had.
    struct Correction
    {
        int index = 0;
        std::string item;
    };
    /// A value inserted before another.
    struct Insertion
    {
        int index = 0;
    };
    /// A cleared list and what went with it.
    struct Clearing
    {
        std::vector<std::string> items;
        bool unsaved = false;
        bool openEnabled = true;
        QString caption;
    };
    /// What undoLastChange can bring back, the last step last. Opening a file
    /// forgets it.
    std::vector<std::variant<Removal, Clearing, Correction, Insertion>> m_undoSteps;
    /// The value being edited in the list, from its editor's opening to its
    /// closing. An insertion's row is in the list, empty, meanwhile.
    struct ListEdit
    {
        int row = 0;
        bool inserting = false;
        bool unsavedBefore = false; // what a cancelled insertion gives back
        std::optional<QString> accepted;
    };
    std::optional<ListEdit> m_listEdit;
    ValueEditDelegate *m_valueEditor = nullptr;
    QAction *m_correctAction = nullptr;
    QAction *m_insertAction = nullptr;
    /// Whether values were entered, removed or put back since the last save
    /// or open: the list then differs from any file.
    bool m_unsaved = false;
    QAction *m_undoAction = nullptr;
    /// The save dialog of a report that goes to a PDF file for want of a printer.
    FileDialog m_pdfDialog;

    /// Says which items a calculation could not read whole; hidden otherwise.
    QLabel *m_readingNotice = nullptr;
    EntryBox *m_entryBox = nullptr;
    QLineEdit *m_meanBox = nullptr;
    QLineEdit *m_standardDeviationBox = nullptr;
    QLineEdit *m_upperLimitBox = nullptr;
    QLineEdit *m_lowerLimitBox = nullptr;
    QLineEdit *m_aboveCountBox = nullptr;
    QLineEdit *m_abovePercentBox = nullptr;
    QLineEdit *m_belowCountBox = nullptr;
    QLineEdit *m_belowPercentBox = nullptr;
    QLineEdit *m_countBox = nullptr;
    QLineEdit *m_maximumBox = nullptr;
    QLineEdit *m_minimumBox = nullptr;
    QListView *m_valueList = nullptr;
    QComboBox *m_sigmaChoice = nullptr;
    QPushButton *m_calculateButton = nullptr;

    QAction *m_openAction = nullptr;

    /// The open and save dialog.
    FileDialog m_fileDialog;
};
