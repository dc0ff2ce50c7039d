#pragma once

#include "stats/Statistics.h"

#include <QString>

namespace report {
struct BoxTexts;
}

class QAbstractItemModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMainWindow;
class QPushButton;
class QWidget;
class EntryBox;

/// The main window's controls in their places: the client area with the
/// entry box, the value list over `values`, the start button, the sigma
/// choice, the eleven result boxes and the reading notice, in the designer's
/// layout (twips, VorlaNames.h names) and tab order. The window connects them.
class VorlaControls
{
public:
    VorlaControls(QMainWindow &window, QAbstractItemModel *values);

    /// What the result boxes show, for the printed report.
    report::BoxTexts boxTexts() const;
    /// Empties Text1 to Text12.
    void clearBoxes();
    /// Writes a calculation's texts into the result boxes.
    void showResults(const stats::StatisticsTexts &texts);

    EntryBox *entryBox = nullptr;
    QListView *valueList = nullptr;
    QPushButton *calculateButton = nullptr;
    QComboBox *sigmaChoice = nullptr;
    /// Says which items a calculation could not read whole; hidden otherwise.
    QLabel *readingNotice = nullptr;
    QLineEdit *meanBox = nullptr;
    QLineEdit *standardDeviationBox = nullptr;
    QLineEdit *upperLimitBox = nullptr;
    QLineEdit *lowerLimitBox = nullptr;
    QLineEdit *aboveCountBox = nullptr;
    QLineEdit *abovePercentBox = nullptr;
    QLineEdit *belowCountBox = nullptr;
    QLineEdit *belowPercentBox = nullptr;
    QLineEdit *countBox = nullptr;
    QLineEdit *maximumBox = nullptr;
    QLineEdit *minimumBox = nullptr;

private:
    QLabel *createLabel(const char *name, const QString &caption, int left, int top, int width);
    QLineEdit *createTextBox(const char *name, int left, int top, int width,
                             const QString &accessibleName);
    void createEntryBox();
    void createValueList(QAbstractItemModel *values);
    void createCalculateButton();
    void createSpreadBoxes();  // count, mean and standard deviation
    void createSigmaChoice();
    void createLimitBoxes();   // the limits and the values beyond them
    void createExtremeBoxes(); // maximum and minimum
    void createReadingNotice();
    void setTabOrderOfControls();

    QWidget *m_client;
};
