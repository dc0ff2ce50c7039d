#include "chart/ChartNames.h"
#include "chart/ChartWindow.h"
#include "ui/FileDialog.h"
#include "app/VorlaNames.h"

#include "ModalAnswerer.h"
#include "RowName.h"
#include "VorlaWindowTest.h"
#include "Wine.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QFile>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

using namespace vorla_names;

namespace {

using ::testing::HasSubstr;

class VorlaFilesTest : public VorlaWindowTest
{
protected:
    std::string caption() const { return m_window->windowTitle().toStdString(); }
    static std::string native(const QString &file)
    {
        return QDir::toNativeSeparators(file).toStdString();
    }
};

TEST_F(VorlaFilesTest, SaveWritesValueFileAndNamesIt)
{
    enterEach({"1.5", "-2", "abc"});
    const QString file = path("values.txt");
    const auto answerer = run(kSaveCommand, {file});

    EXPECT_EQ(fileBytes(file).toHex(' ').toStdString(),
              "31 2e 35 0d 0a 2d 32 0d 0a 61 62 63 0d 0a 0d 0a");
    EXPECT_EQ(caption(), "Pellary-" + native(file));
    ASSERT_EQ(answerer->fileDialogs.size(), 1u);
    EXPECT_EQ(answerer->fileDialogs[0].folder.toStdString(), // the scratch folder is not the user's
              QDir::homePath().toStdString());
    EXPECT_EQ(answerer->fileDialogs[0].nameField.toStdString(), "");
    EXPECT_EQ(answerer->fileDialogs[0].filters, QStringList({"Text(*.txt)"}));
    EXPECT_EQ(items(), QStringList({"1.5", "-2", "abc"}));
    EXPECT_EQ(text(kCountBox).toStdString(), "3");
    EXPECT_TRUE(answerer->boxes.empty());
}

TEST_F(VorlaFilesTest, OpenAppendsAfterListedItemsAndChangesNothingElse)
{
    const QString file = path("values.txt");
    writeFile(file, "1.5\r\n-2\r\n\r\nabc\r\n\r\n");
    addItem(QStringLiteral("7"));
    box(kCountBox)->setText(QStringLiteral("5"));
    box(kEntryBox)->setText(QStringLiteral("pending"));
    box(kMeanBox)->setText(QStringLiteral("old"));
    control<QComboBox>(kSigmaChoice)->setEditText(QStringLiteral("2σ"));
    const Qt::CursorShape pointer = box(kEntryBox)->cursor().shape();
    QList<Qt::CursorShape> pointerWhileAppending;
    QObject::connect(list()->model(), &QAbstractItemModel::rowsInserted, [&] {
        pointerWhileAppending << box(kEntryBox)->cursor().shape();
    });

    const auto first = run(kOpenCommand, {file});
    const auto again = run(kOpenCommand, {file});

    EXPECT_EQ(items(), QStringList({"7", "1.5", "-2", "abc", "1.5", "-2", "abc"}));
    EXPECT_EQ(caption(), "Vorla-" + native(file));
    EXPECT_EQ(text(kCountBox).toStdString(), "5");
    EXPECT_EQ(text(kEntryBox).toStdString(), "pending");
    EXPECT_EQ(text(kMeanBox).toStdString(), "old");
    EXPECT_EQ(control<QComboBox>(kSigmaChoice)->currentText().toStdString(), "2σ");
    EXPECT_TRUE(action(kOpenCommand)->isEnabled());
    EXPECT_EQ(pointerWhileAppending, QList<Qt::CursorShape>({Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(box(kEntryBox)->cursor().shape(), pointer);
    ASSERT_EQ(again->fileDialogs.size(), 1u);
    EXPECT_EQ(again->fileDialogs[0].nameField.toStdString(), ""); // cleared after a success
    // A file saved without ".txt" can be found again.
    EXPECT_EQ(again->fileDialogs[0].filters,
              QStringList({"Text(*.txt)", QStringLiteral("すべてのファイル (*)")}));
    EXPECT_TRUE(first->boxes.empty());
}

TEST_F(VorlaFilesTest, SaveThenOpenGivesSameItems)
{
    const QStringList saved = {QStringLiteral("表"), QStringLiteral("ソ\\"),
                                QStringLiteral("１２．５"), QStringLiteral("  "),
                                QStringLiteral("ﾃﾞｰﾀ")};
    addItems(saved);
    ASSERT_TRUE(QDir().mkpath(path("測定 データ")));
    const QString file = path("測定 データ/値 一覧.txt");
    run(kSaveCommand, {file});
    EXPECT_EQ(caption(), "Pellary-" + native(file));
    EXPECT_EQ(fileBytes(file).toHex(' ').toStdString(),
              "95 5c 0d 0a 83 5c 5c 0d 0a 82 50 82 51 81 44 82 54 0d 0a 20 20 0d 0a "
              "c3 de b0 c0 0d 0a 0d 0a");
    values()->clear();
    run(kOpenCommand, {file});
    EXPECT_EQ(items(), saved);
    EXPECT_EQ(caption(), "Vorla-" + native(file));
}

struct LineEndOpenCase
{
    const char *name;
    QByteArray bytes;
};

class VorlaLineEndOpenTest : public VorlaFilesTest,
                             public ::testing::WithParamInterface<LineEndOpenCase>
{
};

TEST_P(VorlaLineEndOpenTest, EachLineIsOneItem)
{
    const QString file = path("values.txt");
    writeFile(file, GetParam().bytes);

    const auto answerer = run(kOpenCommand, {file});

    EXPECT_EQ(items(), QStringList({"12.5", "13.1", "12.8"}));
    EXPECT_EQ(caption(), "Vorla-" + native(file));
    EXPECT_TRUE(answerer->boxes.empty());
}

const LineEndOpenCase kLineEndOpenCases[] = {
    {"LfOnly", "12.5\n13.1\n12.8\n"},
    {"LfOnlyNoFinalLineEnd", "12.5\n\n13.1\n12.8"},
    {"CrOnly", "12.5\r13.1\r12.8\r"},
    {"Mixed", "12.5\r\n13.1\n\r12.8\r\n\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Files, VorlaLineEndOpenTest, ::testing::ValuesIn(kLineEndOpenCases),
                         RowName{});

TEST_F(VorlaFilesTest, CancelChangesNothing)
{
    addItem(QStringLiteral("1"));
    const Qt::CursorShape pointer = box(kEntryBox)->cursor().shape();
    const auto open = run(kOpenCommand, {QString()});
    const auto save = run(kSaveCommand, {QString()});
    EXPECT_EQ(open->fileDialogs.size(), 1u);
    EXPECT_EQ(save->fileDialogs.size(), 1u);
    EXPECT_EQ(items(), QStringList({"1"}));
    EXPECT_EQ(caption(), "Pellary");
    EXPECT_EQ(box(kEntryBox)->cursor().shape(), pointer);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_TRUE(open->boxes.empty());
    EXPECT_TRUE(save->boxes.empty());
}

struct RefusedOpenCase
{
    const char *name;
    QByteArray bytes;
    qint64 sparseSize; // when not 0, a sparse file of this size instead of the bytes
    const char *reason; // part of the message
};

class VorlaRefusedOpenTest : public VorlaFilesTest,
                             public ::testing::WithParamInterface<RefusedOpenCase>
{
};

TEST_P(VorlaRefusedOpenTest, SaysWhyAndAppendsNothing)
{
    const RefusedOpenCase &c = GetParam();
    const QString file = path("refused.txt");
    writeFile(file, c.bytes);
    if (c.sparseSize != 0) {
        ASSERT_TRUE(QFile::resize(file, c.sparseSize));
    }
    addItem(QStringLiteral("7"));
    const Qt::CursorShape pointer = box(kEntryBox)->cursor().shape();

    const auto answerer = run(kOpenCommand, {file});

    EXPECT_EQ(items(), QStringList({"7"}));
    EXPECT_EQ(caption(), "Pellary");
    EXPECT_EQ(box(kEntryBox)->cursor().shape(), pointer);
    ASSERT_EQ(answerer->boxes.size(), 1u);
    const std::string message = answerer->boxes[0].text.toStdString();
    EXPECT_THAT(message, HasSubstr(native(file)));
    EXPECT_THAT(message, HasSubstr(c.reason));
    EXPECT_THAT(message, HasSubstr("何も追加していません"));

    // The failed path stays for the next dialog.
    const auto next = run(kOpenCommand, {QString()});
    ASSERT_EQ(next->fileDialogs.size(), 1u);
    EXPECT_EQ(next->fileDialogs[0].nameField.toStdString(), "refused.txt");
}

const RefusedOpenCase kRefusedOpenCases[] = {
    {"InvalidBytes", "1\r\n\x85\x40\r\n", 0, "読めない文字"},
    {"Binary", QByteArray("1\r\n\0\0", 5), 0, "テキストファイルではありません"},
    {"OverSizeCap", "1\r\n", qint64(100) << 20, "大きすぎます"},
    {"LineTooLong", QByteArray("1\r\n") + QByteArray(40000, '9'), 0, "2 行目が長すぎます"},
    {"LfLineTooLong", QByteArray("1\n\n") + QByteArray(40000, '9') + "\n2\n", 0,
     "3 行目が長すぎます"},
};
INSTANTIATE_TEST_SUITE_P(Files, VorlaRefusedOpenTest, ::testing::ValuesIn(kRefusedOpenCases),
                         RowName{});

TEST_F(VorlaFilesTest, OpenStopsAtListLimitAndSaysHowManyLinesWereLeftOut)
{
    for (int i = 0; i < kMaxItems - 2; ++i)
        addItem(QStringLiteral("0"));
    const QString file = path("five.txt");
    writeFile(file, "1\r\n2\r\n\r\n3\r\n4\r\n5\r\n");

    const auto answerer = run(kOpenCommand, {file});

    EXPECT_EQ(values()->count(), kMaxItems);
    EXPECT_EQ(values()->text(kMaxItems - 2).toStdString(), "1");
    EXPECT_EQ(values()->text(kMaxItems - 1).toStdString(), "2");
    EXPECT_EQ(caption(), "Vorla-" + native(file));
    ASSERT_EQ(answerer->boxes.size(), 1u);
    const std::string message = answerer->boxes[0].text.toStdString();
    EXPECT_THAT(message, HasSubstr("32,767"));
    EXPECT_THAT(message, HasSubstr("3 行は読み込んでいません"));
}

TEST_F(VorlaFilesTest, UnencodableItemIsNamedBeforeAnyNameIsAskedFor)
{
    const QString file = path("values.txt");
    writeFile(file, "old\r\n\r\n");
    addItems({QStringLiteral("1"), QStringLiteral("2😀")});

    const auto answerer = run(kSaveCommand, {file});

    EXPECT_TRUE(answerer->fileDialogs.empty());
    EXPECT_EQ(fileBytes(file).toStdString(), "old\r\n\r\n");
    EXPECT_EQ(caption(), "Pellary");
    ASSERT_EQ(answerer->boxes.size(), 1u);
    const std::string message = answerer->boxes[0].text.toStdString();
    EXPECT_THAT(message, HasSubstr("2 番目の値「2😀」"));
    EXPECT_THAT(message, HasSubstr("文字「😀」"));
}

struct AmbiguousOpenCase
{
    const char *name;
    QMessageBox::StandardButton answer; // the button clicked; Enter is HostileEncodingKeyTest's
    QStringList items;                  // after the listed "7"
};

class VorlaAmbiguousOpenTest : public VorlaFilesTest,
                               public ::testing::WithParamInterface<AmbiguousOpenCase>
{
};

TEST_P(VorlaAmbiguousOpenTest, AsksWhichReadingWithShiftJisAsDefault)
{
    const AmbiguousOpenCase &c = GetParam();
    const QString file = path("kana.txt");
    writeFile(file, "1\r\n\xCE\xBC\r\n"); // Shift JIS ﾎｼ, or UTF-8 μ
    addItem(QStringLiteral("7"));
    auto answerer = std::make_unique<ModalAnswerer>(std::vector{c.answer},
                                                    std::deque<QString>{file});

    action(kOpenCommand)->trigger();

    ASSERT_EQ(answerer->boxes.size(), 1u); // the question, and nothing after it
    const ShownBox &question = answerer->boxes[0];
    EXPECT_EQ(question.defaultButton, QMessageBox::Yes);
    const std::string text = question.text.toStdString();
    EXPECT_THAT(text, HasSubstr(native(file)));
    EXPECT_THAT(text, HasSubstr("2 行目"));
    EXPECT_THAT(text, HasSubstr("Shift JIS: ﾎｼ"));
    EXPECT_THAT(text, HasSubstr("UTF-8: μ"));
    EXPECT_EQ(items(), QStringList({"7"}) + c.items);
    EXPECT_EQ(caption(), c.items.isEmpty() ? "Pellary" : "Vorla-" + native(file));
}

const AmbiguousOpenCase kAmbiguousOpenCases[] = {
    {"ShiftJisChosen", QMessageBox::Yes, {"1", QStringLiteral("ﾎｼ")}},
    {"Utf8Chosen", QMessageBox::No, {"1", QStringLiteral("μ")}},
    {"CancelAppendsNothing", QMessageBox::Cancel, {}},
};
INSTANTIATE_TEST_SUITE_P(Files, VorlaAmbiguousOpenTest, ::testing::ValuesIn(kAmbiguousOpenCases),
                         RowName{});

enum class ColumnAnswer { Preselected, SecondInDropDown, FirstByHeaderClick, Cancel };

struct TableOpenCase
{
    const char *name;
    ColumnAnswer answer;
    QStringList items; // after the listed "7"
};

/// What the question about columns showed before it was answered.
struct ShownColumnDialog
{
    int preselected = -1;
    QStringList choices;
    int rows = 0;
    QString heading;         // the table's first row, second column
    QList<int> selected;     // columns selected in the table
    QString headerNote;
    QString message;
};

class VorlaTableOpenTest : public VorlaFilesTest,
                           public ::testing::WithParamInterface<TableOpenCase>
{
};

TEST_P(VorlaTableOpenTest, AsksWhichColumnWithMostNumbersPreselected)
{
    const TableOpenCase &c = GetParam();
    const QString file = path("measured.csv");
    // Saved from a spreadsheet: row numbers, then the outer diameter (Shift JIS 外径).
    writeFile(file, "No,\x8a\x4f\x8c\x61,\x94\xbb\x92\xe8\r\n1,25.01,OK\r\n2,25.00,OK\r\n"
                    "3,24.99,NG\r\n");
    addItem(QStringLiteral("7"));
    auto answerer = std::make_unique<ModalAnswerer>(std::vector<QMessageBox::StandardButton>(),
                                                    std::deque<QString>{file});
    ShownColumnDialog shown;
    answerer->dialogAnswers.push_back([&](QDialog &dialog) {
        auto *choice = child<QComboBox>(&dialog, "columnChoice");
        auto *table = child<QTableWidget>(&dialog, "columnTable");
        auto *buttons = child<QDialogButtonBox>(&dialog, "buttons");
        if (choice == nullptr || table == nullptr || buttons == nullptr) {
            dialog.reject();
            return;
        }
        shown.preselected = choice->currentIndex();
        for (int i = 0; i < choice->count(); ++i)
            shown.choices << choice->itemText(i);
        shown.rows = table->rowCount();
        shown.heading = table->item(0, 1) != nullptr ? table->item(0, 1)->text() : QString();
        for (const QModelIndex &index : table->selectionModel()->selectedColumns())
            shown.selected << index.column();
        shown.headerNote = child<QLabel>(&dialog, "headerNote")->text();
        shown.message = child<QLabel>(&dialog, "message")->text();
        switch (c.answer) {
        case ColumnAnswer::Preselected:
            break;
        case ColumnAnswer::SecondInDropDown:
            choice->setCurrentIndex(2);
            break;
        case ColumnAnswer::FirstByHeaderClick: {
            QHeaderView *header = table->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(0) + 3, header->height() / 2));
            break;
        }
        case ColumnAnswer::Cancel:
            buttons->button(QDialogButtonBox::Cancel)->click();
            return;
        }
        buttons->button(QDialogButtonBox::Ok)->click();
    });

    action(kOpenCommand)->trigger();

    ASSERT_EQ(answerer->dialogs.size(), 1u);
    EXPECT_EQ(answerer->dialogs[0].title, QStringLiteral("列の選択"));
    EXPECT_EQ(shown.preselected, 1);
    EXPECT_EQ(shown.choices, QStringList({QStringLiteral("1 列目（No）"),
                                          QStringLiteral("2 列目（外径）"),
                                          QStringLiteral("3 列目（判定）")}));
    EXPECT_EQ(shown.rows, 4);
    EXPECT_EQ(shown.heading, QStringLiteral("外径"));
    EXPECT_EQ(shown.selected, QList<int>({1}));
    EXPECT_THAT(shown.headerNote.toStdString(), HasSubstr("1 行は見出し"));
    EXPECT_THAT(shown.message.toStdString(), HasSubstr(native(file)));
    EXPECT_THAT(shown.message.toStdString(), HasSubstr("3 列の表です（コンマ区切り）"));
    EXPECT_EQ(items(), QStringList({"7"}) + c.items);
    EXPECT_EQ(caption(), c.items.isEmpty() ? "Pellary" : "Vorla-" + native(file));
    EXPECT_TRUE(answerer->boxes.empty()); // a cancelled question needs no message
}

const TableOpenCase kTableOpenCases[] = {
    {"PreselectedMeasurements", ColumnAnswer::Preselected, {"25.01", "25.00", "24.99"}},
    {"OtherColumnChosen", ColumnAnswer::SecondInDropDown, {"OK", "OK", "NG"}},
    {"HeaderClickChoosesRowNumbers", ColumnAnswer::FirstByHeaderClick, {"1", "2", "3"}},
    {"CancelAppendsNothing", ColumnAnswer::Cancel, {}},
};
INSTANTIATE_TEST_SUITE_P(Files, VorlaTableOpenTest, ::testing::ValuesIn(kTableOpenCases),
                         RowName{});

TEST_F(VorlaFilesTest, TableFileRoomCountsChosenValues)
{
    for (int i = 0; i < kMaxItems - 2; ++i)
        addItem(QStringLiteral("0"));
    const QString file = path("table.csv");
    writeFile(file, "No,d\r\n1,5.5\r\n2,6.5\r\n3,7.5\r\n");

    const auto answerer = run(kOpenCommand, {file});

    EXPECT_EQ(values()->count(), kMaxItems);
    EXPECT_EQ(values()->text(kMaxItems - 2).toStdString(), "5.5");
    EXPECT_EQ(values()->text(kMaxItems - 1).toStdString(), "6.5");
    ASSERT_EQ(answerer->boxes.size(), 1u);
    EXPECT_THAT(answerer->boxes[0].text.toStdString(), HasSubstr("1 行は読み込んでいません"));
}

TEST_F(VorlaFilesTest, SaveIntoMissingFolderSaysSo)
{
    addItem(QStringLiteral("1"));
    writeFile(path("plain"), "x");
    const QString file = path("plain/values.txt"); // its folder is a regular file

    const auto answerer = run(kSaveCommand, {file});

    EXPECT_EQ(caption(), "Pellary");
    EXPECT_EQ(fileBytes(path("plain")).toStdString(), "x");
    ASSERT_EQ(answerer->boxes.size(), 1u);
    EXPECT_THAT(answerer->boxes[0].text.toStdString(), HasSubstr("フォルダーが見つかりません"));
}

struct SaveNameCase
{
    const char *name;
    const char *typed;   // the name given in the save dialog
    const char *written; // the file that is written
};

class VorlaSaveNameTest : public VorlaFilesTest,
                          public ::testing::WithParamInterface<SaveNameCase>
{
};

TEST_P(VorlaSaveNameTest, AddsTxtOnlyToANameWithoutExtension)
{
    const SaveNameCase &c = GetParam();
    ASSERT_TRUE(QDir().mkpath(path("測定.d")));
    addItem(QStringLiteral("1"));
    const QString written = path(QString::fromUtf8(c.written));

    run(kSaveCommand, {path(QString::fromUtf8(c.typed))});

    EXPECT_EQ(fileBytes(written).toStdString(), "1\r\n\r\n");
    EXPECT_EQ(caption(), "Pellary-" + native(written));
    QStringList files = QDir(m_dir.path()).entryList(QDir::Files)
                        + QDir(path("測定.d")).entryList(QDir::Files);
    EXPECT_EQ(files.size(), 1) << files.join(u' ').toStdString();
}

const SaveNameCase kSaveNameCases[] = {
    {"NoExtension", "values", "values.txt"},
    {"ExtensionKept", "values.dat", "values.dat"},
    {"TxtKept", "values.txt", "values.txt"},
    {"DotInTheFolderOnly", "測定.d/values", "測定.d/values.txt"},
};
INSTANTIATE_TEST_SUITE_P(Files, VorlaSaveNameTest, ::testing::ValuesIn(kSaveNameCases),
                         RowName{});

TEST_F(VorlaFilesTest, LongestPastedValueSavesAndOpensAgain)
{
    // Full-width digits: three bytes each in UTF-8, two in Shift JIS, yet
    // one character to the line limit.
    const QString longest(32767, QChar(0xFF19));
    QGuiApplication::clipboard()->setText(QStringLiteral("1\n") + longest + QStringLiteral("\n"));
    QTest::keyClick(box(kEntryBox), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(items(), QStringList({"1", longest}));
    const QString file = path("longest.txt");
    run(kSaveCommand, {file});
    action(kClearCommand)->trigger();
    const auto answerer = run(kOpenCommand, {file});
    EXPECT_EQ(items(), QStringList({"1", longest}));
    EXPECT_TRUE(answerer->boxes.empty());
}

enum class Change {
    None, Typed, Pasted, RemovedAfterOpen, Opened, SavedAfterTyping, Cleared, OpenedThenCleared
};

struct ExitCase
{
    const char *name;
    Change change;
    bool byFrame; // the window's close button instead of 終了
    std::vector<QMessageBox::StandardButton> answers;
    bool saveDialogPicks; // the save dialog, if shown, is given a name
    bool asks;
    bool ends;
};

void PrintTo(const ExitCase &c, std::ostream *out) { *out << c.name; }

class VorlaExitTest : public VorlaFilesTest, public ::testing::WithParamInterface<ExitCase>
{
protected:
    void removeFirst() const
    {
        const QRect first = list()->visualRect(values()->index(0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, first.center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, first.center());
    }
    void make(Change change)
    {
        const QString file = path("opened.txt");
        writeFile(file, "1\r\n2\r\n\r\n");
        switch (change) {
        case Change::None:
            break;
        case Change::Typed:
            enter(QStringLiteral("1"));
            break;
        case Change::Pasted:
            QGuiApplication::clipboard()->setText(QStringLiteral("1\n2"));
            QTest::keyClick(box(kEntryBox), Qt::Key_V, Qt::ControlModifier);
            break;
        case Change::RemovedAfterOpen:
            run(kOpenCommand, {file});
            removeFirst();
            ASSERT_EQ(items(), QStringList({"2"}));
            break;
        case Change::Opened:
            run(kOpenCommand, {file});
            break;
        case Change::SavedAfterTyping:
            enter(QStringLiteral("1"));
            run(kSaveCommand, {path("saved.txt")});
            break;
        case Change::Cleared:
            enter(QStringLiteral("1"));
            action(kClearCommand)->trigger();
            break;
        case Change::OpenedThenCleared:
            run(kOpenCommand, {file});
            action(kClearCommand)->trigger();
            break;
        }
    }
};

TEST_P(VorlaExitTest, AsksOnlyAboutUnsavedValues)
{
    const ExitCase &c = GetParam();
    make(c.change);
    const QString saved = path("on-exit.txt");
    ModalAnswerer answerer(c.answers, {c.saveDialogPicks ? saved : QString()});

    if (c.byFrame)
        m_window->close();
    else
        action(kExitCommand)->trigger();

    ASSERT_EQ(answerer.boxes.size(), c.asks ? 1u : 0u);
    if (c.asks) {
        const ShownBox &question = answerer.boxes[0];
        EXPECT_EQ(question.text, QStringLiteral("保存されていない値があります。"));
        EXPECT_EQ(question.buttons,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    }
    EXPECT_EQ(m_window->isVisible(), !c.ends);
    const bool savedOnExit = !c.answers.empty() && c.answers[0] == QMessageBox::Save
                             && c.saveDialogPicks;
    EXPECT_EQ(QFile::exists(saved), savedOnExit);
}

using B = QMessageBox;
const ExitCase kExitCases[] = {
    {"NothingChanged", Change::None, false, {}, false, false, true},
    {"TypedDiscarded", Change::Typed, false, {B::Discard}, false, true, true},
    {"TypedCancelled", Change::Typed, false, {B::Cancel}, false, true, false},
    {"TypedEscape", Change::Typed, false, {B::Escape}, false, true, false},
    {"TypedSaved", Change::Typed, false, {B::Save}, true, true, true},
    {"SaveDialogCancelled", Change::Typed, false, {B::Save}, false, true, false},
    {"PastedByFrameCancelled", Change::Pasted, true, {B::Cancel}, false, true, false},
    {"PastedByFrameDiscarded", Change::Pasted, true, {B::Discard}, false, true, true},
    {"RemovedAfterOpen", Change::RemovedAfterOpen, false, {B::Cancel}, false, true, false},
    {"OpenedOnly", Change::Opened, false, {}, false, false, true},
    {"SavedAfterTyping", Change::SavedAfterTyping, true, {}, false, false, true},
    // The cleared values can still be brought back with Ctrl+Z: not saved.
    {"ClearedCancelled", Change::Cleared, false, {B::Cancel}, false, true, false},
    {"ClearedDiscarded", Change::Cleared, false, {B::Discard}, false, true, true},
    {"ClearedOpenedFile", Change::OpenedThenCleared, false, {B::Cancel}, false, true, false},
};
INSTANTIATE_TEST_SUITE_P(Ways, VorlaExitTest, ::testing::ValuesIn(kExitCases), RowName{});

struct FilterCase
{
    const char *name;
    const char *filter;
    QStringList nameFilters;
};

class NameFiltersTest : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(NameFiltersTest, ReadsDescriptionPatternPairs)
{
    EXPECT_EQ(FileDialog::nameFilters(QString::fromUtf8(GetParam().filter)),
              GetParam().nameFilters);
}

const FilterCase kFilterCases[] = {
    {"PatternAlreadyShown", "Text(*.txt)|*.txt|", {"Text(*.txt)"}},
    {"PatternAdded", "Text|*.txt|", {"Text (*.txt)"}},
    {"WithoutClosingBar", "Text|*.txt", {"Text (*.txt)"}},
    {"SeveralPatterns", "Data|*.txt;*.dat|", {"Data (*.txt *.dat)"}},
    {"TwoTypes", "Text(*.txt)|*.txt|All|*.*|", {"Text(*.txt)", "All (*.*)"}},
    {"Empty", "", {}},
};
INSTANTIATE_TEST_SUITE_P(Dialogs, NameFiltersTest, ::testing::ValuesIn(kFilterCases), RowName{});

} // namespace

namespace {

/// The text of a PDF file in compatibility form (the Japanese face names
/// some kanji by their radicals); empty when pdftotext fails.
QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

QString compatible(const char *text)
{
    return QString::fromUtf8(text).normalized(QString::NormalizationForm_KC);
}

struct RecordStateCase
{
    const char *name;
    bool save;        // 名前を付けて保存 after the first values
    bool editAfter;   // one more value typed after that
    const char *said; // on the record's file line
    const char *notSaid;
};

class RecordStateTest : public VorlaFilesTest,
                        public ::testing::WithParamInterface<RecordStateCase>
{
};

// The record from the chart window's PDF に保存 says whether the list it
// shows was saved, as the user left it in the main window.
TEST_P(RecordStateTest, RecordSaysWhetherTheListIsSaved)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    const RecordStateCase &c = GetParam();
    enterEach({"25.01", "25.03", "24.98", "25.00"});
    const QString valueFile = path(QStringLiteral("径.txt"));
    if (c.save)
        run(kSaveCommand, {valueFile});
    if (c.editAfter)
        enter(QStringLiteral("25.02"));
    calculate(QStringLiteral("3σ"));
    action(kChartCommand)->trigger();
    ChartWindow *chart = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<ChartWindow *>(widget))
            chart = found;
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
    const QString record = path(QStringLiteral("record.pdf"));
    {
        ModalAnswerer answerer({}, {record});
        QTest::mouseClick(child<QPushButton>(chart, chart::names::kSaveRecordButton), Qt::LeftButton);
        EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxTexts().join('\n').toStdString();
    }
    const QString text = pdfText(record);
    ASSERT_FALSE(text.isEmpty()) << "no record was written";
    EXPECT_TRUE(text.contains(compatible(c.said))) << text.toStdString();
    if (*c.notSaid) {
        EXPECT_FALSE(text.contains(compatible(c.notSaid))) << text.toStdString();
    }
    chart->close();
}

const RecordStateCase kRecordStateCases[] = {
    {"NeverSaved", false, false, "ファイル: 未保存", "径.txt"},
    {"EditedAfterSaving", true, true, "径.txt（未保存の変更あり）", ""},
    {"SavedUnchanged", true, false, "径.txt", "未保存"},
    {"TypedOnlyNeverSaved", false, true, "ファイル: 未保存", "未保存の変更あり"},
};
INSTANTIATE_TEST_SUITE_P(Records, RecordStateTest, ::testing::ValuesIn(kRecordStateCases), RowName{});

} // namespace
