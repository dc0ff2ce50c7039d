#pragma once

// The sheet's table, keyboard first: Enter in a value's editor enters it and
// opens the next value of the row, and after the n-th value the first value
// of the next row, so a gauge that types a reading and Enter fills the sheet
// in order. Typing into a cell starts editing it.

#include <QTableView>

namespace sheetwin {

class SheetTableModel;

class SheetTableView : public QTableView
{
    Q_OBJECT
public:
    explicit SheetTableView(QWidget *parent = nullptr);

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    /// The value cell after `current`: the next value of its row, or the
    /// first of the next row after the n-th.
    QModelIndex nextValue(const QModelIndex &current) const;
};

} // namespace sheetwin
