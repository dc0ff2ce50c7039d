#pragma once

// The question 「列の選択」: which column of a table (an opened file or a
// paste, see files/Columns.h) goes into the list. Shows the first rows split
// into columns, with the chosen column selected and the rows it leaves out as
// its header greyed; the column is chosen in the drop-down or by a click on
// the column's header or one of its cells. OK takes it, キャンセル reads
// nothing.
//
// Controls by objectName: "message" (what the table is), "columnTable" (the
// first rows), "columnChoice" (the drop-down), "headerNote" (the rows left
// out), "buttons" (OK and キャンセル).

#include "files/Columns.h"

#include <QDialog>
#include <QString>

#include <cstddef>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLayout;
class QTableWidget;

class ColumnDialog : public QDialog
{
    Q_OBJECT

public:
    /// `message` says whose table it is (a file's or a paste's).
    ColumnDialog(const files::ColumnLayout &layout, const QString &message,
                 QWidget *parent = nullptr);

    /// The chosen column, from 0.
    std::size_t column() const;

private:
    void createTable();
    /// The drop-down with its caption, in a row of their own.
    QLayout *createColumnChoice();
    QDialogButtonBox *createButtons();
    /// The drop-down, a click on a column's header and one on its cells.
    void connectColumnChoosing();
    void showColumn(int column);

    files::ColumnLayout m_layout;
    QTableWidget *m_table = nullptr;
    QComboBox *m_choice = nullptr;
    QLabel *m_headerNote = nullptr;
};

/// Asks which column of the table to read; nullopt when the user cancels.
std::optional<std::size_t> askColumn(QWidget *parent, const QString &message,
                                     const files::ColumnLayout &layout);

/// The separator's name in the question: 「コンマ」, 「タブ」 or 「セミコロン」.
QString separatorName(char separator);
