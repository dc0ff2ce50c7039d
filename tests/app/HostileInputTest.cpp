// Bad input from outside, each row with what the user sees afterwards: a
// message that says what went wrong, a list that holds exactly what it
// should, and a window that keeps working. Drops of files that cannot be
// read, keys pressed on the encoding question, Ctrl+Z with nothing (or no
// room) to bring back, input into the list's editor, and tolerance entries
// in the chart window.

#include "chart/ChartWindow.h"
#include "app/VorlaNames.h"

#include "ListEditFixture.h"
#include "ModalAnswerer.h"
#include "RowName.h"
#include "VorlaWindowTest.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace vorla_names;

namespace {

using ::testing::HasSubstr;

QString repeated(const QString &text, int times)
{
    QString out;
    out.reserve(text.size() * times);
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

class HostileInputTest : public VorlaWindowTest
{
protected:
    void SetUp() override
    {
        VorlaWindowTest::SetUp();
        writeFile(path("a.txt"), "1\r\n2\r\n");
        writeFile(path("b.txt"), "3\r\n");
        writeFile(path("bin.dat"), QByteArray("1\r\n\0\0", 5));
        // No,値 in Shift JIS; the quoted value holds a tab.
        writeFile(path("tabbed.csv"), "No,\x92\x6c\r\n1,\"1\t5\"\r\n2,3\r\n");
        ASSERT_TRUE(QDir().mkpath(path("folder")));
    }

    std::string caption() const { return m_window->windowTitle().toStdString(); }

    /// Drags the data over the target (the window by default) and drops it
    /// there, then lets the window finish what the drop started.
    bool dragAndDrop(const QMimeData &data, QWidget *target = nullptr)
    {
        return ::dragAndDrop(data, target != nullptr ? target : m_window.get());
    }
};

/// Presses one key on every message box that comes up while it lives, on the
/// button that holds the focus as a user's key press would, and keeps the
/// boxes' texts. Unlike ModalAnswerer it clicks nothing, so Enter shows which
/// answer the box really gives by default.
class KeyAnswerer : public QObject
{
public:
    explicit KeyAnswerer(Qt::Key key) : m_key(key)
    {
        connect(&m_timer, &QTimer::timeout, this, &KeyAnswerer::look);
        m_timer.start(5);
    }

    QStringList texts;

private:
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || box == m_answered || !box->isVisible())
            return;
        m_answered = box;
        texts << box->text();
        QWidget *focused = box->focusWidget();
        QTest::keyClick(focused != nullptr ? focused : box, m_key);
    }

    Qt::Key m_key;
    QTimer m_timer;
    QPointer<QMessageBox> m_answered;
};

// ---- files dropped on the window ---------------------------------------------------

struct DropCase
{
    const char *name;
    bool typedFirst;      // a value typed before the drop switches the open command off
    QStringList dropped;  // file names in the scratch folder
    QStringList items;    // the list afterwards ("7" is the typed value)
    QStringList messages; // a key phrase of each message box, in order
    const char *lastOpened; // the file the caption names; "" keeps "Pellary"
};

void PrintTo(const DropCase &c, std::ostream *out) { *out << c.name; }

class HostileDropTest : public HostileInputTest, public ::testing::WithParamInterface<DropCase>
{
};

TEST_P(HostileDropTest, OpensWhatItCanAndSaysWhatItCannot)
{
    const DropCase &c = GetParam();
    if (c.typedFirst)
        enter(QStringLiteral("7"));
    QList<QUrl> links;
    for (const QString &name : c.dropped)
        links << QUrl::fromLocalFile(path(name));
    QMimeData data;
    data.setUrls(links);
    ModalAnswerer answerer;

    ASSERT_TRUE(dragAndDrop(data));

    EXPECT_EQ(items(), c.items);
    ASSERT_EQ(answerer.boxes.size(), static_cast<std::size_t>(c.messages.size()))
        << answerer.boxTexts().join(u'|').toStdString();
    for (qsizetype i = 0; i < c.messages.size(); ++i) {
        EXPECT_EQ(answerer.boxes[i].icon, QMessageBox::Warning);
        EXPECT_THAT(answerer.boxes[i].text.toStdString(), HasSubstr(c.messages[i].toStdString()));
    }
    const std::string expected =
        *c.lastOpened == '\0'
            ? std::string("Pellary")
            : "Vorla-" + QDir::toNativeSeparators(path(QString::fromUtf8(c.lastOpened))).toStdString();
    EXPECT_EQ(caption(), expected);
    // The window still takes values.
    enter(QStringLiteral("99"));
    EXPECT_EQ(items().constLast(), QStringLiteral("99"));
}

const DropCase kDropCases[] = {
    {"MissingFile", false, {"missing.txt"}, {}, {"ファイルが見つかりません"}, ""},
    {"Folder", false, {"folder"}, {}, {"通常のファイルではありません"}, ""},
    {"BinaryFile", false, {"bin.dat"}, {}, {"テキストファイルではありません"}, ""},
    {"TabInTableValue", false, {"tabbed.csv"}, {}, {"2 行目の値にタブか改行があります"}, ""},
    // Each bad file is told; the good ones still open, in the order dropped.
    {"GoodFilesAroundBadOnes",
     false,
     {"a.txt", "missing.txt", "bin.dat", "b.txt"},
     {"1", "2", "3"},
     {"missing.txt", "bin.dat"},
     "b.txt"},
    // Several files while the open command is off: one message, nothing opened.
    {"SeveralWhileOpenIsOff", true, {"a.txt", "b.txt"}, {"7"}, {"値を入力した後は"}, ""},
};
INSTANTIATE_TEST_SUITE_P(Drops, HostileDropTest, ::testing::ValuesIn(kDropCases), RowName{});

TEST_F(HostileInputTest, TextDroppedOnTheEntryBoxIsRefusedAsAPasteIs)
{
    QLineEdit *entry = box(kEntryBox);
    entry->setText(QStringLiteral("5"));
    QMimeData data;
    data.setText(repeated(QStringLiteral("1\r\n"), 39999) + QStringLiteral("1"));
    ModalAnswerer answerer;

    ASSERT_TRUE(dragAndDrop(data, entry));

    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(entry->text(), QStringLiteral("5"));
    EXPECT_TRUE(action(kOpenCommand)->isEnabled());
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].text.toStdString(),
              "貼り付けた値は 40,000 個ですが、一覧に入るのはあと 32,767 個です。何も追加していません。");
}

// ---- keys on the encoding question ------------------------------------------------

struct EncodingKeyCase
{
    const char *name;
    Qt::Key key;
    QStringList items; // after the listed "7"
};

void PrintTo(const EncodingKeyCase &c, std::ostream *out) { *out << c.name; }

class HostileEncodingKeyTest : public HostileInputTest,
                               public ::testing::WithParamInterface<EncodingKeyCase>
{
};

TEST_P(HostileEncodingKeyTest, OneQuestionAndNothingAfterIt)
{
    const EncodingKeyCase &c = GetParam();
    const QString file = path("kana.txt");
    writeFile(file, "1\r\n\xCE\xBC\r\n"); // Shift JIS ﾎｼ, or UTF-8 μ
    addItem(QStringLiteral("7"));
    KeyAnswerer answerer(c.key);

    const bool opened = m_window->openValueFile(file);

    EXPECT_EQ(opened, !c.items.isEmpty());
    ASSERT_EQ(answerer.texts.size(), 1) << answerer.texts.join(u'|').toStdString();
    EXPECT_THAT(answerer.texts[0].toStdString(), HasSubstr("どちらとして読みますか"));
    EXPECT_EQ(items(), QStringList({"7"}) + c.items);
    EXPECT_EQ(caption(), c.items.isEmpty()
                             ? std::string("Pellary")
                             : "Vorla-" + QDir::toNativeSeparators(file).toStdString());
}

const EncodingKeyCase kEncodingKeyCases[] = {
    {"EnterReadsShiftJis", Qt::Key_Return, {"1", QStringLiteral("ﾎｼ")}},
    {"EscapeAddsNothing", Qt::Key_Escape, {}},
};
INSTANTIATE_TEST_SUITE_P(Keys, HostileEncodingKeyTest, ::testing::ValuesIn(kEncodingKeyCases),
                         RowName{});

// ---- Ctrl+Z with nothing, or no room, to bring back --------------------------------

enum class UndoSetup {
    Fresh,          // nothing done yet
    Typed,          // 1, 2, 3 entered
    RemovedTwo,     // 1, 2, 3 entered; 2 and then 1 removed
    RemovedThenOpen, // a.txt opened, its 1 removed, a.txt opened again
    RemovedThenFull, // 1, 2, 3 entered; 2 removed; the list filled with 0
};

struct UndoCase
{
    const char *name;
    UndoSetup setup;
    int presses;       // Ctrl+Z in the entry box
    int count;         // items afterwards
    QStringList head;  // the first items afterwards
    bool undoEnabled;  // 「元に戻す」 afterwards
};

void PrintTo(const UndoCase &c, std::ostream *out) { *out << c.name; }

class HostileUndoTest : public HostileInputTest, public ::testing::WithParamInterface<UndoCase>
{
protected:
    void remove(int row)
    {
        list()->setFocus();
        list()->setCurrentIndex(values()->index(row));
        QTest::keyClick(list(), Qt::Key_Delete);
    }
};

TEST_P(HostileUndoTest, BringsBackOnlyWhatWasTaken)
{
    const UndoCase &c = GetParam();
    switch (c.setup) {
    case UndoSetup::Fresh:
        break;
    case UndoSetup::Typed:
        enterEach({"1", "2", "3"});
        break;
    case UndoSetup::RemovedTwo:
        enterEach({"1", "2", "3"});
        remove(1);
        remove(0);
        ASSERT_EQ(items(), QStringList({"3"}));
        break;
    case UndoSetup::RemovedThenOpen:
        ASSERT_TRUE(m_window->openValueFile(path("a.txt")));
        remove(0);
        ASSERT_TRUE(m_window->openValueFile(path("a.txt")));
        ASSERT_EQ(items(), QStringList({"2", "1", "2"}));
        break;
    case UndoSetup::RemovedThenFull:
        enterEach({"1", "2", "3"});
        remove(1);
        addItems(QStringList(kMaxItems - 2, QStringLiteral("0")));
        ASSERT_EQ(values()->count(), kMaxItems);
        break;
    }
    const QString count = text(kCountBox);
    ModalAnswerer answerer;

    for (int i = 0; i < c.presses; ++i)
        QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);

    EXPECT_EQ(values()->count(), c.count);
    EXPECT_EQ(items().mid(0, c.head.size()), c.head);
    EXPECT_EQ(action(kUndo)->isEnabled(), c.undoEnabled);
    EXPECT_EQ(text(kCountBox), count);
    EXPECT_TRUE(answerer.boxes.empty());
}

const UndoCase kUndoCases[] = {
    {"NothingEverRemoved", UndoSetup::Fresh, 3, 0, {}, false},
    {"TypedValuesStay", UndoSetup::Typed, 3, 3, {"1", "2", "3"}, false},
    {"MorePressesThanSteps", UndoSetup::RemovedTwo, 7, 3, {"1", "2", "3"}, false},
    // Opening a file ends what can come back.
    {"OpenForgetsRemoval", UndoSetup::RemovedThenOpen, 2, 3, {"2", "1", "2"}, false},
    // No room: the removed value waits, and nothing of the full list goes.
    {"FullListWaits", UndoSetup::RemovedThenFull, 2, kMaxItems, {"1", "3", "0"}, true},
};
INSTANTIATE_TEST_SUITE_P(Undo, HostileUndoTest, ::testing::ValuesIn(kUndoCases), RowName{});

TEST_F(HostileInputTest, RemovalWaitingForRoomComesBackAtItsPlace)
{
    enterEach({"1", "2", "3"});
    list()->setFocus();
    list()->setCurrentIndex(values()->index(1));
    QTest::keyClick(list(), Qt::Key_Delete);
    addItems(QStringList(kMaxItems - 2, QStringLiteral("0")));
    QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(values()->count(), kMaxItems);

    values()->take(values()->count() - 1);
    QTest::keyClick(box(kEntryBox), Qt::Key_Z, Qt::ControlModifier);

    EXPECT_EQ(values()->count(), kMaxItems);
    EXPECT_EQ(items().mid(0, 4), QStringList({"1", "2", "3", "0"}));
    EXPECT_FALSE(action(kUndo)->isEnabled());
}

// ---- input into the list's editor (修正, ここに挿入) ----------------------------------

enum class EditorInput {
    Paste,                // the text on the clipboard, Ctrl+V
    CompositionCancelled, // the text composed, then the composition dropped
    Committed,            // the input method commits the text
};

struct EditorInputCase
{
    const char *name;
    ListOpening opening;
    EditorInput input;
    QString text;
    const char *message; // the refusal, in full; nullptr when none
    QStringList items;   // after Enter, from 1, 2, 3 with row 1 edited
    int resets;          // how often the input method was reset
};

void PrintTo(const EditorInputCase &c, std::ostream *out) { *out << c.name; }

class HostileEditorTest : public HostileInputTest,
                          public ::testing::WithParamInterface<EditorInputCase>
{
protected:
    static void give(EntryBox *editor, EditorInput input, const QString &text)
    {
        if (input == EditorInput::Paste) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            return;
        }
        QInputMethodEvent composing(text, {});
        QCoreApplication::sendEvent(editor, &composing);
        QInputMethodEvent ending;
        if (input == EditorInput::Committed)
            ending.setCommitString(text);
        QCoreApplication::sendEvent(editor, &ending);
    }
};

TEST_P(HostileEditorTest, RefusedAsTheEntryBoxRefusesAndTheEditGoesOn)
{
    const EditorInputCase &c = GetParam();
    addItems({"1", "2", "3"});
    EntryBox *editor = openListEditor(list(), c.opening, 1);
    ASSERT_NE(editor, nullptr);
    int resets = 0;
    QObject::connect(editor, &EntryBox::compositionDropped, [&] { ++resets; });
    const QString before = editor->text();
    ModalAnswerer answerer;

    give(editor, c.input, c.text);

    if (c.input != EditorInput::Committed) {
        // Still editing, the text as it was (a refused paste leaves it alone).
        ASSERT_EQ(openedListEditor(list()), editor);
        if (c.message != nullptr || c.input == EditorInput::CompositionCancelled) {
            EXPECT_EQ(editor->text(), c.input == EditorInput::Paste ? before : QString());
        }
    }
    acceptListEdit(editor);
    EXPECT_EQ(openedListEditor(list()), nullptr);
    EXPECT_EQ(items(), c.items);
    EXPECT_EQ(resets, c.resets);
    ASSERT_EQ(answerer.boxes.size(), c.message != nullptr ? 1u : 0u)
        << answerer.boxTexts().join(u'|').toStdString();
    if (c.message != nullptr) {
        EXPECT_EQ(answerer.boxes[0].icon, QMessageBox::Warning);
        EXPECT_EQ(answerer.boxes[0].text.toStdString(), c.message);
    }
    // The window still takes values.
    enter(QStringLiteral("99"));
    EXPECT_EQ(items().constLast(), QStringLiteral("99"));
}

const QString kTooLong = repeated(QStringLiteral("1"), 32768);
const char *const kTooLongMessage =
    "貼り付けた値の 1 番目「1111111111111111111111111111111111111111…」は 32,768 文字あります。"
    "一覧に入る値は 32,767 文字までです。何も追加していません。";
const char *const kManyMessage =
    "貼り付けた値は 1,000 個ですが、ここに入る値は 1 個だけです。何も変えていません。";

const EditorInputCase kEditorInputCases[] = {
    {"ManyLinesPastedIntoCorrection", ListOpening::F2Key, EditorInput::Paste,
     repeated(QStringLiteral("4\r\n"), 1000), kManyMessage, {"1", "2", "3"}, 0},
    {"ManyLinesPastedIntoInsertion", ListOpening::InsertItem, EditorInput::Paste,
     repeated(QStringLiteral("4\n"), 1000), kManyMessage, {"1", "2", "3"}, 0},
    {"CellsOfARowPasted", ListOpening::F2Key, EditorInput::Paste, QStringLiteral("4\t5"),
     "貼り付けた値は 2 個ですが、ここに入る値は 1 個だけです。何も変えていません。",
     {"1", "2", "3"}, 0},
    // One value with its line end, as a copied cell comes: it is taken.
    {"OneLinePasted", ListOpening::F2Key, EditorInput::Paste, QStringLiteral("7\r\n"), nullptr,
     {"1", "7", "3"}, 0},
    {"TooLongPastedIntoCorrection", ListOpening::F2Key, EditorInput::Paste, kTooLong,
     kTooLongMessage, {"1", "2", "3"}, 0},
    {"TooLongPastedIntoInsertion", ListOpening::InsertItem, EditorInput::Paste, kTooLong,
     kTooLongMessage, {"1", "2", "3"}, 0},
    // The composition took the place of the selected text; gone, it leaves
    // an empty editor, and Enter changes nothing.
    {"CompositionCancelledInCorrection", ListOpening::F2Key, EditorInput::CompositionCancelled,
     QStringLiteral("９．９"), nullptr, {"1", "2", "3"}, 1},
    {"CompositionCancelledInInsertion", ListOpening::InsertItem,
     EditorInput::CompositionCancelled, QStringLiteral("９．９"), nullptr, {"1", "2", "3"}, 1},
    {"CommittedLinesRefused", ListOpening::F2Key, EditorInput::Committed, QStringLiteral("4\n5"),
     "貼り付けた値は 2 個ですが、ここに入る値は 1 個だけです。何も変えていません。",
     {"1", "2", "3"}, 0},
    {"CommittedFullWidthTaken", ListOpening::InsertItem, EditorInput::Committed,
     QStringLiteral("−３．５"), nullptr, {"1", "−３．５", "2", "3"}, 0},
};
INSTANTIATE_TEST_SUITE_P(ListEditor, HostileEditorTest, ::testing::ValuesIn(kEditorInputCases),
                         RowName{});

// ---- tolerance entries in the chart window ----------------------------------------

const QString kDash = QStringLiteral("—");

struct ToleranceEntryCase
{
    const char *name;
    QString upper, lower;
    const char *message; // a key phrase of the refusal; nullptr when taken
    QString cp, cpk, outside;
    const char *note = nullptr; // a key phrase of the note under the figures
};

void PrintTo(const ToleranceEntryCase &c, std::ostream *out) { *out << c.name; }

class HostileToleranceTest : public HostileInputTest,
                             public ::testing::WithParamInterface<ToleranceEntryCase>
{
protected:
    ChartWindow *openChart()
    {
        action(kChartCommand)->trigger();
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *chart = qobject_cast<ChartWindow *>(widget)) {
                EXPECT_TRUE(QTest::qWaitForWindowExposed(chart));
                return chart;
            }
        return nullptr;
    }
    static void apply(ChartWindow *chart, const QString &upper, const QString &lower)
    {
        child<QLineEdit>(chart, kEntryBox)->setText(upper);
        child<QLineEdit>(chart, kMeanBox)->setText(lower);
        QTest::keyClick(child<QLineEdit>(chart, kMeanBox), Qt::Key_Return);
    }
    static QString figure(const ChartWindow *chart, const char *name)
    {
        return child<QLineEdit>(chart, name)->text();
    }
};

// 122, 130, 138: mean 130, s = 8; the tolerance 150/100 is applied first.
TEST_P(HostileToleranceTest, TakesOrRefusesAndStillDraws)
{
    const ToleranceEntryCase &c = GetParam();
    enterEach({"122", "130", "138"});
    calculate(QStringLiteral("3σ"));
    ChartWindow *chart = openChart();
    ASSERT_NE(chart, nullptr);
    apply(chart, QStringLiteral("150"), QStringLiteral("100"));
    ModalAnswerer answerer;

    apply(chart, c.upper, c.lower);

    if (c.message == nullptr) {
        EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxTexts().join(u'|').toStdString();
    } else {
        ASSERT_EQ(answerer.boxes.size(), 1u);
        const std::string text = answerer.boxes[0].text.toStdString();
        EXPECT_THAT(text, HasSubstr(c.message));
        EXPECT_THAT(text, HasSubstr("規格は前のままです"));
        // A long entry is shown by its start, so the box fits on the screen.
        EXPECT_LT(answerer.boxes[0].text.size(), 200);
    }
    EXPECT_EQ(figure(chart, "figureCp"), c.cp);
    EXPECT_EQ(figure(chart, "figureCpk"), c.cpk);
    EXPECT_EQ(figure(chart, "figureOutside"), c.outside);
    if (c.note != nullptr) {
        EXPECT_THAT(child<QLabel>(chart, "figureNote")->text().toStdString(), HasSubstr(c.note));
    }
    ASSERT_NE(chart->shown(), nullptr);
    EXPECT_FALSE(chart->grab().isNull());
    EXPECT_FALSE(child<QWidget>(chart, "histogram")->grab().isNull());
}

const ToleranceEntryCase kToleranceEntryCases[] = {
    {"BeyondDoubleRange", "1e400", "100", "規格上限の「1e400」は数値として読めません", "1.04", "0.83",
     "0 個 (0 %)"},
    {"LoneMinusSign", "150", QStringLiteral("−"), "規格下限の「−」は数値として読めません", "1.04",
     "0.83", "0 個 (0 %)"},
    {"BothEmpty", "", "", nullptr, "", "", "", "規格上限・規格下限を入れて"},
    {"FullWidthDigits", QStringLiteral("１５０"), QStringLiteral("１００"), nullptr, "1.04", "0.83",
     "0 個 (0 %)"},
    // No room between the limits: no Cp, Cpk or outside count, and the note says why.
    {"EqualLimits", "130", "130", nullptr, kDash, kDash, kDash, "規格上限と規格下限が同じです"},
    {"VeryLongText", repeated(QStringLiteral("1"), 40000), "100", "規格上限の「1111", "1.04", "0.83",
     "0 個 (0 %)"},
    {"VeryLongWord", repeated(QStringLiteral("x"), 40000), "100", "規格上限の「xxxx", "1.04", "0.83",
     "0 個 (0 %)"},
};
INSTANTIATE_TEST_SUITE_P(Entries, HostileToleranceTest, ::testing::ValuesIn(kToleranceEntryCases),
                         RowName{});

} // namespace
