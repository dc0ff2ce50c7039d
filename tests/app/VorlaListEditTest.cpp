// Correcting a listed value where it stands (修正, F2) and entering one before
// it (ここに挿入), through the keys and the list's context menu: what the list,
// the count, the undo command, the focus and the exit question show after.

#include "ListEditFixture.h"
#include "app/VorlaNames.h"
#include "RowName.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

using namespace vorla_names;

namespace {

enum class Closing { Return, Escape, Tab, ShiftTab, ClickEntryBox };

struct EditCase
{
    const char *name;
    ListOpening opening;
    int row;
    const char *typed; // replaces the editor's text, which opens selected
    Closing closing;
    QStringList items;  // afterwards, from 1, 2, 3
    const char *count;  // Text10 afterwards; it starts empty
    bool changed;       // an undo step, the open command off for an insertion, the exit question
    const char *focus;  // the control that has the focus afterwards
    int selected;       // the selected row afterwards
};

void PrintTo(const EditCase &c, std::ostream *out) { *out << c.name; }

class ListEditCaseTest : public ListEditTest, public ::testing::WithParamInterface<EditCase>
{
};

void close(QWidget *editor, Closing closing, QWidget *entryBox)
{
    switch (closing) {
    case Closing::Return:
        acceptListEdit(editor);
        break;
    case Closing::Escape:
        QTest::keyClick(editor, Qt::Key_Escape);
        break;
    case Closing::Tab:
        QTest::keyClick(editor, Qt::Key_Tab);
        break;
    case Closing::ShiftTab:
        QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
        break;
    case Closing::ClickEntryBox:
        QTest::mouseClick(entryBox, Qt::LeftButton);
        break;
    }
}

/// Counts the editors the list opens: closing one must not open the next
/// (Tab) or the previous value's (Shift+Tab), as the view would by itself.
class EditorCount : public QObject
{
public:
    explicit EditorCount(QWidget *viewport) { viewport->installEventFilter(this); }
    int opened = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ChildPolished
            && qobject_cast<EntryBox *>(static_cast<QChildEvent *>(event)->child()) != nullptr)
            ++opened;
        return false;
    }
};

TEST_P(ListEditCaseTest, ChangesTheValueInPlaceOrNothing)
{
    const EditCase &c = GetParam();
    const EditorCount editors(list()->viewport());
    EntryBox *editor = openEditor(c.opening, c.row);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->accessibleName(), c.opening == ListOpening::InsertItem
                                            ? QStringLiteral("挿入する値")
                                            : QStringLiteral("値の修正"));
    QTest::keyClicks(editor, QString::fromUtf8(c.typed));
    close(editor, c.closing, box(kEntryBox));

    EXPECT_EQ(openedEditor(), nullptr);
    EXPECT_EQ(items(), c.items);
    EXPECT_EQ(text(kCountBox), QString::fromUtf8(c.count));
    EXPECT_EQ(action(kUndo)->isEnabled(), c.changed);
    const bool inserted = c.changed && c.opening == ListOpening::InsertItem;
    EXPECT_EQ(action(kOpenCommand)->isEnabled(), !inserted);
    EXPECT_EQ(focusedControl(), QString::fromUtf8(c.focus));
    EXPECT_EQ(selectedRow(), c.selected);
    EXPECT_EQ(asksOnExit(), c.changed);
    EXPECT_EQ(editors.opened, 1);
}

const EditCase kEditCases[] = {
    {"F2CorrectsInPlace", ListOpening::F2Key, 1, "5", Closing::Return, {"1", "5", "3"}, "", true,
     kEntryBox, 1},
    {"MenuCorrectsTheFirst", ListOpening::CorrectItem, 0, "-0.5", Closing::Return,
     {"-0.5", "2", "3"}, "", true, kEntryBox, 0},
    {"TabAccepts", ListOpening::F2Key, 2, "7", Closing::Tab, {"1", "2", "7"}, "", true, kEntryBox, 2},
    // Left to the view, Shift+Tab would move on to the value above.
    {"ShiftTabAccepts", ListOpening::F2Key, 2, "6", Closing::ShiftTab, {"1", "2", "6"}, "", true,
     kEntryBox, 2},
    {"ShiftTabAcceptsInsertion", ListOpening::InsertItem, 1, "9", Closing::ShiftTab,
     {"1", "9", "2", "3"}, "1", true, kEntryBox, 1},
    {"LeavingAccepts", ListOpening::F2Key, 1, "8", Closing::ClickEntryBox, {"1", "8", "3"}, "",
     true, kEntryBox, 1},
    {"EscapeKeepsTheValue", ListOpening::F2Key, 1, "5", Closing::Escape, {"1", "2", "3"}, "", false,
     kValueList, 1},
    {"EmptiedKeepsTheValue", ListOpening::F2Key, 1, "\b", Closing::Return, {"1", "2", "3"}, "",
     false, kValueList, 1},
    {"SameTextIsNoChange", ListOpening::F2Key, 1, "2", Closing::Return, {"1", "2", "3"}, "", false,
     kValueList, 1},
    {"TextKeptAsTyped", ListOpening::F2Key, 0, " 1,5 ", Closing::Return, {" 1,5 ", "2", "3"}, "",
     true, kEntryBox, 0},
    {"InsertsBefore", ListOpening::InsertItem, 1, "9", Closing::Return, {"1", "9", "2", "3"}, "1",
     true, kEntryBox, 1},
    {"InsertsAtTheTop", ListOpening::InsertItem, 0, "0", Closing::Return, {"0", "1", "2", "3"},
     "1", true, kEntryBox, 0},
    {"InsertsALoneBlank", ListOpening::InsertItem, 2, " ", Closing::Return, {"1", "2", " ", "3"},
     "1", true, kEntryBox, 2},
    {"LeavingAcceptsInsertion", ListOpening::InsertItem, 2, "4", Closing::ClickEntryBox,
     {"1", "2", "4", "3"}, "1", true, kEntryBox, 2},
    {"EscapeDropsInsertion", ListOpening::InsertItem, 1, "9", Closing::Escape, {"1", "2", "3"}, "",
     false, kValueList, 1},
    {"EmptyInsertionLeavesNoRow", ListOpening::InsertItem, 2, "", Closing::Return,
     {"1", "2", "3"}, "", false, kValueList, 2},
};
INSTANTIATE_TEST_SUITE_P(Edits, ListEditCaseTest, ::testing::ValuesIn(kEditCases), RowName{});

struct UndoEditCase
{
    const char *name;
    ListOpening opening;
    int row;
    bool fillList; // the list is full when Ctrl+Z is pressed
};

void PrintTo(const UndoEditCase &c, std::ostream *out) { *out << c.name; }

class ListEditUndoTest : public ListEditTest, public ::testing::WithParamInterface<UndoEditCase>
{
};

TEST_P(ListEditUndoTest, CtrlZTakesTheEditBackInOneStep)
{
    const UndoEditCase &c = GetParam();
    edit(c.opening, c.row, QStringLiteral("x"));
    ASSERT_NE(items(), QStringList({"1", "2", "3"}));
    if (c.fillList)
        addItems(QStringList(kMaxItems - values()->count(), QStringLiteral("0")));
    const QString count = text(kCountBox);

    QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);

    EXPECT_EQ(items().mid(0, 3), QStringList({"1", "2", "3"}));
    EXPECT_EQ(values()->count(), c.fillList ? kMaxItems - 1 + (c.opening != ListOpening::InsertItem)
                                            : 3);
    EXPECT_EQ(text(kCountBox), count); // a count of entries, not of the list
    EXPECT_EQ(selectedRow(), c.row);
    EXPECT_FALSE(action(kUndo)->isEnabled());
    EXPECT_EQ(focusedControl(), QLatin1String(kEntryBox));
}

const UndoEditCase kUndoEditCases[] = {
    {"Correction", ListOpening::F2Key, 1, false},
    {"Insertion", ListOpening::InsertItem, 1, false},
    // Neither needs room in the list to be taken back.
    {"CorrectionInAFullList", ListOpening::CorrectItem, 2, true},
    {"InsertionInAFullList", ListOpening::InsertItem, 0, true},
};
INSTANTIATE_TEST_SUITE_P(Undo, ListEditUndoTest, ::testing::ValuesIn(kUndoEditCases), RowName{});

TEST_F(ListEditTest, UndoWalksBackThroughEditsAndRemovalsInTurn)
{
    edit(ListOpening::F2Key, 0, QStringLiteral("a"));
    edit(ListOpening::InsertItem, 2, QStringLiteral("b"));
    select(1);
    QTest::keyClick(list(), Qt::Key_Delete);
    enter(QStringLiteral("c"));
    edit(ListOpening::F2Key, 3, QStringLiteral("d"));
    ASSERT_EQ(items(), QStringList({"a", "b", "3", "d"}));

    const QStringList afterEachUndo[] = {
        {"a", "b", "3", "c"}, {"a", "2", "b", "3", "c"}, {"a", "2", "3", "c"}, {"1", "2", "3", "c"}};
    for (const QStringList &expected : afterEachUndo) {
        QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(items(), expected);
    }
    EXPECT_FALSE(action(kUndo)->isEnabled());
}

TEST_F(ListEditTest, NothingSelectedNothingToEdit)
{
    list()->setFocus();
    list()->selectionModel()->clear();
    EXPECT_FALSE(action(kCorrect)->isEnabled());
    EXPECT_FALSE(action(kInsert)->isEnabled());
    QTest::keyClick(list(), Qt::Key_F2);
    EXPECT_EQ(openedEditor(), nullptr);

    select(1);
    EXPECT_TRUE(action(kCorrect)->isEnabled());
    EXPECT_TRUE(action(kInsert)->isEnabled());
    list()->selectionModel()->clearSelection(); // current, but no longer selected
    EXPECT_FALSE(action(kCorrect)->isEnabled());
    QTest::keyClick(list(), Qt::Key_F2);
    EXPECT_EQ(openedEditor(), nullptr);
    EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
}

TEST_F(ListEditTest, FullListTakesCorrectionsButNoInsertion)
{
    addItems(QStringList(kMaxItems - 3, QStringLiteral("0")));
    select(1);
    action(kInsert)->trigger();
    EXPECT_EQ(openedEditor(), nullptr);
    EXPECT_EQ(values()->count(), kMaxItems);
    EXPECT_FALSE(action(kUndo)->isEnabled());

    edit(ListOpening::F2Key, 1, QStringLiteral("5"));
    EXPECT_EQ(items().mid(0, 3), QStringList({"1", "5", "3"}));
    EXPECT_EQ(values()->count(), kMaxItems);
}

TEST_F(ListEditTest, ResultsWaitForTheStartButton)
{
    calculate(QStringLiteral("3σ"));
    ASSERT_EQ(text(kMeanBox), QStringLiteral("2"));
    edit(ListOpening::F2Key, 0, QStringLiteral("4"));
    edit(ListOpening::InsertItem, 0, QStringLiteral("6"));
    EXPECT_EQ(text(kMeanBox), QStringLiteral("2"));
    EXPECT_EQ(text(kCountBox), QStringLiteral("4")); // the insertion counts as an entry
    calculate(QStringLiteral("3σ"));
    EXPECT_EQ(text(kMeanBox), QStringLiteral("3.75"));
    EXPECT_EQ(text(kCountBox), QStringLiteral("4"));
}

TEST_F(ListEditTest, ExitSavesTheCorrectedList)
{
    edit(ListOpening::F2Key, 1, QStringLiteral("5"));
    // 保存 on the question, then the save dialog gets the path.
    ModalAnswerer answerer({QMessageBox::Save}, {path("saved.txt")});
    EXPECT_TRUE(m_window->close());
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].text, QStringLiteral("保存されていない値があります。"));
    EXPECT_EQ(fileBytes(path("saved.txt")).toStdString(), "1\r\n5\r\n3\r\n\r\n");
}

// The window puts the focus into Text1 whenever it becomes active; back
// from a message or another program, an edit in the list must go on.
TEST_F(ListEditTest, WindowComingBackKeepsTheEditOpen)
{
    EntryBox *editor = openEditor(ListOpening::F2Key, 1);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("5"));
    QEvent activated(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_window.get(), &activated);
    EXPECT_EQ(openedEditor(), editor);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    acceptListEdit(editor);
    EXPECT_EQ(items(), QStringList({"1", "5", "3"}));
}

} // namespace
