#pragma once

#include "ui/FileDialog.h"

#include <QString>
#include <QStringList>

class QWidget;
class ValueListDocument;

/// The main window's file commands over its document: open from the dialog,
/// open given or dropped files, save, and the question before the window
/// closes with values not saved. Messages go over `window`; the busy pointer
/// shows over `busyControl` while a file is read.
class ValueFileCommands
{
public:
    ValueFileCommands(QWidget *window, ValueListDocument *document, QWidget *busyControl);

    /// ファイルを開く: asks for a file and appends its values.
    void openFromDialog();
    /// Appends a value file's lines to the list: same reading, messages and
    /// caption as the open command once its dialog has given the path. Does
    /// not look at whether the open command is allowed. True when read.
    bool openFile(const QString &fileName);
    /// Files dropped on the window, once the drop is over: opened in order,
    /// or refused with the reason while the open command is off.
    void openDropped(const QStringList &files);
    /// 名前を付けて保存: asks for a name and writes the list. True when saved.
    bool save();
    /// With values not saved, asks what becomes of them; true when the
    /// window may close (saved, or the user chose not to save).
    bool mayDiscardUnsaved();

private:
    QWidget *m_window;
    ValueListDocument *m_document;
    QWidget *m_busyControl;
    FileDialog m_dialog;
};
