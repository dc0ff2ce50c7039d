#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
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

/// What another dialog (neither a message box nor a file dialog) showed.
struct ShownDialog
{
    QString objectName;
    QString title;
};

/// Answers another dialog: looks at it, sets its controls, and closes it.
using DialogAnswer = std::function<void(QDialog &)>;

/// Answers the modal dialogs that come up while it lives, in the order they
/// come. The n-th message box gets the n-th answer (QMessageBox::Escape presses
/// Esc, QMessageBox::Default presses Enter); a box beyond the answers gets Yes, or else OK, where it has one, and
/// Esc otherwise. Each file dialog gets the next of the paths; an empty path,
/// or none left, cancels it. Any other dialog gets the next of dialogAnswers,
/// or with none left is accepted as it stands. While several live, the newest
/// answers: a dialog of a later command never goes to an earlier answerer,
/// however long the dialog takes to appear.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::vector<QMessageBox::StandardButton> answers = {},
                           std::deque<QString> paths = {});
    ~ModalAnswerer() override;

    std::vector<ShownBox> boxes;
    std::vector<ShownFileDialog> fileDialogs;
    std::vector<ShownDialog> dialogs;
    std::deque<DialogAnswer> dialogAnswers;

    /// The texts of the boxes, in the order they were shown.
    QStringList boxTexts() const;

private:
    void look();
    void answer(QMessageBox *box);

    std::vector<QMessageBox::StandardButton> m_answers;
    std::deque<QString> m_paths;
    QPointer<QWidget> m_answered;
};
