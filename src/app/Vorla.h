#pragma once

// The main window. A user's action travels like this:
//
//  - Enter in the entry box Text1 calls Text1_KeyPress(13): the typed text is
//    appended unchanged to the value list List1, the count box Text10 is read
//    back with stats::parseValueText, advanced by one and written with
//    stats::numberToText, and the open command f11 is switched off.
//  - A double-click on a listed value calls List1_DblClick, which removes it.
//  - The start button Command1 calls Command1_Click: it gathers the item texts
//    and the sigma choice of Combo1, hands them to stats::calculateStatistics
//    and writes the eleven texts it returns into Text2 to Text12. The values
//    are never kept as numbers: the list's texts are the only store.
//  - The menus call f11_Click (open), f12_Click (save), f21_Click (print),
//    f31_Click (exit), v11_Click (clear) and mnu_J2_Click (information).
//  - Open and save choose their file through CommonDialog1; the file's text
//    goes through files::readValueFile on the way in (which may ask, through
//    a callback, how a file that reads both ways is encoded) and
//    files::encodeValueFile and files::writeFileAtomically on the way out.
//  - f21_Click, after the A4 prompt, reads the scratch file's lines
//    (files::readScratchLines) and the result boxes, lets report::composeReport lay
//    out the report's lines and sends them with report::printReport to the
//    printer that the printer factory opens (the system's default printer
//    unless a test put in its own).
//
// Handlers only read widgets, call the Qt-free core and write widgets back.
// The folder standing for "c:\" (scratch files) comes in from outside, so
// tests can point it at a temporary folder.

#include "app/CommonDialog.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace report {
class ReportPrinter;
struct BoxTexts;
}

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class form1;

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

protected:
    bool event(QEvent *event) override;

private: // one handler per user event
    void Form_Load();
    void Form_Activate();
    void Text1_KeyPress(short keyAscii);
    void List1_DblClick();
    void Command1_Click();
    void f11_Click(int index);
    void f12_Click(int index);
    void f21_Click(int index);
    void f31_Click(int index);
    void v11_Click(int index);
    void mnu_J2_Click();

    void createControls();
    void createMenus();
    QLineEdit *createTextBox(const char *name, int left, int top, int width,
                             const QString &accessibleName);
    QLabel *createLabel(const char *name, const QString &caption, int left, int top,
                        int width);
    QString scratchPath(const char *name) const;
    report::BoxTexts boxTexts() const;

    QString m_scratchDir;
    /// The information window while it is open; it deletes itself on closing.
    QPointer<form1> m_info;
    PrinterFactory m_openPrinter;

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
    QLineEdit *Text1 = nullptr;
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
    QListWidget *List1 = nullptr;
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
    QMenu *mnuJ = nullptr;
    QAction *mnu_J2 = nullptr;

    CommonDialog CommonDialog1;
};
