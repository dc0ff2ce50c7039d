#include "ModalAnswerer.h"
#include "app/VorlaNames.h"
#include "sheetwin/SheetDocument.h"
#include "sheetwin/SheetWindow.h"
#include "RowName.h"
#include "VorlaWindowTest.h"

#include "stats/Statistics.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

using namespace vorla_names;

namespace {

const char *const kBoxes[] = {kEntryBox, kMeanBox, kStandardDeviationBox, kUpperLimitBox,  kLowerLimitBox,  kAboveCountBox,
                              kAbovePercentBox, kBelowCountBox, kBelowPercentBox, kCountBox, kMaximumBox, kMinimumBox};

class VorlaTest : public VorlaWindowTest
{
protected:
    /// What start-up and the clear command leave behind.
    void expectWorkingState(const char *caption) const
    {
        EXPECT_EQ(values()->count(), 0);
        for (const char *name : kBoxes)
            EXPECT_EQ(text(name), QString()) << name;
        auto *combo = control<QComboBox>(kSigmaChoice);
        EXPECT_EQ(combo->currentText(), QStringLiteral("3σ"));
        QStringList offered;
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        EXPECT_EQ(offered, QStringList({"3σ", "2σ", "1σ"}));
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_TRUE(action(kOpenCommand)->isEnabled());
        EXPECT_EQ(m_window->windowTitle(), QString::fromUtf8(caption));
        EXPECT_EQ(focusedControl(), QLatin1String(kEntryBox));
    }
};

TEST_F(VorlaTest, StartsInWorkingStateCentredOnScreen)
{
    expectWorkingState("Pellary");
    EXPECT_TRUE(isCentredOnScreen(m_window.get()));
}

struct WindowAreaCase
{
    const char *name;
    const char *menuCommand; // what opens the window; nullptr for the main window
    const char *area;        // the objectName of the widget the controls are laid out on
    QSize size;
};

void PrintTo(const WindowAreaCase &c, std::ostream *out) { *out << c.name; }

class VorlaWindowAreaTest : public VorlaTest, public ::testing::WithParamInterface<WindowAreaCase>
{
};

/// The areas keep the size the controls were placed for, and no control
/// covers another, so each shows whole.
TEST_P(VorlaWindowAreaTest, KeepsItsSizeAndNoControlCoversAnother)
{
    const WindowAreaCase &c = GetParam();
    QWidget *area = nullptr;
    if (c.menuCommand == nullptr) {
        area = control(c.area);
    } else {
        action(c.menuCommand)->trigger();
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String(c.area) && window->isVisible())
                area = window;
    }
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->size(), c.size);

    QList<QWidget *> controls;
    for (QWidget *w : area->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->isVisible() && w->focusPolicy() != Qt::NoFocus)
            controls << w;
    ASSERT_FALSE(controls.isEmpty());
    for (qsizetype i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(area->rect().contains(controls[i]->geometry()))
            << controls[i]->objectName().toStdString();
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
    }
}

const WindowAreaCase kWindowAreaCases[] = {
    {"MainWindow", nullptr, "client", QSize(438, 334)},
    {"InformationWindow", kInformationCommand, "form1", QSize(225, 196)},
};
INSTANTIATE_TEST_SUITE_P(Windows, VorlaWindowAreaTest, ::testing::ValuesIn(kWindowAreaCases),
                         RowName{});

TEST_F(VorlaTest, ComingBackToTheWindowPutsTheFocusInTheEntryBox)
{
    enterEach({"1", "2"});
    list()->setFocus();
    ASSERT_EQ(focusedControl(), QLatin1String(kValueList));
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));

    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    EXPECT_EQ(focusedControl(), QLatin1String(kEntryBox));
}

TEST_F(VorlaTest, StartUpDeletesScratchDataFileOnly)
{
    writeFile(path("Vovizuzuv.dat"), "1\r\n");
    writeFile(path("Vovizuzuv.txt"), "2\r\n");
    Vorla second(m_dir.path());
    EXPECT_FALSE(QFile::exists(path("Vovizuzuv.dat")));
    EXPECT_TRUE(QFile::exists(path("Vovizuzuv.txt")));
}

struct EntryCase
{
    const char *name;
    const char *countBefore; // what the count box shows before Enter
    const char *typed;
    const char *countAfter;
};

class VorlaEntryTest : public VorlaTest, public ::testing::WithParamInterface<EntryCase>
{
};

TEST_P(VorlaEntryTest, EnterAppendsAndCountsOn)
{
    const EntryCase &c = GetParam();
    box(kCountBox)->setText(QString::fromUtf8(c.countBefore));
    addItem(QStringLiteral("first"));
    enter(QString::fromUtf8(c.typed));
    EXPECT_EQ(items(), QStringList({QStringLiteral("first"), QString::fromUtf8(c.typed)}));
    EXPECT_EQ(text(kCountBox), QString::fromUtf8(c.countAfter));
    EXPECT_EQ(text(kEntryBox), QString());
    EXPECT_FALSE(action(kOpenCommand)->isEnabled());
    EXPECT_EQ(focusedControl(), QLatin1String(kEntryBox));
}

const EntryCase kEntryCases[] = {
    {"FirstEntry", "", "12.5", "1"},
    {"AfterCalculation", "5", "7", "6"},
    {"AfterUserTypedCount", "7", "abc", "8"},
    {"CountWithoutNumber", "abc", "3", "1"},
    {"LoneBlankIsAValue", "", " ", "1"},
    {"TextIsKeptUnchanged", "2", " 1,5 ", "3"},
    {"CountBeyondDoubleRange", "1e400", "4", "1"},
    {"FullWidthCount", "１２", "4", "13"},
};
INSTANTIATE_TEST_SUITE_P(Entries, VorlaEntryTest, ::testing::ValuesIn(kEntryCases), RowName{});

struct IgnoredEntryCase
{
    const char *name;
    int listed; // items already in the list
    const char *typed;
};

class VorlaIgnoredEntryTest : public VorlaTest,
                              public ::testing::WithParamInterface<IgnoredEntryCase>
{
};

TEST_P(VorlaIgnoredEntryTest, EnterChangesNothing)
{
    const IgnoredEntryCase &c = GetParam();
    for (int i = 0; i < c.listed; ++i)
        addItem(QString::number(i));
    box(kCountBox)->setText(QStringLiteral("9"));
    enter(QString::fromUtf8(c.typed));
    EXPECT_EQ(values()->count(), c.listed);
    EXPECT_EQ(text(kEntryBox), QString::fromUtf8(c.typed)); // a full list keeps the typed text
    EXPECT_EQ(text(kCountBox), QStringLiteral("9"));
    EXPECT_TRUE(action(kOpenCommand)->isEnabled());
}

const IgnoredEntryCase kIgnoredEntryCases[] = {
    {"EmptyEntry", 0, ""},
    {"FullList", kMaxItems, "42"},
};
INSTANTIATE_TEST_SUITE_P(Entries, VorlaIgnoredEntryTest, ::testing::ValuesIn(kIgnoredEntryCases),
                         RowName{});

TEST_F(VorlaTest, DoubleClickRemovesOnlyThatItem)
{
    enterEach({"1", "2", "2", "3"});
    QListView *view = list();
    const QRect second = view->visualRect(values()->index(2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(text(kCountBox), QStringLiteral("4"));
    EXPECT_FALSE(action(kOpenCommand)->isEnabled());
    EXPECT_EQ(focusedControl(), QLatin1String(kEntryBox));

    // A double-click below the last item hits none and removes nothing.
    const QPoint below(5, view->viewport()->height() - 3);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
}

struct RemovalKeyCase
{
    const char *name;
    Qt::Key key;
    bool removes;
};

class VorlaRemovalKeyTest : public VorlaTest, public ::testing::WithParamInterface<RemovalKeyCase>
{
};

TEST_P(VorlaRemovalKeyTest, KeyRemovesSelectedItem)
{
    enterEach({"1", "2", "3"});
    // Reach the list and pick the second value with the keyboard alone.
    QTest::keyClick(control(kEntryBox), Qt::Key_Tab);
    ASSERT_EQ(focusedControl(), QLatin1String(kValueList));
    QTest::keyClick(list(), Qt::Key_Down);
    ASSERT_EQ(list()->currentIndex().row(), 1);

    QTest::keyClick(list(), GetParam().key);
    if (!GetParam().removes) {
        // An Enter meant for the entry box must not cost a value.
        EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
        return;
    }
    EXPECT_EQ(items(), QStringList({"1", "3"}));
    EXPECT_EQ(text(kCountBox), QStringLiteral("3"));
    EXPECT_EQ(focusedControl(), QLatin1String(kEntryBox));
}

const RemovalKeyCase kRemovalKeys[] = {
    {"Delete", Qt::Key_Delete, true},
    {"Return", Qt::Key_Return, false},
    {"KeypadEnter", Qt::Key_Enter, false},
};
INSTANTIATE_TEST_SUITE_P(Keys, VorlaRemovalKeyTest, ::testing::ValuesIn(kRemovalKeys), RowName{});

TEST_F(VorlaTest, ScreenReaderReadsEachListedValue)
{
    addItems({QStringLiteral("12.5"), QStringLiteral("測定値")});
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(list());
    ASSERT_NE(view, nullptr);
    QAccessibleTableInterface *table = view->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    QAccessibleInterface *second = table->cellAt(1, 0);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("測定値"));
    EXPECT_EQ(second->rect().center(), list()->viewport()->mapToGlobal(
                                           list()->visualRect(values()->index(1)).center()));
}

TEST_F(VorlaTest, UndoPutsRemovedValuesBackLastFirst)
{
    enterEach({"1", "2", "3", "4"});
    for (const int row : {1, 2}) { // removes "2", then "4"
        list()->setFocus();
        list()->setCurrentIndex(values()->index(row));
        QTest::keyClick(list(), Qt::Key_Delete);
    }
    ASSERT_EQ(items(), QStringList({"1", "3"}));
    enter(QStringLiteral("5"));

    // Ctrl+Z in the entry box, with no typing to undo, brings back "4" at
    // its place; the list's own 「元に戻す」 brings back "2".
    QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(items(), QStringList({"1", "3", "4", "5"}));
    QAction *undo = action(kUndo);
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(items(), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(text(kCountBox), QStringLiteral("5")); // removal and undo leave the count

    // A clear is one more step: the list comes back whole, then the value
    // removed before it.
    list()->setFocus();
    list()->setCurrentIndex(values()->index(0));
    QTest::keyClick(list(), Qt::Key_Delete);
    action(kClearCommand)->trigger();
    ASSERT_TRUE(undo->isEnabled());
    QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(items(), QStringList({"2", "3", "4", "5"}));
    undo->trigger();
    EXPECT_EQ(items(), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_FALSE(undo->isEnabled());
}

enum class BeforeClear { Typed, Opened };

struct ClearUndoCase
{
    const char *name;
    BeforeClear before;        // how the list of "1", "2" came about
    const char *typedSince;    // entered after the clear ("" for nothing)
    QStringList items;         // after the undo
    bool openEnabled;
    const char *caption;       // "%1" stands for the opened file
    bool exitAsks;
};

class VorlaClearUndoTest : public VorlaTest, public ::testing::WithParamInterface<ClearUndoCase>
{
};

TEST_P(VorlaClearUndoTest, BringsBackTheListAsItWas)
{
    const ClearUndoCase &c = GetParam();
    const QString file = path("two.txt");
    writeFile(file, "1\r\n2\r\n\r\n");
    if (c.before == BeforeClear::Typed)
        enterEach({"1", "2"});
    else
        run(kOpenCommand, {file});
    calculate(QStringLiteral("2σ"));
    action(kClearCommand)->trigger();
    if (*c.typedSince != '\0')
        enter(QString::fromUtf8(c.typedSince));
    const QString count = text(kCountBox);

    QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);

    EXPECT_EQ(items(), c.items);
    for (const char *name : kBoxes) {
        if (std::string(name) != kCountBox) {
            EXPECT_EQ(text(name), QString()) << name;
        }
    }
    EXPECT_EQ(text(kCountBox), count);
    EXPECT_EQ(control<QComboBox>(kSigmaChoice)->currentText(), QStringLiteral("3σ"));
    EXPECT_EQ(action(kOpenCommand)->isEnabled(), c.openEnabled);
    EXPECT_EQ(m_window->windowTitle(),
              QString::fromUtf8(c.caption).arg(QDir::toNativeSeparators(file)));
    EXPECT_FALSE(action(kUndo)->isEnabled());

    ModalAnswerer answerer({QMessageBox::Cancel});
    action(kExitCommand)->trigger();
    EXPECT_EQ(answerer.boxes.size(), c.exitAsks ? 1u : 0u);
}

const ClearUndoCase kClearUndoCases[] = {
    {"TypedList", BeforeClear::Typed, "", {"1", "2"}, false, "Pellary", true},
    {"OpenedList", BeforeClear::Opened, "", {"1", "2"}, true, "Vorla-%1", false},
    {"EnteredSinceStayLast", BeforeClear::Opened, "3", {"1", "2", "3"}, false, "Vorla", true},
};
INSTANTIATE_TEST_SUITE_P(Clears, VorlaClearUndoTest, ::testing::ValuesIn(kClearUndoCases),
                         RowName{});

TEST_F(VorlaTest, ClearUndoWaitsForRoom)
{
    enterEach({"1", "2"});
    action(kClearCommand)->trigger();
    QStringList many;
    for (int i = 0; i < kMaxItems - 1; ++i)
        many << QStringLiteral("0");
    addItems(many);
    action(kUndo)->trigger(); // two do not fit into one place
    EXPECT_EQ(values()->count(), kMaxItems - 1);
    EXPECT_TRUE(action(kUndo)->isEnabled());
    values()->take(0);
    action(kUndo)->trigger();
    EXPECT_EQ(values()->count(), kMaxItems);
    EXPECT_EQ(values()->text(1), QStringLiteral("2"));
}

TEST_F(VorlaTest, RemovalKeyNeedsASelectedItemInTheList)
{
    enterEach({"1", "2"});
    // Tabbing in makes the first value current without selecting it.
    QTest::keyClick(control(kEntryBox), Qt::Key_Tab);
    ASSERT_EQ(focusedControl(), QLatin1String(kValueList));
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList({"1", "2"}));

    // Delete typed in the entry box edits the entry, never the list.
    QTest::keyClick(list(), Qt::Key_End);
    QLineEdit *entry = box(kEntryBox);
    entry->setFocus();
    entry->setText(QStringLiteral("45"));
    entry->setCursorPosition(0);
    QTest::keyClick(entry, Qt::Key_Delete);
    EXPECT_EQ(items(), QStringList({"1", "2"}));
    EXPECT_EQ(entry->text(), QStringLiteral("5"));
}

TEST_F(VorlaTest, CalculationFillsEveryBox)
{
    enterEach({"1", "2", "3", "4"});
    calculate(QStringLiteral("1σ"));
    const std::vector<std::pair<const char *, const char *>> expected = {
        {kCountBox, "4"}, {kMeanBox, "2.5"}, {kStandardDeviationBox, "1.118"}, {kUpperLimitBox, "3.618"},
        {kLowerLimitBox, "1.382"}, {kAboveCountBox, "1"}, {kAbovePercentBox, "25"},   {kBelowCountBox, "1"},
        {kBelowPercentBox, "25"},   {kMaximumBox, "4"}, {kMinimumBox, "1"}};
    for (const auto &[box, value] : expected)
        EXPECT_EQ(text(box), QString::fromUtf8(value)) << box;
    EXPECT_EQ(control<QComboBox>(kSigmaChoice)->currentText(), QStringLiteral("1σ"));
    EXPECT_EQ(values()->count(), 4);

    // The next entry counts on from the calculated count.
    enter(QStringLiteral("5"));
    EXPECT_EQ(text(kCountBox), QStringLiteral("5"));
}

struct RefusedCalculationCase
{
    const char *name;
    QStringList values;
    QStringList messages; // the boxes shown, each titled 演算開始 with a warning icon
};

class VorlaRefusedCalculationTest : public VorlaTest,
                                    public ::testing::WithParamInterface<RefusedCalculationCase>
{
};

TEST_P(VorlaRefusedCalculationTest, WritesNoBox)
{
    const RefusedCalculationCase &c = GetParam();
    enterEach(c.values);
    box(kMeanBox)->setText(QStringLiteral("old"));
    const QString count = text(kCountBox);
    ModalAnswerer answerer;
    calculate(QStringLiteral("3σ"));
    EXPECT_EQ(answerer.boxTexts(), c.messages);
    for (const ShownBox &shown : answerer.boxes) {
        EXPECT_EQ(shown.title, QStringLiteral("演算開始"));
        EXPECT_EQ(shown.icon, QMessageBox::Warning);
    }
    EXPECT_EQ(text(kMeanBox), QStringLiteral("old"));
    EXPECT_EQ(text(kStandardDeviationBox), QString());
    EXPECT_EQ(text(kCountBox), count);
}

const RefusedCalculationCase kRefusedCalculationCases[] = {
    {"EmptyList", {}, {}},
    {"Overflow", {"1e308", "1e308"}, {"値が大きすぎるため計算できません。一覧の値を確かめてください。"}},
};
INSTANTIATE_TEST_SUITE_P(Lists, VorlaRefusedCalculationTest,
                         ::testing::ValuesIn(kRefusedCalculationCases), RowName{});

struct LooseReadingCase
{
    const char *name;
    QStringList values;
    const char *notice; // empty: no notice shown
    QList<int> selected;
};

void PrintTo(const LooseReadingCase &c, std::ostream *out)
{
    *out << c.name;
}

class VorlaLooseReadingTest : public VorlaTest,
                              public ::testing::WithParamInterface<LooseReadingCase>
{
protected:
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &index : list()->selectionModel()->selectedIndexes())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
};

TEST_P(VorlaLooseReadingTest, CalculationSaysWhichItemsWereNotReadWhole)
{
    const LooseReadingCase &c = GetParam();
    addItems(c.values);
    const QSize windowSize = m_window->size();
    list()->setCurrentIndex(values()->index(c.values.size() - 1));
    list()->selectionModel()->clearSelection();
    ModalAnswerer answerer;
    calculate(QStringLiteral("3σ"));

    // The results are those of the program's reading, with no box to click.
    std::vector<std::string> utf8;
    for (const QString &value : c.values)
        utf8.push_back(value.toStdString());
    const auto expected = std::get<stats::StatisticsTexts>(stats::calculateStatistics(utf8, "3σ"));
    EXPECT_EQ(text(kMeanBox), QString::fromStdString(expected.mean));
    EXPECT_EQ(text(kCountBox), QString::fromStdString(expected.count));
    EXPECT_TRUE(answerer.boxes.empty());

    auto *notice = control<QLabel>(kReadingNotice);
    const QString said = QString::fromUtf8(c.notice);
    EXPECT_EQ(notice->isVisible(), !said.isEmpty());
    EXPECT_EQ(notice->isVisible() ? notice->text() : QString(), said);
    EXPECT_EQ(list()->accessibleDescription(), said);
    EXPECT_EQ(selectedRows(), c.selected);
    EXPECT_EQ(list()->currentIndex().row(), c.values.size() - 1); // Delete's target is unchanged
    EXPECT_EQ(m_window->size(), windowSize);
    if (!said.isEmpty()) {
        // The first such item is in view; the note fits its box and covers
        // no control.
        const QRect first = list()->visualRect(values()->index(c.selected.front()));
        EXPECT_TRUE(list()->viewport()->rect().contains(first));
        EXPECT_LE(notice->heightForWidth(notice->width()), notice->height());
        for (QWidget *other : control("client")->findChildren<QWidget *>(
                 QString(), Qt::FindDirectChildrenOnly))
            if (other != notice && other->isVisible()) {
                EXPECT_FALSE(other->geometry().intersects(notice->geometry()))
                    << other->objectName().toStdString();
            }
    }

    // The next move in the list ends the note and selects as ever.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualRect(values()->index(0)).center());
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(list()->accessibleDescription(), QString());
    EXPECT_EQ(selectedRows(), QList<int>({0}));
}

QStringList manyOfBoth()
{
    QStringList values;
    for (int i = 0; i < 1234; ++i)
        values << QStringLiteral("測定値") << QStringLiteral("12.5mm");
    return values;
}

const LooseReadingCase kLooseReadingCases[] = {
    {"AllReadWhole", {"1", " 2 ", "１２．５", "&HFF", "1e3"}, "", {}},
    {"WithoutNumber",
     {"測定値", "10", "±0.1", "20"},
     "数値として読めない値が 2 個あります（0 として計算しました）。一覧で選択しています。",
     {0, 2}},
    {"PartlyRead",
     {"1,234.5", "3", "12.5mm"},
     "数値の後に文字が続く値が 2 個あります（文字の前の数値で計算しました）。一覧で選択しています。",
     {0, 2}},
    {"BothKinds",
     {"5", "12.5mm", "", "1e", "-"},
     "数値として読めない値 2 個は 0 として、数値の後に文字が続く値 2 個は文字の前の数値で"
     "計算しました。一覧で選択しています。",
     {1, 2, 3, 4}},
    {"BlanksInside",
     {"25 01", "３", "２５　０２"},
     "数字の間に空白がある値が 2 個あります（空白を詰めて読みました）。一覧で選択しています。",
     {0, 2}},
};
INSTANTIATE_TEST_SUITE_P(Lists, VorlaLooseReadingTest, ::testing::ValuesIn(kLooseReadingCases),
                         RowName{});

TEST_F(VorlaTest, ReadingNoticeFitsWithLargeCountsAndEndsWithAnEntry)
{
    addItems(manyOfBoth());
    calculate(QStringLiteral("3σ"));
    auto *notice = control<QLabel>(kReadingNotice);
    ASSERT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(),
              QStringLiteral("数値として読めない値 1,234 個は 0 として、数値の後に文字が続く値 "
                             "1,234 個は文字の前の数値で計算しました。一覧で選択しています。"));
    EXPECT_LE(notice->heightForWidth(notice->width()), notice->height());
    EXPECT_EQ(list()->selectionModel()->selectedIndexes().size(), 2468);

    enter(QStringLiteral("7"));
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(list()->accessibleDescription(), QString());

    // A calculation of a list read whole says nothing.
    action(kClearCommand)->trigger();
    enterEach({"1", "2"});
    calculate(QStringLiteral("3σ"));
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(VorlaTest, PastedColumnEntersEachValue)
{
    enter(QStringLiteral("7"));
    box(kEntryBox)->setText(QStringLiteral("1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("2\r\n3\t\r\n\r\n4"));
    QTest::keyClick(box(kEntryBox), Qt::Key_V, Qt::ControlModifier);
    // As typed: "1" and the first line join, as they would in the box.
    EXPECT_EQ(items(), QStringList({"7", "12", "3", "4"}));
    EXPECT_EQ(text(kCountBox), QStringLiteral("4"));
    EXPECT_EQ(text(kEntryBox), QString());
}

enum class PasteWay { ControlV, ShiftInsert, ContextMenu };

struct PasteWayCase
{
    const char *name;
    PasteWay way;
};

void PrintTo(const PasteWayCase &c, std::ostream *out) { *out << c.name; }

class VorlaPasteWayTest : public VorlaTest, public ::testing::WithParamInterface<PasteWayCase>
{
};

TEST_P(VorlaPasteWayTest, EveryWayOfPastingEntersTheColumn)
{
    auto *entry = box(kEntryBox);
    QGuiApplication::clipboard()->setText(QStringLiteral("2\n3"));
    switch (GetParam().way) {
    case PasteWay::ControlV:
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
        break;
    case PasteWay::ShiftInsert:
        QTest::keyClick(entry, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case PasteWay::ContextMenu: {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                  entry->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(entry, &request);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        // The item a user picks: the one captioned as Qt's line edit captions
        // its paste command (「貼り付け」 in Japanese).
        const QString caption = QCoreApplication::translate("QLineEdit", "&Paste");
        const QList<QAction *> actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(), [&](QAction *a) {
            return a->text().section(u'\t', 0, 0) == caption;
        });
        ASSERT_NE(paste, actions.end());
        (*paste)->trigger();
        menu->close();
        break;
    }
    }
    EXPECT_EQ(items(), QStringList({"2", "3"}));
    EXPECT_EQ(text(kEntryBox), QString());
}

const PasteWayCase kPasteWayCases[] = {
    {"ControlV", PasteWay::ControlV},
    {"ShiftInsert", PasteWay::ShiftInsert},
    {"ContextMenu", PasteWay::ContextMenu},
};
INSTANTIATE_TEST_SUITE_P(Pastes, VorlaPasteWayTest, ::testing::ValuesIn(kPasteWayCases),
                         RowName{});

TEST_F(VorlaTest, DroppedColumnIsCopiedNeverMoved)
{
    // A move would have the drag's source delete text the list may refuse.
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full list" : "empty list");
        if (full)
            addItems(QStringList(kMaxItems - values()->count(), QStringLiteral("1")));
        const ModalAnswerer answerer; // the refusal's message, when the list is full
        QMimeData data;
        data.setText(QStringLiteral("2\r\n3"));
        const QPoint at = box(kEntryBox)->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box(kEntryBox), &enter);
        QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box(kEntryBox), &move);
        QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::ShiftModifier); // Shift: a move
        QCoreApplication::sendEvent(box(kEntryBox), &drop);
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        EXPECT_EQ(values()->count(), full ? kMaxItems : 2);
    }
}

QString repeated(const QString &text, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

struct RefusedPasteCase
{
    const char *name;
    int listed; // items already in the list
    QString pasted;
    const char *message;
};

void PrintTo(const RefusedPasteCase &c, std::ostream *out) { *out << c.name; }

class VorlaRefusedPasteTest : public VorlaTest,
                              public ::testing::WithParamInterface<RefusedPasteCase>
{
};

TEST_P(VorlaRefusedPasteTest, EntersNothingAndLosesNothing)
{
    const RefusedPasteCase &c = GetParam();
    addItems(QStringList(c.listed, QStringLiteral("0")));
    box(kCountBox)->setText(QStringLiteral("9"));
    QLineEdit *entry = box(kEntryBox);
    entry->setText(QStringLiteral("5"));
    entry->setCursorPosition(0);
    QGuiApplication::clipboard()->setText(c.pasted);
    ModalAnswerer answerer;

    QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);

    EXPECT_EQ(values()->count(), c.listed);
    EXPECT_EQ(entry->text(), QStringLiteral("5"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), c.pasted);
    EXPECT_EQ(text(kCountBox), QStringLiteral("9"));
    EXPECT_TRUE(action(kOpenCommand)->isEnabled());
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].title, QStringLiteral("貼り付け"));
    EXPECT_EQ(answerer.boxes[0].text.toStdString(), c.message);
}

const QString kLongValue = repeated(QStringLiteral("９"), 32768);

// The paste goes in before the box's "5": the pasted text's last line and
// "5" make one value.
const RefusedPasteCase kRefusedPasteCases[] = {
    {"MoreLinesThanTheListHolds", 0, repeated(QStringLiteral("1\r\n"), 39999) + QStringLiteral("1"),
     "貼り付けた値は 40,000 個ですが、一覧に入るのはあと 32,767 個です。何も追加していません。"},
    {"OneTooManyForTheRoom", kMaxItems - 2, QStringLiteral("a\nb\nc"),
     "貼り付けた値は 3 個ですが、一覧に入るのはあと 2 個です。何も追加していません。"},
    {"FullList", kMaxItems, QStringLiteral("a\n"),
     "貼り付けた値は 2 個ですが、一覧はすでに 32,767 個でいっぱいです。何も追加していません。"},
    {"CellLongerThanALine", 0, QStringLiteral("1\t") + kLongValue + QStringLiteral("\t"),
     "貼り付けた値の 2 番目「９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９"
     "９９９９…」は 32,768 文字あります。一覧に入る値は 32,767 文字までです。何も追加していません。"},
    // One value too long for the box itself: the box would have cut it short.
    {"LineLongerThanTheBox", 0, kLongValue.left(32767),
     "貼り付けた値の 1 番目「９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９９"
     "９９９９…」は 32,768 文字あります。一覧に入る値は 32,767 文字までです。何も追加していません。"},
};
TEST_F(VorlaTest, PasteTooLongForTheBoxEntersWholeWhenALineHoldsIt)
{
    // 20,000 characters outside the basic plane take 40,000 units of the
    // box's 32,767, but a line of a value file counts them as 20,000.
    const QString wide = repeated(QStringLiteral("😀"), 20000);
    QGuiApplication::clipboard()->setText(wide);
    QTest::keyClick(box(kEntryBox), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(items(), QStringList({wide}));
    EXPECT_EQ(text(kEntryBox), QString());
}

TEST_F(VorlaTest, EnterWithBreaksEntersAsAPasteDoes)
{
    // An input method can commit a break into the box, which no paste leaves.
    QLineEdit *entry = box(kEntryBox);
    entry->setFocus();
    entry->setText(QStringLiteral("1\n2\t3"));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(items(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(entry->text(), QString());

    addItems(QStringList(kMaxItems - 4, QStringLiteral("0")));
    entry->setText(QStringLiteral("4\n5"));
    ModalAnswerer answerer;
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(values()->count(), kMaxItems - 1);
    EXPECT_EQ(entry->text(), QStringLiteral("4\n5"));
    EXPECT_EQ(answerer.boxes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Pastes, VorlaRefusedPasteTest, ::testing::ValuesIn(kRefusedPasteCases),
                         RowName{});

struct TablePasteCase
{
    const char *name;
    int column; // chosen in the question; -1 cancels it
    QStringList items;
    const char *count;
    const char *entryLeft; // what Text1 holds afterwards
};

class VorlaTablePasteTest : public VorlaTest, public ::testing::WithParamInterface<TablePasteCase>
{
};

TEST_P(VorlaTablePasteTest, PastedTableEntersChosenColumn)
{
    const TablePasteCase &c = GetParam();
    box(kEntryBox)->setText(QStringLiteral("typed"));
    box(kEntryBox)->selectAll();
    // Two columns copied from a spreadsheet: row numbers and measurements.
    QGuiApplication::clipboard()->setText(QStringLiteral("No\t外径\r\n1\t25.01\r\n2\t25.00\r\n"));
    ModalAnswerer answerer;
    answerer.dialogAnswers.push_back([&](QDialog &dialog) {
        auto *choice = child<QComboBox>(&dialog, "columnChoice");
        if (choice == nullptr || c.column < 0) {
            dialog.reject();
            return;
        }
        EXPECT_EQ(choice->currentIndex(), 1); // the measurements, not the row numbers
        choice->setCurrentIndex(c.column);
        dialog.accept();
    });

    QTest::keyClick(box(kEntryBox), Qt::Key_V, Qt::ControlModifier);

    ASSERT_EQ(answerer.dialogs.size(), 1u);
    EXPECT_EQ(answerer.dialogs[0].title, QStringLiteral("列の選択"));
    EXPECT_EQ(items(), c.items);
    EXPECT_EQ(text(kCountBox), QLatin1String(c.count));
    EXPECT_EQ(text(kEntryBox), QLatin1String(c.entryLeft));
    EXPECT_TRUE(answerer.boxes.empty());
}

const TablePasteCase kTablePasteCases[] = {
    {"MeasurementsByDefault", 1, {"25.01", "25.00"}, "2", ""},
    {"RowNumbersChosen", 0, {"1", "2"}, "2", ""},
    {"CancelEntersNothing", -1, {}, "", "typed"},
};
INSTANTIATE_TEST_SUITE_P(Pastes, VorlaTablePasteTest, ::testing::ValuesIn(kTablePasteCases),
                         RowName{});

TEST_F(VorlaTest, ClearReturnsToWorkingState)
{
    enterEach({"10", "20", "30"});
    control<QComboBox>(kSigmaChoice)->setCurrentIndex(2);
    calculate(QStringLiteral("ab"));
    box(kEntryBox)->setText(QStringLiteral("pending"));
    writeFile(path("Vovizuzuv.dat"), "1\r\n");
    writeFile(path("Vovizuzuv.txt"), "1\r\n");

    action(kClearCommand)->trigger();
    expectWorkingState("Vorla");
    EXPECT_FALSE(QFile::exists(path("Vovizuzuv.txt")));
    EXPECT_TRUE(QFile::exists(path("Vovizuzuv.dat")));

    // Clearing again with nothing to clear and no scratch file still works.
    action(kClearCommand)->trigger();
    expectWorkingState("Vorla");
}

TEST_F(VorlaTest, TabVisitsControlsInOrder)
{
    control(kEntryBox)->setFocus();
    QStringList visited;
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedControl();
    }
    EXPECT_EQ(visited, QStringList({kValueList, kMeanBox, kStandardDeviationBox, kUpperLimitBox, kLowerLimitBox, kAboveCountBox,
                                    kAbovePercentBox, kBelowCountBox, kBelowPercentBox, kCountBox, kMaximumBox, kMinimumBox,
                                    kCalculateButton, kSigmaChoice, kEntryBox}));
}

TEST_F(VorlaTest, MenusHoldTheirCommandsInOrder)
{
    auto captions = [](const QMenu *menu) {
        QStringList out;
        for (const QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(captions(control<QMenu>(kFileMenu)),
              QStringList({"ファイルを開く(&O)", "名前を付けて保存(&S)", "-", "印刷(&P)", "-",
                           "終了(&E)"}));
    EXPECT_EQ(captions(control<QMenu>(kViewMenu)),
              QStringList({"クリア(&C)", "グラフ(&G)", "管理図シート(&K)"}));
    EXPECT_EQ(captions(control<QMenu>(kInformationMenu)), QStringList({"情報"}));
    EXPECT_EQ(control<QMenu>(kFileMenu)->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(control<QMenu>(kViewMenu)->title(), QStringLiteral("表示(&V)"));
    EXPECT_EQ(control<QMenu>(kInformationMenu)->title(), QStringLiteral("情報"));
}

TEST_F(VorlaTest, AltWithAccessKeyOpensMenu)
{
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), control<QMenu>(kFileMenu));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);

    // Alt+V, then C chooses the clear command.
    enter(QStringLiteral("7"));
    QTest::keyClick(m_window.get(), Qt::Key_V, Qt::AltModifier);
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_EQ(popup, control<QMenu>(kViewMenu));
    QTest::keyClick(popup, Qt::Key_C);
    EXPECT_EQ(values()->count(), 0);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Vorla"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(VorlaTest, MenuWithoutAccessKeyOpensFromTheMenuBar)
{
    // Alt alone moves the keyboard into the menu bar; the arrows lead on to
    // the menu that has no access key.
    QTest::keyPress(m_window.get(), Qt::Key_Alt);
    QTest::keyRelease(m_window.get(), Qt::Key_Alt);
    QWidget *bar = QApplication::focusWidget();
    ASSERT_EQ(bar, m_window->menuBar());
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Down);
    QWidget *popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, control<QMenu>(kInformationMenu));
    if (popup != nullptr)
        QTest::keyClick(popup, Qt::Key_Escape);
}

} // namespace

// ---- the way into 管理図シート ------------------------------------------------

namespace {

sheetwin::SheetWindow *openSheet()
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *sheet = qobject_cast<sheetwin::SheetWindow *>(top); sheet && sheet->isVisible())
            return sheet;
    return nullptr;
}

} // namespace

TEST_F(VorlaTest, SendToSheetMakesRowsOfTheChosenGroupSize)
{
    enterEach({"1", "2", "3", "4", "5.5", "6", "7"});
    {
        ModalAnswerer answerer; // the group size stays at its default, 5
        action(kSendToSheet)->trigger();
        EXPECT_EQ(answerer.dialogs.size(), 1u);
    }
    sheetwin::SheetWindow *sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    const sheet::Sheet &sent = sheet->document().sheet();
    ASSERT_EQ(sent.rows.size(), 2u);
    EXPECT_EQ(sent.rows[0].values, (std::vector<std::string>{"1", "2", "3", "4", "5.5"}));
    EXPECT_EQ(sent.rows[1].values, (std::vector<std::string>{"6", "7"}));
    EXPECT_EQ(items().size(), 7); // the list itself stays as it was
    sheet->document().undoStack()->setClean(); // nothing to ask about on closing
    sheet->close();
}

TEST_F(VorlaTest, ViewMenuOpensANewSheet)
{
    action(kNewSheetCommand)->trigger();
    sheetwin::SheetWindow *sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->document().sheet().rows.empty());
    sheet->close();
}
