#include "app/SheetCommands.h"

#include "sheetwin/SheetWindow.h"
#include "ui/Utf8.h"

#include <QDir>
#include <QInputDialog>
#include <QStringList>

void SheetCommands::openNew()
{
    sheetwin::SheetWindow::openNew();
}

void SheetCommands::openFromDialog()
{
    m_dialog.setTitle(QStringLiteral("管理図シートを開く"));
    m_dialog.setFilter(QStringLiteral("管理図シート(*.vorla)|*.vorla|すべてのファイル (*)|*|"));
    m_dialog.setInitDir(QDir::homePath());
    if (m_dialog.showOpen(m_window) && sheetwin::SheetWindow::openFile(m_dialog.fileName()))
        m_dialog.setFileName(QString());
}

void SheetCommands::sendToSheet(const std::vector<std::string> &items)
{
    bool chosen = false;
    const int n = QInputDialog::getInt(m_window, QStringLiteral("シートへ送る"),
                                       QStringLiteral("群の大きさ（1 は個々の値）:"), 5, 1, 25, 1,
                                       &chosen);
    if (!chosen)
        return;
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string &item : items)
        texts << ui::fromUtf8(item);
    sheetwin::SheetWindow::fromValues(texts, n);
}
