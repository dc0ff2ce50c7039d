#include "MessageBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<QMessageBox::StandardButton> answers)
    : m_answers(std::move(answers))
{
    // A modal box runs its own event loop, so a timer reaches it from inside.
    QObject::connect(&m_poll, &QTimer::timeout, [this] { answerOpenBox(); });
    m_poll.start(10);
}

void MessageBoxAnswerer::answerOpenBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
        return;
    ShownBox seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
    if (QPushButton *button = box->defaultButton())
        seen.defaultButton = box->standardButton(button);
    const std::size_t index = shown.size();
    shown.push_back(seen);

    const QMessageBox::StandardButton answer =
        index < m_answers.size() ? m_answers[index] : QMessageBox::Escape;
    if (answer == QMessageBox::Escape || box->button(answer) == nullptr)
        QTest::keyClick(box, Qt::Key_Escape);
    else
        box->button(answer)->click();
}
