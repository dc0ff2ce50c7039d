#pragma once

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace ui {

/// The windows are laid out in twips; 15 twips make one pixel at 96 dots per
/// inch, and Qt scales the pixels on high-density screens.
constexpr int px(int twips) { return twips / 15; }

/// Centres a window on its whole screen by its outer size. Before a window is
/// first shown the frame's decoration is not known yet, so on X11 the window
/// may sit half a title bar off centre; on Windows it is centred again as it
/// is first shown, when its frame is known.
inline void centreOnScreen(QWidget &window);

namespace detail {

inline void centreByFrame(QWidget &window)
{
    if (const QScreen *display = window.screen()) {
        const QRect area = display->geometry();
        const QSize outer = window.frameGeometry().size();
        window.move(area.x() + (area.width() - outer.width()) / 2,
                    area.y() + (area.height() - outer.height()) / 2);
    }
}

#ifdef _WIN32
// Windows draws the frame itself, from the window's style, so its size is
// known as soon as the window is being shown, before it is on screen; there
// is no window manager to wait for. The show event is that moment.
class CentreWhenShown : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            centreByFrame(*static_cast<QWidget *>(watched));
            deleteLater();
        }
        return false;
    }
};
#endif

} // namespace detail

inline void centreOnScreen(QWidget &window)
{
    detail::centreByFrame(window);
#ifdef _WIN32
    if (!window.isVisible())
        window.installEventFilter(new detail::CentreWhenShown(&window));
#endif
}

} // namespace ui

// Files of the main window that still name these without the namespace.
using ui::px;
using ui::centreOnScreen;
