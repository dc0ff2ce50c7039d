#include "sheetwin/SheetTableView.h"

#include "sheetwin/SheetTableModel.h"

#include <QHeaderView>

namespace sheetwin {

SheetTableView::SheetTableView(QWidget *parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("SheetTable"));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

QModelIndex SheetTableView::nextValue(const QModelIndex &current) const
{
    const auto *sheetModel = qobject_cast<const SheetTableModel *>(model());
    if (!sheetModel || !sheetModel->isValueColumn(current.column()))
        return {};
    if (current.column() < sheetModel->lastValueColumn())
        return sheetModel->index(current.row(), current.column() + 1);
    return sheetModel->index(current.row() + 1, sheetModel->firstValueColumn());
}

void SheetTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The row the value went into may have just been made: find the next
    // cell only after the model has taken the value.
    const QModelIndex current = currentIndex();
    const bool entered = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, entered ? QAbstractItemDelegate::NoHint : hint);
    if (!entered)
        return;
    const QModelIndex next = nextValue(current);
    if (!next.isValid())
        return;
    setCurrentIndex(next);
    edit(next);
}

} // namespace sheetwin
