#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
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

/// What a file dialog showed when it was answered.
struct ShownFileDialog
{
    QString folder;
    QString nameField;
    QStringList filters;
};

/// Answers the modal dialogs that come up while it lives, in the order they
/// come. The n-th message box gets the n-th answer (QMessageBox::Escape presses
/// Esc); a box beyond the answers gets Yes, or else OK, where it has one, and
/// Esc otherwise. Each file dialog gets the next of the paths; an empty path,
/// or none left, cancels it.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::vector<QMessageBox::StandardButton> answers = {},
                           std::deque<QString> paths = {});

    std::vector<ShownBox> boxes;
    std::vector<ShownFileDialog> fileDialogs;

    /// The texts of the boxes, in the order they were shown.
    QStringList boxTexts() const;

private:
    void look();
    void answer(QMessageBox *box);

    std::vector<QMessageBox::StandardButton> m_answers;
    std::deque<QString> m_paths;
    QPointer<QWidget> m_answered;
};
