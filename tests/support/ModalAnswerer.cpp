#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
std::vector<const ModalAnswerer *> liveAnswerers; // oldest first
}

ModalAnswerer::ModalAnswerer(std::vector<QMessageBox::StandardButton> answers,
                             std::deque<QString> paths)
    : m_answers(std::move(answers)), m_paths(std::move(paths))
{
    liveAnswerers.push_back(this);
    // A modal dialog runs its own event loop, so a timer reaches it from inside.
    QTimer::singleShot(0, this, &ModalAnswerer::look);
}

ModalAnswerer::~ModalAnswerer()
{
    std::erase(liveAnswerers, this);
}

QStringList ModalAnswerer::boxTexts() const
{
    QStringList texts;
    for (const ShownBox &box : boxes)
        texts << box.text;
    return texts;
}

void ModalAnswerer::look()
{
    // Scheduled first: answering one dialog may open the next one modally
    // from inside this call, and a running timer is not fired again.
    QTimer::singleShot(5, this, &ModalAnswerer::look);
    if (liveAnswerers.back() != this)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == m_answered || !modal->isVisible())
        return;
    m_answered = modal;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        answer(box);
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        fileDialogs.push_back({dialog->directory().absolutePath(),
                               nameField != nullptr ? nameField->text() : QString(),
                               dialog->nameFilters()});
        QString path;
        if (!m_paths.empty()) {
            path = m_paths.front();
            m_paths.pop_front();
        }
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // public there, virtual
        }
    } else if (auto *other = qobject_cast<QDialog *>(modal)) {
        dialogs.push_back({other->objectName(), other->windowTitle()});
        if (dialogAnswers.empty()) {
            other->accept();
            return;
        }
        const DialogAnswer answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        answer(*other);
    }
}

void ModalAnswerer::answer(QMessageBox *box)
{
    ShownBox seen{box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
    if (QPushButton *button = box->defaultButton())
        seen.defaultButton = box->standardButton(button);
    const std::size_t index = boxes.size();
    boxes.push_back(seen);

    QMessageBox::StandardButton chosen = QMessageBox::Escape;
    if (index < m_answers.size())
        chosen = m_answers[index];
    else if (box->button(QMessageBox::Yes) != nullptr)
        chosen = QMessageBox::Yes;
    else if (box->button(QMessageBox::Ok) != nullptr)
        chosen = QMessageBox::Ok;
    if (chosen == QMessageBox::Default)
        QTest::keyClick(box, Qt::Key_Return);
    else if (chosen == QMessageBox::Escape || box->button(chosen) == nullptr)
        QTest::keyClick(box, Qt::Key_Escape);
    else
        box->button(chosen)->click();
}
