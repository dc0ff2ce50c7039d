#pragma once

#include "ui/FileDialog.h"

#include <string>
#include <vector>

class QWidget;

/// The main window's way into 管理図シート: a new sheet, a sheet file, and
/// the list's values sent to a new sheet in rows of the group size the user
/// picks. Each sheet is a window of its own that lives until it is closed.
class SheetCommands
{
public:
    explicit SheetCommands(QWidget *window) : m_window(window) {}

    void openNew();
    void openFromDialog();
    /// 「シートへ送る」: asks for the group size (1 for individuals).
    void sendToSheet(const std::vector<std::string> &items);

private:
    QWidget *m_window;
    FileDialog m_dialog;
};
