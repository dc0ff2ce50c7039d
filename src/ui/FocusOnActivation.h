#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace ui {

/// Puts the keyboard focus on one control each time its window becomes the
/// active window, so that typing goes where the window's work starts
/// whatever held the focus when the user left it.
class FocusOnActivation : public QObject
{
public:
    /// Watches `window`, whose child it becomes; `control` lies in it. While
    /// `keepFocus` answers true (an edit elsewhere in the window is open),
    /// the focus stays where it is.
    FocusOnActivation(QWidget *window, QWidget *control, std::function<bool()> keepFocus = {})
        : QObject(window), m_control(control), m_keepFocus(std::move(keepFocus))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && m_control && !(m_keepFocus && m_keepFocus()))
            m_control->setFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_control;
    std::function<bool()> m_keepFocus;
};

} // namespace ui
