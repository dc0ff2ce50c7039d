#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QString>

namespace ui {

// The windows are laid out for a Western 9-point face; the Japanese face
// they use draws wider and taller. Rather than cut a caption off, its font
// is set a little smaller, half a point at a time, until it fits its place.
// Text from outside (a value, a file's line, a table's cell) is another
// matter: it may be any length, so a message or a cell shows its start.

/// How much of a text from outside a message shows.
inline constexpr qsizetype kShownInMessage = 40;

/// Shrinks a one-line label's font until its caption fits the label's width.
inline void shrinkToWidth(QLabel *label)
{
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > label->width()
           && font.pointSizeF() > 7.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

/// Shrinks a word-wrapped label's font until its whole text fits the
/// label's height.
inline void shrinkToHeight(QLabel *label)
{
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height()
           && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

/// The text's first `shownLength` UTF-16 units followed by "…", or the whole
/// text when it is no longer: a long value or line is recognised by its start,
/// and the whole would stretch a message box beyond the screen.
inline QString shortened(const QString &text, qsizetype shownLength = kShownInMessage)
{
    if (text.size() <= shownLength)
        return text;
    return text.left(shownLength) + QStringLiteral("…");
}

} // namespace ui

// Files of the main window that still name these without the namespace.
using ui::kShownInMessage;
using ui::shrinkToWidth;
using ui::shrinkToHeight;
using ui::shortened;
