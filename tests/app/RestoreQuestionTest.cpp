// The start-up question about journals left behind, answered as a user
// would, and what becomes of the list and the journal files.

#include "app/RestoreQuestion.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"
#include "doc/JournalFile.h"
#include "sheetwin/SheetWindow.h"

#include "ModalAnswerer.h"
#include "RowName.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Items = std::vector<std::string>;

const std::string kLeft = journal::header() + journal::appendRecord({"12.5", "１３"})
                          + journal::stateRecord({{}, "/d/a.txt", "Vorla-/d/a.txt", true, false})
                          + journal::removeRecord(0, 1) + journal::appendRecord({"14"});

enum class Left { Unsaved, CutMidRecord, DamagedInside, Foreign, NewerVersion, SavedOnly };

std::string bytesOf(Left left)
{
    switch (left) {
    case Left::Unsaved:
        return kLeft;
    case Left::CutMidRecord:
        return kLeft + journal::appendRecord({"15"}).substr(0, 7);
    case Left::DamagedInside: {
        std::string damaged = kLeft + journal::clearRecord();
        damaged[damaged.size() - 12] ^= 0x55; // inside the record before the clear
        return damaged;
    }
    case Left::Foreign:
        return "12.5\r\n13\r\n";
    case Left::NewerVersion:
        return std::string(journal::kMagic) + std::string("\x09\0\0\0", 4) + kLeft.substr(12);
    case Left::SavedOnly:
        return journal::header() + journal::snapshotRecords({{"1"}, "a.txt", "Pellary-a.txt", false, true});
    }
    return {};
}

struct RestoreCase
{
    const char *name;
    Left left;
    std::vector<QMessageBox::StandardButton> answers;
    int questions;    // boxes shown, warnings included
    Items items;      // the document's list afterwards
    bool unsaved;
    int keptFiles;    // files set aside in the journal folder
};

void PrintTo(const RestoreCase &c, std::ostream *out) { *out << c.name; }

class RestoreQuestionTest : public ::testing::TestWithParam<RestoreCase>
{
protected:
    QTemporaryDir m_dir;
};

TEST_P(RestoreQuestionTest, RestoresOrKeepsWhatWasLeft)
{
    const RestoreCase &c = GetParam();
    ASSERT_TRUE(m_dir.isValid());
    const QString folder = recovery::journalFolder(m_dir.path());
    QDir().mkpath(folder);
    {
        QFile file(QDir(folder).filePath(QStringLiteral("20261207-170000-42.vjl")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = bytesOf(c.left);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    ValueListDocument document;
    {
        ModalAnswerer answerer(c.answers);
        restoreOrStartJournal(document, m_dir.path());
        EXPECT_EQ(static_cast<int>(answerer.boxes.size()), c.questions) << answerer.boxTexts().join(u'|').toStdString();
    }
    EXPECT_EQ(document.items(), c.items);
    EXPECT_EQ(document.isUnsaved(), c.unsaved);
    if (!c.items.empty()) {
        EXPECT_EQ(document.title(), QStringLiteral("Vorla-/d/a.txt"));
    }
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.kept")}, QDir::Files).size(), c.keptFiles);

    // The document goes on journaling: a change is there for the next start.
    document.enter({"99"});
    Items expected = c.items;
    expected.push_back("99");
    EXPECT_TRUE(recovery::leftJournals(m_dir.path(), 32767).empty()) << "held while the document lives";
    const QString live = document.journal()->path();
    QFile file(live);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(journal::replay(std::string_view(bytes.constData(), bytes.size()), 32767).state.items,
              expected);
}

using B = QMessageBox;
const RestoreCase kRestoreCases[] = {
    {"EnterRestores", Left::Unsaved, {B::Default}, 1, {"１３", "14"}, true, 0},
    {"CutRecordDropped", Left::CutMidRecord, {B::Default}, 1, {"１３", "14"}, true, 0},
    {"DiscardKeepsADatedFile", Left::Unsaved, {B::Escape}, 1, {}, false, 1},
    // Reported, a copy kept whole, and what came before the damage offered.
    {"DamagedReportedThenRestored", Left::DamagedInside, {B::Ok, B::Default}, 2, {"１３"}, true, 1},
    {"ForeignReportedAndKept", Left::Foreign, {B::Ok}, 1, {}, false, 1},
    {"NewerVersionReportedAndKept", Left::NewerVersion, {B::Ok}, 1, {}, false, 1},
    {"SavedListAsksNothing", Left::SavedOnly, {}, 0, {}, false, 0},
};
INSTANTIATE_TEST_SUITE_P(Journals, RestoreQuestionTest, ::testing::ValuesIn(kRestoreCases), RowName{});

// A sheet left beside a list: both are asked about; the sheet comes back in
// a window of its own, exactly, unsaved, with its file's name, and goes on in
// its journal. A sheet saved before the end is asked about by no one.
TEST(RestoreQuestionSheetTest, ASheetLeftComesBackInItsOwnWindow)
{
    QTemporaryDir dir;
    const QString folder = recovery::journalFolder(dir.path());
    QDir().mkpath(folder);
    sheet::Sheet left;
    left.header.subgroupSize = 2;
    left.header.upperLimit = "10.5";
    left.rows = {{"12/01 08:00", {"10.1", "欠測"}, "ゲージ確認", false, ""},
                 {"12/01 09:00", {"１０．２"}, "", true, "段取り中"}};
    const auto write = [&](const char *name, const std::string &bytes) {
        QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    };
    write("20261207-170000-42-sheet-aaaa.vjl",
          journal::header() + journal::sheetSnapshotRecords(left, "/d/週.vorla", false)
              + journal::sheetRowRecord(2, {"", {"9.9"}, "", false, ""}));
    write("20261207-160000-42-sheet-bbbb.vjl",
          journal::header() + journal::sheetSnapshotRecords(left, "/d/saved.vorla", false));
    write("20261207-150000-42.vjl", kLeft);
    left.rows.push_back({"", {"9.9"}, "", false, ""});

    ValueListDocument document;
    ModalAnswerer answerer({B::Default, B::Default});
    restoreOrStartJournal(document, dir.path());
    ASSERT_EQ(answerer.boxes.size(), 2u) << answerer.boxTexts().join(u'|').toStdString();
    const QStringList sheetQuestions =
        answerer.boxTexts().filter(QStringLiteral("保存されていない管理図シートがあります（群 3 個）。"));
    ASSERT_EQ(sheetQuestions.size(), 1) << answerer.boxTexts().join(u'|').toStdString();
    EXPECT_TRUE(sheetQuestions[0].contains(QStringLiteral("ファイル: 「/d/週.vorla」")));
    EXPECT_EQ(document.items(), (Items{"１３", "14"}));

    sheetwin::SheetWindow *restored = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<sheetwin::SheetWindow *>(widget))
            restored = window;
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->document().sheet(), left);
    EXPECT_TRUE(restored->document().isModified());
    EXPECT_EQ(restored->document().filePath(), QStringLiteral("/d/週.vorla"));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("20261207-160000-42-sheet-bbbb.vjl"))));

    ASSERT_EQ(restored->document().setNote(0, "再測定"), "");
    QByteArray bytes;
    {
        // Closed before the window's close deletes it: Windows deletes no
        // file another handle holds open.
        QFile journal(restored->document().journal()->path());
        ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
        bytes = journal.readAll();
    }
    const journal::Replay replay =
        journal::replay(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), 32767);
    ASSERT_TRUE(replay.sheet.has_value());
    EXPECT_EQ(*replay.sheet, restored->document().sheet());
    restored->document().undoStack()->setClean();
    restored->close(); // a normal close: nothing left for the next start
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*sheet*")}, QDir::Files), QStringList());
}

} // namespace
