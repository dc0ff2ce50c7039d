#pragma once

// 「CSV の取り込み」: a table whose rows are subgroups, shown as a preview
// with a choice above each column (ラベル, 値, 注記, 使わない) and the number
// of header rows, starting from sheet::proposeColumns. Below the preview it
// lists every empty cell and every cell without a number, by line and
// column, and what the import does with digit-grouping commas, so nothing
// is skipped in silence. The window imports the chosen columns after OK.

// Qt's `signals` keyword would rename the analysis' member of that name.
#pragma push_macro("signals")
#undef signals
#include "sheet/SheetCsv.h"
#pragma pop_macro("signals")

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;
class QTableWidget;

namespace sheetwin {

class CsvImportDialog : public QDialog
{
    Q_OBJECT
public:
    CsvImportDialog(sheet::CsvTable table, QWidget *parent = nullptr);

    /// The columns as chosen now.
    sheet::CsvColumns columns() const;
    /// The import of the chosen columns.
    const sheet::CsvImport &import() const { return m_import; }

    /// The role menu of a column (for tests and screen readers: objectName "role<N>").
    QComboBox *roleBox(int column) const { return m_roles.at(static_cast<std::size_t>(column)); }

private:
    void createWidgets();
    void fillPreview();
    void showImport(); // after every change of a choice

    sheet::CsvTable m_table;
    sheet::CsvImport m_import;
    QSpinBox *m_headerRowsBox = nullptr;
    QTableWidget *m_preview = nullptr;
    std::vector<QComboBox *> m_roles;
    QListWidget *m_problemList = nullptr;
    QLabel *m_summary = nullptr;
    QWidget *m_okButton = nullptr;
};

} // namespace sheetwin
