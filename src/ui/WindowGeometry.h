#pragma once

#include <QScreen>
#include <QWidget>

namespace ui {

/// The windows are laid out in twips; 15 twips make one pixel at 96 dots per
/// inch, and Qt scales the pixels on high-density screens.
constexpr int px(int twips) { return twips / 15; }

/// Centres a window on its whole screen by its outer size. Before a window is
/// first shown the frame's decoration is not known yet, so the window may sit
/// half a title bar off centre.
inline void centreOnScreen(QWidget &window)
{
    if (const QScreen *display = window.screen()) {
        const QRect area = display->geometry();
        const QSize outer = window.frameGeometry().size();
        window.move(area.x() + (area.width() - outer.width()) / 2,
                    area.y() + (area.height() - outer.height()) / 2);
    }
}

} // namespace ui

// Files of the main window that still name these without the namespace.
using ui::px;
using ui::centreOnScreen;
