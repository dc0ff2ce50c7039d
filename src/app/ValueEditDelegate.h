#pragma once

#include <QString>
#include <QStyledItemDelegate>

class EntryBox;

/// The value list's in-place editor, for 「修正」 (F2) and 「ここに挿入」.
///
/// The editor is an EntryBox as long as the entry box Text1, so it takes
/// typing, pastes and the input method exactly as Text1 does: text with
/// breaks, or too long for the box, is handed over (linesPasted) rather than
/// taken, and a composition cancelled resets the input method. Enter accepts,
/// Escape cancels, leaving the editor for another control accepts. An accepted
/// text never goes into the model from here: the window judges it by the
/// entry box's rules and makes the change, which it can then undo.
class ValueEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// The accessible name the next editor gets, which says what it is for.
    void setEditorName(const QString &name) { m_editorName = name; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

signals:
    /// The editor's text was accepted (Enter, or the focus went elsewhere).
    void textAccepted(const QString &text) const;
    /// Text with breaks, or too long for the editor, pasted into it: the
    /// editor's text as the paste would have left it.
    void linesPasted(EntryBox *editor, const QString &text) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QString m_editorName;
};
