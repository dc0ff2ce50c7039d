#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

/// The Japanese faces the windows are drawn in, best first. Windows brings
/// its own UI faces (Yu Gothic UI since Windows 8.1, Meiryo UI since Vista,
/// MS UI Gothic on every Japanese Windows); elsewhere Noto CJK.
inline QStringList vorlaDefaultFamilies()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
            QStringLiteral("MS UI Gothic")};
#else
    return {QStringLiteral("Noto Sans CJK JP")};
#endif
}

namespace ui {

/// The font of every window: a Japanese face, so kana, kanji, half-width
/// katakana, "σ" and "±" all come from one family, at the 9 points the layout
/// was drawn for. Of the faces above, the first one installed is the font's
/// family(); the others stay behind it for characters it lacks.
inline QFont vorlaDefaultFont()
{
    QStringList families = vorlaDefaultFamilies();
    const auto installed = std::find_if(families.begin(), families.end(), [](const QString &f) {
        return QFontDatabase::hasFamily(f);
    });
    if (installed != families.end())
        std::rotate(families.begin(), installed, families.end());
    QFont font(families.front(), 9);
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace ui

// Files of the main window that still name these without the namespace.
using ui::vorlaDefaultFont;
