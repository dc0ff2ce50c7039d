#pragma once

// The information window: the title, the maker's name as its caption, six
// lines of usage and a "close" button. The main window opens it from its menu
// item mnu_J2 and keeps at most one; it is modeless and has no owner, so both
// windows stay usable side by side. Closing it deletes it, and the next
// opening builds a fresh one, which centres itself again.

#include <QWidget>

class QLabel;
class QPushButton;

class form1 : public QWidget
{
    Q_OBJECT

public:
    explicit form1(QWidget *parent = nullptr);
    ~form1() override;

protected:
    bool event(QEvent *event) override;

private: // one handler per user event
    void Form_Load();
    void Form_Activate();
    void Command1_Click();

    void createControls();

    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Command1 = nullptr;
};
