// The sheet window's controls reach its document: values typed with Enter
// fill a row and go on to the next, text without a number is marked at
// once, and the edit menu's undo takes back one value.

#include "sheetwin/SheetWindow.h"

#include "chart/RecordPaper.h"

#include "sheetwin/SheetTableModel.h"
#include "sheetwin/SheetTableView.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>
#include <QComboBox>
#include <QSpinBox>
#include <QSettings>
#include <QFile>

#include "ModalAnswerer.h"

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

// 管理線 → 期の設定: typed CL, UCL and LCL, then standard values on the same
// start, each one undo step; the chart's phase follows.
TEST_F(SheetWindowTest, PhaseDialogSetsTypedLimitsAndStandardValues)
{
    sheetwin::SheetDocument &doc = m_window->document();
    for (std::size_t r = 0; r < 8; ++r)
        for (std::size_t i = 0; i < 3; ++i)
            ASSERT_EQ(doc.setValue(r, i, std::to_string(10 + (r + i) % 3)), "");
    SheetTableView *table = m_window->table();
    table->setCurrentIndex(table->model()->index(5, 1));
    QAction *setPhase = nullptr;
    for (QAction *menu : m_window->menuBar()->actions())
        for (QAction *action : menu->menu()->actions())
            if (action->text().startsWith(QStringLiteral("期の設定")))
                setPhase = action;
    ASSERT_NE(setPhase, nullptr);
    const auto type = [](QDialog &dialog, const char *name, const char *text) {
        auto *box = dialog.findChild<QLineEdit *>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        box->clear();
        box->insert(QString::fromUtf8(text)); // as typed, or as an input method commits it
    };

    ModalAnswerer answerer;
    answerer.dialogAnswers.push_back([&](QDialog &dialog) {
        auto *start = dialog.findChild<QSpinBox *>(QStringLiteral("phaseStart"));
        ASSERT_NE(start, nullptr);
        EXPECT_EQ(start->value(), 6); // the current group
        dialog.findChild<QComboBox *>(QStringLiteral("phaseSource"))->setCurrentIndex(3);
        type(dialog, "locationCL", "11");
        type(dialog, "locationUCL", "１２．５");
        type(dialog, "locationLCL", "9.5");
        type(dialog, "spreadCL", "1.7");
        type(dialog, "spreadUCL", "4.4");
        type(dialog, "phaseNote", "工程変更");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    const int steps = doc.undoStack()->count();
    setPhase->trigger();
    ASSERT_EQ(answerer.dialogs.size(), 1u);
    EXPECT_EQ(answerer.dialogs[0].title, QStringLiteral("期の設定"));
    ASSERT_EQ(doc.sheet().phases.size(), 2u);
    const sheet::Phase &given = doc.sheet().phases[1];
    EXPECT_EQ(given.firstRow, 5u);
    EXPECT_EQ(given.source, sheet::LimitSource::Given);
    EXPECT_EQ(given.location, (sheet::LimitTexts{"11", "１２．５", "9.5"}));
    EXPECT_EQ(given.spread, (sheet::LimitTexts{"1.7", "4.4", ""}));
    EXPECT_EQ(given.note, "工程変更");
    EXPECT_EQ(doc.undoStack()->count(), steps + 1);
    const sheet::SheetAnalysis &analysis = m_window->findChild<sheetwin::SheetTableModel *>()->analysis();
    ASSERT_EQ(analysis.phases.size(), 2u);
    ASSERT_TRUE(analysis.phases[1].limits.has_value());
    EXPECT_NEAR(analysis.phases[1].limits->location.upper, 12.5, 1e-12);

    answerer.dialogAnswers.push_back([&](QDialog &dialog) {
        dialog.findChild<QComboBox *>(QStringLiteral("phaseSource"))->setCurrentIndex(2);
        type(dialog, "standardMean", "11");
        type(dialog, "standardSigma", "0.8");
        dialog.accept();
    });
    setPhase->trigger();
    ASSERT_EQ(doc.sheet().phases.size(), 2u); // the same start: replaced
    EXPECT_EQ(doc.sheet().phases[1].source, sheet::LimitSource::Standard);
    EXPECT_EQ(doc.sheet().phases[1].standardSigma, "0.8");
    EXPECT_EQ(doc.sheet().phases[1].location, sheet::LimitTexts{}); // no leftovers of the typed lines
    doc.undoStack()->undo();
    EXPECT_EQ(doc.sheet().phases[1], given);
    doc.undoStack()->undo();
    EXPECT_TRUE(doc.sheet().phases.empty());
}

// ファイル → 記録の用紙 → A4 縦 turns the pages of PDF に保存, and the choice
// is the one the chart window's 用紙 shows.
TEST_F(SheetWindowTest, RecordOnThePaperChosenInTheMenu)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    ASSERT_EQ(m_window->document().setValue(0, 0, "25.01"), "");
    ASSERT_EQ(m_window->document().setValue(0, 1, "25.03"), "");
    auto *portrait = m_window->findChild<QAction *>(QStringLiteral("recordPortrait"));
    ASSERT_NE(portrait, nullptr);
    portrait->trigger();
    EXPECT_EQ(chart::savedRecordOrientation(), QPageLayout::Portrait);
    QAction *savePdf = nullptr;
    for (QAction *action : m_window->findChildren<QAction *>())
        if (action->text().startsWith(QStringLiteral("PDF に保存")))
            savePdf = action;
    ASSERT_NE(savePdf, nullptr);
    const QString file = dir.filePath(QStringLiteral("記録.pdf"));
    {
        ModalAnswerer answerer({}, {file});
        savePdf->trigger();
        EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxTexts().join('\n').toStdString();
    }
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("/MediaBox [0 0 595.000000 842.000000]"));
    m_window->findChild<QAction *>(QStringLiteral("recordLandscape"))->trigger();
    EXPECT_EQ(chart::savedRecordOrientation(), QPageLayout::Landscape);
}

// A sheet window given a data folder journals its changes there; closed
// normally (here after 保存しない), the journal is gone at once, before the
// window is deleted, so a program that quits right after leaves none.
TEST(SheetWindowJournal, ClosingLeavesNoJournal)
{
    QTemporaryDir data;
    SheetWindow *window = SheetWindow::openNew(data.path());
    const QDir journals(data.filePath(QStringLiteral("journal")));
    ASSERT_EQ(window->document().setValue(0, 0, "25.01"), "");
    const QStringList written = journals.entryList({QStringLiteral("*-sheet-*.vjl")}, QDir::Files);
    ASSERT_EQ(written.size(), 1) << "the first change creates the window's journal";
    ModalAnswerer answerer({QMessageBox::Discard});
    EXPECT_TRUE(window->close());
    ASSERT_EQ(answerer.boxes.size(), 1u); // the question about the unsaved sheet
    EXPECT_TRUE(journals.entryList({QStringLiteral("*.vjl")}, QDir::Files).isEmpty());
}

} // namespace
