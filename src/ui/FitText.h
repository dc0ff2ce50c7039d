#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QLabel>

// The windows are laid out for a Western 9-point face; the Japanese face
// they use draws wider and taller. Rather than cut a caption off, its font
// is set a little smaller, half a point at a time, until it fits its place.

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
