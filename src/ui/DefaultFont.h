#pragma once

#include <QFont>

namespace ui {

/// The font of every window: a Japanese face, so kana, kanji, half-width
/// katakana, "σ" and "±" all come from one family, at the 9 points the layout
/// was drawn for.
inline QFont vorlaDefaultFont()
{
    QFont font(QStringLiteral("Noto Sans CJK JP"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace ui

// Files of the main window that still name these without the namespace.
using ui::vorlaDefaultFont;
