#pragma once

// The main window. It shows a ValueListDocument (the values, their history,
// the saved state and the journal) and forwards what the user does to it;
// the window itself keeps nothing but its widgets. A user's action travels
// like this:
//
//  - Return in the entry box calls enterTypedValue(): the typed text goes to
//    ValueListDocument::enter, which appends it unchanged; the document's
//    entered() signal advances the count box (read back with
//    stats::parseValueText, written with stats::numberToText).
//  - A paste of several lines or cells into the entry box calls
//    enterPastedValues(), which enters them all as Return would
//    (files::splitPastedValues cuts them apart; a pasted table enters one
//    column, chosen in a ColumnDialog): all of them or, when
//    files::planValues refuses the paste, none.
//  - A double-click on a listed value (or Delete) calls removeSelectedValue();
//    Ctrl+Z or 「元に戻す」 undoes the last removal, correction, insertion or
//    clear, Ctrl+Y, Ctrl+Shift+Z or 「やり直し」 redoes it (the document's
//    QUndoStack).
//  - 「修正」 (F2) and 「ここに挿入」 in the list's context menu open an
//    EntryBox over the selected row (ValueEditDelegate; for an insertion, over
//    a new empty row before it). When it closes, finishListEdit() judges the
//    text by the entry box's rules (files::planValues) and hands the value to
//    the document, one step of the history.
//  - The start button calls calculate(): stats::calculateFigures over the
//    document's items and the sigma choice, whose eleven texts
//    (stats::statisticsTexts) go into the result boxes and whose loose
//    readings, found in the same pass, into the notice under the list.
//  - ファイルを開く, 名前を付けて保存, dropped files and the question before
//    closing are ValueFileCommands; 印刷 is PrintCommand; every text they and
//    the window say is in VorlaTexts.h.
//  - The chart window, if open, is handed the figures of each calculation.
//
// Each control keeps its designer name as its objectName (VorlaNames.h),
// by which tests and accessibility find it; VorlaControls builds them in
// their places:
//
//   designer name      member / local (in the create...() helpers)  handler
//   Form (Vorla)       -                         loadWindow(); on activation the
//                                                focus goes to Text1 (ui::FocusOnActivation)
//   Text1              m_controls->entryBox                enterTypedValue(), enterPastedValues()
//   List1              m_controls->valueList               removeSelectedValue()
//   mnuUndo, mnuRedo   m_undoAction, m_redoAction  undo(), redo()
//   mnuCorrect         m_correctAction           correctSelectedValue()
//   mnuInsert          m_insertAction            insertBeforeSelectedValue()
//   valueEditor        (made by m_valueEditor)   finishListEdit(), takePasteIntoEditor()
//   Combo1             m_controls->sigmaChoice   -
//   Command1           m_controls->calculateButton  calculate()
//   Text2 ... Text12   m_controls->meanBox ... minimumBox (result boxes; Text10 countBox)
//   Label1 ... Label15 (local, caption only)     -
//   LabelNotice        m_controls->readingNotice           hideReadingNotice() on a click
//   f11                m_openAction              ValueFileCommands::openFromDialog()
//   f12                saveAction (local)        ValueFileCommands::save()
//   f21                printAction (local)       printReport()
//   f31                exitAction (local)        exitProgram()
//   v11                clearAction (local)       clearAll()
//   v12                chartAction (local)       openChartWindow()
//   v13, v14           newSheetAction, openSheetAction (local)  SheetCommands
//   mnuToSheet         (local)                   sendListToSheet()
//   mnu_J2             informationAction (local) showInformation()

#include "app/PrintCommand.h"
#include "app/ValueFileCommands.h"
#include "stats/Statistics.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <string>

namespace report {
struct BoxTexts;
}

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class EntryBox;
class ValueListDocument;
class ValueEditDelegate;
class InfoWindow;
class ChartWindow;
class VorlaControls;
class SheetCommands;

class Vorla : public QMainWindow
{
    Q_OBJECT

public:
    using PrinterFactory = PrintCommand::PrinterFactory;

    explicit Vorla(const QString &scratchDir, QWidget *parent = nullptr);
    ~Vorla() override;

    /// The values the window shows.
    ValueListDocument *document() const { return m_document; }
    /// Replaces the system's default printer as the print command's target.
    void setPrinterFactory(PrinterFactory openPrinter);
    /// Appends a value file's lines as the open command does once its dialog
    /// has given the path. Returns whether the file was read.
    bool openValueFile(const QString &path);

protected:
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
    void enterTypedValue();         // Return in the entry box
    /// Text with breaks, or too long for the box, pasted or dropped into the
    /// entry box (or committed there by an input method), joined with what
    /// the box held around it.
    void enterPastedValues(const QString &text);
    void removeSelectedValue();     // double-click or Delete in the list
    void undo();                    // Ctrl+Z, 「元に戻す」
    void redo();                    // Ctrl+Y, Ctrl+Shift+Z, 「やり直し」
    void correctSelectedValue();    // 修正, F2 in the list
    void insertBeforeSelectedValue(); // ここに挿入
    void finishListEdit();          // the list's editor closes
    /// Text with breaks, or too long, pasted into the list's editor.
    void takePasteIntoEditor(EntryBox *editor, const QString &text);
    void calculate();               // 演算開始
    void printReport();             // 印刷
    void exitProgram();             // 終了
    void clearAll();                // クリア
    void openChartWindow();         // グラフ
    void showInformation();         // 情報
    void sendListToSheet();         // シートへ送る

    /// Delete, 「元に戻す」 and 「やり直し」 on the value list.
    void createRemoveKeyAndHistory();
    void connectControls();
    void connectDocument();
    /// Hands the last calculation to the chart window, with the items that
    /// hold no number, which it leaves out.
    void showFiguresInChart();
    /// The list changed after the calculation the chart window shows.
    void markChartStale();
    /// The list's editor, its two context menu actions and what keeps them
    /// in step with the list.
    void createListEditing();
    QAction *createListAction(const char *name, const QString &text, void (Vorla::*handler)());
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
    void createMenus();
    /// Shows a row an undo or redo acted at, with the focus back in Text1.
    void showAffectedRow(int row);
    /// After a calculation: selects the items read as 0 or only in part and
    /// says how many there are, or hides the notice when there are none.
    void noticeLooseReadings(const stats::LooseReadings &loose);
    void hideReadingNotice();

    QString m_scratchDir;
    ValueListDocument *m_document = nullptr;
    /// The information window while it is open; it deletes itself on closing.
    QPointer<InfoWindow> m_info;
    /// The chart window while it is open; it deletes itself on closing.
    QPointer<ChartWindow> m_chart;
    std::unique_ptr<ValueFileCommands> m_files;
    std::unique_ptr<PrintCommand> m_print;
    std::unique_ptr<SheetCommands> m_sheets;

    /// The value being edited in the list, from its editor's opening to its
    /// closing. An insertion's row is in the list, empty, meanwhile.
    struct ListEdit
    {
        int row = 0;
        bool inserting = false;
        std::optional<QString> accepted;
    };
    std::optional<ListEdit> m_listEdit;
    ValueEditDelegate *m_valueEditor = nullptr;
    QAction *m_correctAction = nullptr;
    QAction *m_insertAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QAction *m_openAction = nullptr;

    /// The window's controls in their places.
    std::unique_ptr<VorlaControls> m_controls;
};
