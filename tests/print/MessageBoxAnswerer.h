#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <vector>

/// What a message box showed when it was answered.
struct ShownBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

/// Answers the modal message boxes that come up while it lives, in order:
/// the first with the first answer, and so on. A box beyond the answers is
/// closed with Esc. QMessageBox::Escape as an answer presses Esc.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(std::vector<QMessageBox::StandardButton> answers);

    std::vector<ShownBox> shown;

private:
    void answerOpenBox();

    std::vector<QMessageBox::StandardButton> m_answers;
    QTimer m_poll;
};
