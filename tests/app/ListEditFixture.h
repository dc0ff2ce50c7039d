#pragma once

// Opening the value list's editor as a user does, for the window tests of
// 修正 and ここに挿入.

#include "VorlaWindowTest.h"
#include "app/VorlaNames.h"

#include "app/EntryBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QListView>
#include <QMessageBox>
#include <QTest>

using namespace vorla_names;

enum class ListOpening {
    F2Key,       // F2 in the list
    CorrectItem, // 「修正」 in the list's context menu
    InsertItem,  // 「ここに挿入」 in the list's context menu
};

/// The list's open editor, nullptr when none is open.
inline EntryBox *openedListEditor(const QListView *list)
{
    // A closed editor goes only when its deletion is run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return list->viewport()->findChild<EntryBox *>(QLatin1String(kValueEditor));
}

/// Presses Enter in the editor. The item view accepts the text only once the
/// key's handling is over, in a queued call, which is run here.
inline void acceptListEdit(QWidget *editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

/// Selects `row` as a click would.
inline void selectListRow(QListView *list, int row)
{
    list->setFocus();
    list->setCurrentIndex(list->model()->index(row, 0));
}

/// Selects `row` and opens the editor on it; the editor, or nullptr.
inline EntryBox *openListEditor(QListView *list, ListOpening opening, int row)
{
    selectListRow(list, row);
    const char *name = opening == ListOpening::InsertItem ? kInsert : kCorrect;
    if (opening == ListOpening::F2Key)
        QTest::keyClick(list, Qt::Key_F2);
    else
        list->findChild<QAction *>(QLatin1String(name))->trigger();
    return openedListEditor(list);
}

/// A window whose list holds 1, 2 and 3 from a file: nothing unsaved, the
/// open command on and the count box empty.
class ListEditTest : public VorlaWindowTest
{
protected:
    void SetUp() override
    {
        VorlaWindowTest::SetUp();
        writeFile(path("values.txt"), "1\r\n2\r\n3\r\n");
        ASSERT_TRUE(m_window->openValueFile(path("values.txt")));
    }

    void select(int row) const { selectListRow(list(), row); }
    EntryBox *openEditor(ListOpening opening, int row) const
    {
        return openListEditor(list(), opening, row);
    }
    EntryBox *openedEditor() const { return openedListEditor(list()); }
    /// Opens the editor, replaces its text with `text` and presses Enter.
    void edit(ListOpening opening, int row, const QString &text) const
    {
        EntryBox *editor = openEditor(opening, row);
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text);
        acceptListEdit(editor);
    }
    /// The selected row, -1 for none.
    int selectedRow() const
    {
        const QModelIndexList rows = list()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
    }
    /// Whether closing the window asks about unsaved values; the question is
    /// cancelled, so the window stays.
    bool asksOnExit() const
    {
        ModalAnswerer answerer({QMessageBox::Cancel});
        m_window->close();
        return !answerer.boxes.empty();
    }
};
