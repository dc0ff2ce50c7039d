#include "app/ValueEditDelegate.h"

#include "app/EntryBox.h"
#include "files/ValueFile.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>

QWidget *ValueEditDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem & /*option*/,
                                         const QModelIndex & /*index*/) const
{
    auto *editor = new EntryBox(parent);
    editor->setObjectName(QStringLiteral("valueEditor"));
    editor->setAccessibleName(m_editorName);
    // The same length as Text1 takes, so a value fits a value file's line.
    editor->setMaxLength(static_cast<int>(files::kMaxLineLength));
    connect(editor, &EntryBox::linesPasted, this,
            [this, editor](const QString &text) { emit linesPasted(editor, text); });
    return editor;
}

void ValueEditDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static_cast<EntryBox *>(editor)->setText(index.data(Qt::EditRole).toString());
}

void ValueEditDelegate::setModelData(QWidget *editor, QAbstractItemModel * /*model*/,
                                     const QModelIndex & /*index*/) const
{
    emit textAccepted(static_cast<EntryBox *>(editor)->text());
}

bool ValueEditDelegate::eventFilter(QObject *object, QEvent *event)
{
    // A refusal's message box, the column question of a pasted table or
    // another program takes the window's focus for a while; the edit goes on
    // when the window is active again rather than being accepted half-way.
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent *>(event)->reason() == Qt::ActiveWindowFocusReason)
        return false;
    // Tab accepts as Enter does. The view would go on to edit the next value,
    // which nobody asked to change.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            auto *editor = static_cast<QWidget *>(object);
            emit commitData(editor);
            emit closeEditor(editor, SubmitModelCache);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
