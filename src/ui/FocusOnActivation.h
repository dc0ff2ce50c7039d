#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace ui {

/// Puts the keyboard focus on one control each time its window becomes the
/// active window, so that typing goes where the window's work starts
/// whatever held the focus when the user left it.
class FocusOnActivation : public QObject
{
public:
    /// Watches `window`, whose child it becomes; `control` lies in it.
    FocusOnActivation(QWidget *window, QWidget *control) : QObject(window), m_control(control)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && m_control)
            m_control->setFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_control;
};

} // namespace ui
