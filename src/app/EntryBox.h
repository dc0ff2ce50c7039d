#pragma once

#include <QLineEdit>

/// The entry box Text1: a one-line box that also takes a pasted column.
///
/// Text holding line breaks or tabs (a column or row copied from a
/// spreadsheet) never lands in the box as one value: however it is pasted
/// (Ctrl+V, Shift+Insert, the context menu, the middle button, a drop), the
/// box leaves its text alone and hands over what it would have held instead,
/// for the window to enter line by line. So is text the box is too short to
/// hold: the box would cut it without a word. Ctrl+Z with nothing typed to undo
/// (and Ctrl+Y with nothing to redo) is handed over too, so it can bring back
/// a value removed from the list.
/// A composition of the input method that vanishes without being committed
/// (Mozc's Escape, or erasing it key by key) resets the input method, so Enter
/// cannot commit the text that was no longer shown.
class EntryBox : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    /// Whether text would make more than one value.
    static bool holdsBreaks(const QString &text);

signals:
    /// The box's text as the paste would have left it: with breaks, or longer
    /// than the box takes.
    void linesPasted(const QString &text);
    /// Ctrl+Z (or the platform's undo key) with no typing to undo.
    void nothingToUndo();
    /// Ctrl+Y, Ctrl+Shift+Z (or the platform's redo key) with no typing to redo.
    void nothingToRedo();
    /// A composition vanished without a commit; the input method is reset.
    void compositionDropped();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    /// Hands text with breaks, or text too long for the box, over as
    /// linesPasted; false for other text, which the box takes as usual.
    bool takeLines(const QString &pasted);
    /// Ctrl+V and the context menu's paste: the clipboard's text, handed
    /// over when takeLines takes it, pasted into the box otherwise.
    void pasteClipboard();

    bool m_composing = false;
    bool m_resetting = false;
};
