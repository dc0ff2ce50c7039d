#pragma once

// The main window. A user's action travels like this:
//
//  - Enter in the entry box Text1 calls Text1_KeyPress(13): the typed text is
//    appended unchanged to the value list List1, the count box Text10 is read
//    back with stats::parseValueText, advanced by one and written with
//    stats::numberToText, and the open command f11 is switched off.
//  - A paste of several lines or cells into Text1 calls Text1_Paste, which
//    enters each as Enter would (files::splitPastedValues cuts them apart;
//    a pasted table enters one column, chosen in a ColumnDialog,
//    files::pastedValues): all of them or, when files::planValues refuses the
//    paste (too many values, or one too long), none.
//  - A double-click on a listed value calls List1_DblClick, which removes it;
//    Ctrl+Z or 「元に戻す」 calls List1_Undo, which puts it back. A clear
//    (v11_Click) is undone the same way.
//  - The start button Command1 calls Command1_Click: it hands the item texts
//    and the sigma choice of Combo1 to stats::calculateFigures and writes the
//    eleven texts of stats::statisticsTexts into Text2 to Text12. The values
//    are never kept as numbers: the list's texts are the only store. They live
//    in a ValueListModel as UTF-8, the core's own form, behind the QListView
//    List1.
//  - Files given on the command line or dropped on the window go through
//    openValueFile, the part of f11_Click after its dialog.
//  - The menus call f11_Click (open), f12_Click (save), f21_Click (print),
//    f31_Click (exit), v11_Click (clear), v12_Click (charts) and mnu_J2_Click
//    (information). Exiting or closing the window with values changed since
//    the last save or open (m_unsaved) first offers to save them.
//  - Command1_Click also keeps the figures behind the boxes (m_figures) and
//    hands them to the chart window, if open; v11_Click drops them. So the
//    charts change exactly when the boxes do.
//  - Open and save choose their file through CommonDialog1; the file's text
//    goes through files::readValueFile on the way in (which may ask, through
//    callbacks, how a file that reads both ways is encoded and which column
//    of a table file to read, in a ColumnDialog) and
//    files::encodeValueFile and files::writeFileAtomically on the way out.
//  - f21_Click, after the A4 prompt, takes the scratch file's lines
//    (files::readScratchLines) when another program placed one, the list's
//    items otherwise, and the result boxes; report::composeReport lays out the
//    report's lines and report::printReport sends them to the printer that
//    the printer factory opens (the system's default printer unless a test
//    put in its own), or, with no printer, to a PDF file the user names.
//
// Handlers only read widgets, call the Qt-free core and write widgets back.
// The scratch files' folder comes in from outside (scratchDirectory() in
// main.cpp), so tests can point it at a temporary folder.

#include "app/CommonDialog.h"
#include "stats/Statistics.h"

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
class QMenu;
class QPushButton;
class EntryBox;
class ValueListModel;
class form1;
class ChartWindow;

class Vorla : public QMainWindow
{
    Q_OBJECT

public:
    /// The most items the value list holds (its count is a signed 16-bit number).
    static constexpr int kMaxItems = 32767;

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
    void Form_Load();
    void Form_Activate();
    void Text1_KeyPress(short keyAscii);
    void Text1_Paste(const QString &text);
    void List1_DblClick();
    void List1_Undo();
    void Command1_Click();
    void f11_Click(int index);
    void f12_Click(int index);
    void f21_Click(int index);
    void f31_Click(int index);
    void v11_Click(int index);
    void v12_Click(int index);
    void mnu_J2_Click();

    void createControls();
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
    /// Raises the count in Text10 by `entries`, one entry at a time.
    void advanceCount(std::size_t entries);
    /// The report's value section: the scratch file's lines when another
    /// program placed one, the list's items otherwise. nullopt (after saying
    /// why) when a scratch file is there but cannot be read.
    std::optional<std::vector<std::string>> reportEntries();
    /// With no printer: offers to save the report as a PDF file instead.
    void saveReportAsPdf(const std::vector<std::string> &lines);

    QString m_scratchDir;
    /// The information window while it is open; it deletes itself on closing.
    QPointer<form1> m_info;
    /// The chart window while it is open; it deletes itself on closing.
    QPointer<ChartWindow> m_chart;
    /// The figures of the last calculation, for the chart window; empty
    /// after clearing.
    std::shared_ptr<const stats::StatisticsFigures> m_figures;
    PrinterFactory m_openPrinter;
    /// The list's items, which List1 shows.
    ValueListModel *m_values = nullptr;
    /// A value removed from the list, with the place it had.
    struct Removal
    {
        int index = 0;
        std::string item;
    };
    /// A cleared list and what went with it.
    struct Clearing
    {
        std::vector<std::string> items;
        bool unsaved = false;
        bool openEnabled = true;
        QString caption;
    };
    /// What List1_Undo can bring back, the last step last. Opening a file
    /// forgets it.
    std::vector<std::variant<Removal, Clearing>> m_undoSteps;
    /// Whether values were entered, removed or put back since the last save
    /// or open: the list then differs from any file.
    bool m_unsaved = false;
    QAction *m_undo = nullptr;
    /// The save dialog of a report that goes to a PDF file for want of a printer.
    CommonDialog m_pdfDialog;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    /// Says which items a calculation could not read whole; hidden otherwise.
    QLabel *LabelNotice = nullptr;
    EntryBox *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLineEdit *Text8 = nullptr;
    QLineEdit *Text9 = nullptr;
    QLineEdit *Text10 = nullptr;
    QLineEdit *Text11 = nullptr;
    QLineEdit *Text12 = nullptr;
    QListView *List1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *Command1 = nullptr;

    QMenu *f1 = nullptr;
    QAction *f11 = nullptr;
    QAction *f12 = nullptr;
    QAction *f2 = nullptr;
    QAction *f21 = nullptr;
    QAction *f3 = nullptr;
    QAction *f31 = nullptr;
    QMenu *v1 = nullptr;
    QAction *v11 = nullptr;
    QAction *v12 = nullptr;
    QMenu *mnuJ = nullptr;
    QAction *mnu_J2 = nullptr;

    CommonDialog CommonDialog1;
};
