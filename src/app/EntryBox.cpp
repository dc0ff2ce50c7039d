#include "app/EntryBox.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

bool EntryBox::holdsBreaks(const QString &text)
{
    for (const QChar c : text)
        if (c == u'\r' || c == u'\n' || c == u'\t')
            return true;
    return false;
}

bool EntryBox::takeLines(const QString &pasted)
{
    // The pasted text replaces the selection, or goes in at the cursor.
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    // The box would cut text beyond its length short without a word, so such
    // text is handed over whole, like a column, for the window to judge.
    const bool overflows = text().size() - (end - start) + pasted.size() > maxLength();
    if (!holdsBreaks(pasted) && !overflows)
        return false;
    emit linesPasted(text().left(start) + pasted + text().mid(end));
    return true;
}

void EntryBox::pasteClipboard()
{
    if (!takeLines(QGuiApplication::clipboard()->text()))
        QLineEdit::paste();
}

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    if (event->matches(QKeySequence::Undo) && !isUndoAvailable()) {
        emit nothingToUndo();
        return;
    }
    // Ctrl+Y as well as the platform's redo key, wherever Vorla runs.
    const QKeyCombination key = event->keyCombination();
    const bool redoKey = event->matches(QKeySequence::Redo)
                         || key == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)
                         || key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    if (redoKey && !isRedoAvailable()) {
        emit nothingToRedo();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EntryBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Not every Qt names the paste item "edit-paste" (6.4 does not); its
    // caption, Qt's own in the user's language, tells it apart there.
    const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")
            || action->text().section(u'\t', 0, 0) == pasteCaption) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &EntryBox::pasteClipboard);
        }
    }
    menu->popup(event->globalPos());
}

void EntryBox::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the X11 selection.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()
        && takeLines(QGuiApplication::clipboard()->text(QClipboard::Selection))) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EntryBox::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasText() && !event->mimeData()->hasUrls()
        && takeLines(event->mimeData()->text())) {
        // The window may refuse the values; the source keeps its text all
        // the same, since a dropped column is copied, never moved.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    QLineEdit::dropEvent(event);
}

void EntryBox::inputMethodEvent(QInputMethodEvent *event)
{
    const bool dropped = m_composing && event->preeditString().isEmpty()
                         && event->commitString().isEmpty();
    m_composing = !event->preeditString().isEmpty();
    QLineEdit::inputMethodEvent(event);
    // Mozc only hides a cancelled composition; Qt's IBus context keeps it and
    // Enter would commit it. The reset makes the context forget it. The
    // engine's answer to the reset must not reset again.
    if (dropped && !m_resetting) {
        m_resetting = true;
        emit compositionDropped();
        QGuiApplication::inputMethod()->reset();
        m_resetting = false;
    }
}
