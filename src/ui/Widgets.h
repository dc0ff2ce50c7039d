#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// Small makers of the controls the windows build by hand: each names the
// control (its designer name, by which tests and screen readers find it) as
// it is made.

namespace ui {

/// A line edit with its object and accessible names, at least `width` wide.
inline QLineEdit *namedLineEdit(const char *name, const QString &accessibleName, int width)
{
    auto *box = new QLineEdit;
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(accessibleName);
    box->setMinimumWidth(width);
    return box;
}

/// A push button with its caption, object name and accessible name.
inline QPushButton *namedButton(const QString &caption, const char *name,
                                const QString &accessibleName)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(accessibleName);
    return button;
}

/// A caption before its box, which the caption's mnemonic focuses.
inline QLabel *buddyCaption(const QString &text, QWidget *box)
{
    auto *label = new QLabel(text);
    label->setBuddy(box);
    return label;
}

/// A word-wrapped note, hidden until it has something to say.
inline QLabel *hiddenNote(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->hide();
    return label;
}

} // namespace ui
