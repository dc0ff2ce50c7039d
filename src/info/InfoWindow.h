#pragma once

// The information window: the title, the maker's name as its caption, six
// lines of usage and a "close" button. The main window opens it from its menu
// 情報 → 情報 and keeps at most one; it is modeless and has no owner, so both
// windows stay usable side by side. Closing it deletes it, and the next
// opening builds a fresh one, which centres itself again. Whenever it becomes
// the active window, the focus goes to its close button.
//
// Each control keeps its designer name as its objectName, by which tests
// and accessibility find it:
//
//   designer name      member            handler
//   form1 (InfoWindow) -                 -
//   Label2             m_titleLabel      -
//   Label3             m_usageLabel      -
//   Command1           m_closeButton     close()

#include <QWidget>

class QLabel;
class QPushButton;

class InfoWindow : public QWidget
{
    Q_OBJECT

public:
    explicit InfoWindow(QWidget *parent = nullptr);
    ~InfoWindow() override;

private:
    void createControls();
    void createTitle();
    void createUsage();
    void createCloseButton();
    /// Fills the usage label and shrinks its font until the text fits.
    void showUsage();

    QLabel *m_titleLabel = nullptr;
    QLabel *m_usageLabel = nullptr;
    QPushButton *m_closeButton = nullptr;
};
