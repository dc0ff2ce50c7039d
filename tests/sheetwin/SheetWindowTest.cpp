// The sheet window's controls reach its document: values typed with Enter
// fill a row and go on to the next, text without a number is marked at
// once, and the edit menu's undo takes back one value.

#include "sheetwin/SheetWindow.h"

#include "sheetwin/SheetTableModel.h"
#include "sheetwin/SheetTableView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using sheetwin::SheetTableView;
using sheetwin::SheetWindow;
using Values = std::vector<std::string>;

class SheetWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = new SheetWindow;
        sheet::Header header;
        header.subgroupSize = 3;
        ASSERT_EQ(m_window->document().setHeader(header), "");
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window));
    }
    void TearDown() override
    {
        m_window->document().undoStack()->setClean(); // closes without asking
        m_window->close();
    }

    // Types `text` into the cell the table's current index is at (the editor
    // Enter opened, or a new one) and presses Enter.
    void typeAndEnter(const QString &text)
    {
        SheetTableView *table = m_window->table();
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (!editor || editor->parentWidget() != table->viewport()) {
            table->edit(table->currentIndex());
            editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        }
        ASSERT_NE(editor, nullptr) << "no editor has the focus";
        ASSERT_EQ(editor->parentWidget(), table->viewport()) << "the focus is not in the table";
        editor->insert(text); // as an input method commits it
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits on Enter through a queued call
    }

    Values row(std::size_t r) const
    {
        const auto &rows = m_window->document().sheet().rows;
        return r < rows.size() ? rows[r].values : Values{};
    }

    SheetWindow *m_window = nullptr;
};

TEST_F(SheetWindowTest, EnterFillsTheRowAndGoesOnToTheNext)
{
    SheetTableView *table = m_window->table();
    table->setCurrentIndex(table->model()->index(0, 1));
    for (const char *value : {"10", "11", "12", "13"})
        typeAndEnter(QString::fromUtf8(value));
    EXPECT_EQ(row(0), (Values{"10", "11", "12"}));
    EXPECT_EQ(row(1), (Values{"13"}));
    EXPECT_EQ(table->currentIndex().row(), 1);
    EXPECT_EQ(table->currentIndex().column(), 2); // the second value of the second row
}

TEST_F(SheetWindowTest, TextWithoutNumberIsMarkedAtOnce)
{
    SheetTableView *table = m_window->table();
    table->setCurrentIndex(table->model()->index(0, 1));
    typeAndEnter(QStringLiteral("10"));
    typeAndEnter(QStringLiteral("欠測"));
    const QModelIndex marked = table->model()->index(0, 2);
    EXPECT_TRUE(table->model()->data(marked, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(table->model()->data(table->model()->index(0, 1), Qt::BackgroundRole).isValid());
    auto *findings = m_window->findChild<QListWidget *>(QStringLiteral("findings"));
    ASSERT_NE(findings, nullptr);
    QStringList listed;
    for (int i = 0; i < findings->count(); ++i)
        listed << findings->item(i)->text();
    EXPECT_TRUE(listed.contains(QStringLiteral("第 1 群 2 番目の値に数値がありません"))) << listed.join('\n').toStdString();
}

TEST_F(SheetWindowTest, UndoInTheEditMenuTakesBackOneValue)
{
    SheetTableView *table = m_window->table();
    table->setCurrentIndex(table->model()->index(0, 1));
    typeAndEnter(QStringLiteral("10"));
    typeAndEnter(QStringLiteral("11"));
    QAction *undo = nullptr;
    for (QAction *menu : m_window->menuBar()->actions())
        for (QAction *action : menu->menu()->actions())
            if (action->text().startsWith(QStringLiteral("元に戻す")))
                undo = action;
    ASSERT_NE(undo, nullptr);
    undo->trigger();
    EXPECT_EQ(row(0), (Values{"10"}));
    EXPECT_TRUE(m_window->isWindowModified());
}

TEST_F(SheetWindowTest, OpenedSheetShowsItsCapabilityAndSignals)
{
    SheetWindow *opened = SheetWindow::openFile(QStringLiteral(VORLA_TEST_DATA_DIR "/sheet/sample-sheet.vorla"));
    ASSERT_NE(opened, nullptr);
    EXPECT_FALSE(opened->isWindowModified());
    auto *capability = opened->findChild<QLabel *>(QStringLiteral("capability"));
    ASSERT_NE(capability, nullptr);
    const QString text = capability->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("工程能力 (改訂 1、第 33 群から)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nCp "))) << text.toStdString();
    auto *findings = opened->findChild<QListWidget *>(QStringLiteral("findings"));
    ASSERT_NE(findings, nullptr);
    QStringList listed;
    for (int i = 0; i < findings->count(); ++i)
        listed << findings->item(i)->text();
    EXPECT_TRUE(listed.filter(QStringLiteral("第 27 群 (12/10 10:00)")).size() >= 1)
        << listed.join('\n').toStdString();
    opened->close();
}

TEST_F(SheetWindowTest, RefusedFileOpensNoWindow)
{
    // The message box that says so is answered by closing it.
    QTimer::singleShot(0, [] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(widget))
                box->accept();
    });
    EXPECT_EQ(SheetWindow::openFile(QStringLiteral(VORLA_TEST_DATA_DIR "/sheet/missing.vorla")), nullptr);
}

TEST_F(SheetWindowTest, FromValuesMakesRowsOfN)
{
    SheetWindow *sent = SheetWindow::fromValues({"1", "2", "3", "4", "5"}, 2);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->document().sheet().header.subgroupSize, 2);
    ASSERT_EQ(sent->document().sheet().rows.size(), 3u);
    EXPECT_EQ(sent->document().sheet().rows[1].values, (Values{"3", "4"}));
    sent->document().undoStack()->setClean();
    sent->close();
}

} // namespace
