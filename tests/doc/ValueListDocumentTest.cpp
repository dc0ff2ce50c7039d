// The value list's document without a window: every kind of change, its
// history, the saved state, and the journal that replays to the same list.

#include "doc/JournalFile.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"
#include "doc/ValueListModel.h"
#include "files/ValueFile.h"

#include "RowName.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Items = std::vector<std::string>;

class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_journalPath = recovery::newJournalPath(m_dir.path());
        m_doc.setJournal(JournalFile::atPath(m_journalPath));
    }

    /// What the journal on disk replays to.
    journal::Replay replayed() const
    {
        QFile file(m_journalPath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        return journal::replay(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                               files::kMaxListItems);
    }
    void expectJournalAgrees() const
    {
        const journal::Replay r = replayed();
        EXPECT_EQ(r.problem, journal::Problem::None);
        EXPECT_FALSE(r.tornTail);
        EXPECT_EQ(r.state, m_doc.state());
    }

    QTemporaryDir m_dir;
    QString m_journalPath;
    ValueListDocument m_doc;
};

TEST_F(DocumentTest, EntriesAreNoStepButAChange)
{
    QSignalSpy entered(&m_doc, &ValueListDocument::entered);
    ASSERT_TRUE(m_doc.enter({"1", "2"}));
    ASSERT_TRUE(m_doc.enter({"3"}));
    EXPECT_EQ(m_doc.items(), Items({"1", "2", "3"}));
    EXPECT_TRUE(m_doc.isUnsaved());
    EXPECT_FALSE(m_doc.openAllowed());
    EXPECT_FALSE(m_doc.canUndo());
    ASSERT_EQ(entered.size(), 2);
    EXPECT_EQ(entered[0][0].value<std::size_t>(), 2u);
    expectJournalAgrees();
}

TEST_F(DocumentTest, AFullListTakesNothingAndSaysSo)
{
    ASSERT_TRUE(m_doc.enter(Items(files::kMaxListItems - 1, "0")));
    EXPECT_FALSE(m_doc.enter({"1", "2"}));
    EXPECT_EQ(m_doc.count(), static_cast<int>(files::kMaxListItems - 1));
    EXPECT_TRUE(m_doc.enter({"1"}));
    EXPECT_FALSE(m_doc.beginInsertion(0));
    EXPECT_EQ(m_doc.room(), 0u);
}

// Each row: a script of changes, then the list, what undo and redo bring,
// and whether the list counts as unsaved at each point.
struct HistoryCase
{
    const char *name;
    std::function<void(ValueListDocument &)> act;
    Items after;
    Items afterUndo;
    Items afterRedo;
    bool unsavedAfterUndo;
};

void PrintTo(const HistoryCase &c, std::ostream *out) { *out << c.name; }

class DocumentHistoryTest : public DocumentTest, public ::testing::WithParamInterface<HistoryCase>
{
};

TEST_P(DocumentHistoryTest, UndoAndRedoWalkTheStep)
{
    const HistoryCase &c = GetParam();
    c.act(m_doc);
    EXPECT_EQ(m_doc.items(), c.after);
    EXPECT_TRUE(m_doc.isUnsaved());
    expectJournalAgrees();

    ASSERT_TRUE(m_doc.undo());
    EXPECT_EQ(m_doc.items(), c.afterUndo);
    EXPECT_EQ(m_doc.isUnsaved(), c.unsavedAfterUndo);
    EXPECT_TRUE(m_doc.canRedo());
    expectJournalAgrees();

    ASSERT_TRUE(m_doc.redo());
    EXPECT_EQ(m_doc.items(), c.afterRedo);
    EXPECT_TRUE(m_doc.isUnsaved());
    EXPECT_FALSE(m_doc.canRedo());
    expectJournalAgrees();
}

const HistoryCase kHistoryCases[] = {
    {"Removal", [](ValueListDocument &d) { d.enter({"1", "2", "3"}); d.remove(1); },
     {"1", "3"}, {"1", "2", "3"}, {"1", "3"}, true},
    // Entries after a removal stay at the end; the value comes back at its place.
    {"RemovalThenEntry", [](ValueListDocument &d) { d.enter({"1", "2"}); d.remove(0); d.enter({"5"}); },
     {"2", "5"}, {"1", "2", "5"}, {"2", "5"}, true},
    {"Correction", [](ValueListDocument &d) { d.enter({"1", "2"}); d.correct(1, "２．５"); },
     {"1", "２．５"}, {"1", "2"}, {"1", "２．５"}, true},
    {"Insertion", [](ValueListDocument &d) { d.enter({"1", "2"}); d.beginInsertion(1); d.finishInsertion(1, "9"); },
     {"1", "9", "2"}, {"1", "2"}, {"1", "9", "2"}, true},
    {"ClearOfAnOpenedFile", [](ValueListDocument &d) { d.open({"1", "2"}, "a.txt"); d.clear(); },
     {}, {"1", "2"}, {}, false},
    // What came in after a clear stays behind the list it brings back, and a
    // redo takes out only what the undo put back.
    {"ClearThenEntry", [](ValueListDocument &d) { d.open({"1", "2"}, "a.txt"); d.clear(); d.enter({"3"}); },
     {"3"}, {"1", "2", "3"}, {"3"}, true},
};
INSTANTIATE_TEST_SUITE_P(Steps, DocumentHistoryTest, ::testing::ValuesIn(kHistoryCases), RowName{});

TEST_F(DocumentTest, AClearOfASavedListStillCountsAsAChange)
{
    m_doc.enter({"1", "2"});
    m_doc.markSaved("/tmp/a.txt");
    ASSERT_FALSE(m_doc.isUnsaved());
    m_doc.clear();
    EXPECT_TRUE(m_doc.isUnsaved()); // the cleared values can still come back: exit asks
    EXPECT_EQ(m_doc.title(), QStringLiteral("Vorla"));
    EXPECT_TRUE(m_doc.openAllowed());
    m_doc.undo();
    EXPECT_FALSE(m_doc.isUnsaved());
    EXPECT_EQ(m_doc.title(), QStringLiteral("Pellary-/tmp/a.txt"));
    EXPECT_FALSE(m_doc.openAllowed());
    expectJournalAgrees();
}

TEST_F(DocumentTest, AnUndoWithoutRoomKeepsItsStep)
{
    QSignalSpy noRoom(&m_doc, &ValueListDocument::noRoom);
    m_doc.enter({"1", "2", "3"});
    m_doc.remove(1);
    m_doc.enter(Items(files::kMaxListItems - 2, "0"));
    EXPECT_FALSE(m_doc.undo());
    EXPECT_EQ(noRoom.size(), 1);
    EXPECT_TRUE(m_doc.canUndo());
    // Two later removals make room for themselves, not for the first.
    m_doc.remove(m_doc.count() - 1);
    m_doc.remove(m_doc.count() - 1);
    EXPECT_TRUE(m_doc.undo());
    EXPECT_TRUE(m_doc.undo());
    EXPECT_FALSE(m_doc.undo());
    EXPECT_EQ(noRoom.size(), 2);
    EXPECT_EQ(m_doc.items()[1], "3");
    m_doc.remove(m_doc.count() - 1);
    EXPECT_TRUE(m_doc.undo()); // that one's own removal, again
    m_doc.remove(0);
    m_doc.remove(0);
    EXPECT_TRUE(m_doc.undo());
    EXPECT_TRUE(m_doc.undo());
    EXPECT_FALSE(m_doc.undo()); // still no room for the 2
    EXPECT_EQ(noRoom.size(), 3);
}

TEST_F(DocumentTest, AnInsertionLeftEmptyIsNoChange)
{
    m_doc.open({"1", "2"}, "a.txt");
    ASSERT_TRUE(m_doc.beginInsertion(0));
    EXPECT_EQ(m_doc.count(), 3);
    m_doc.finishInsertion(0, std::nullopt);
    EXPECT_EQ(m_doc.items(), Items({"1", "2"}));
    EXPECT_FALSE(m_doc.isUnsaved());
    EXPECT_FALSE(m_doc.canUndo());
    EXPECT_TRUE(m_doc.openAllowed());
    expectJournalAgrees();
}

TEST_F(DocumentTest, AnUnchangedCorrectionIsNoStep)
{
    m_doc.open({"1"}, "a.txt");
    EXPECT_FALSE(m_doc.correct(0, "1"));
    EXPECT_FALSE(m_doc.canUndo());
    EXPECT_FALSE(m_doc.isUnsaved());
}

TEST_F(DocumentTest, OpeningEndsTheHistoryAndCountsAsSaved)
{
    m_doc.enter({"1"});
    m_doc.remove(0);
    m_doc.open({"7", "8"}, "/d/b.txt");
    EXPECT_FALSE(m_doc.canUndo());
    EXPECT_FALSE(m_doc.isUnsaved());
    EXPECT_EQ(m_doc.title(), QStringLiteral("Vorla-/d/b.txt"));
    EXPECT_EQ(m_doc.sourceName(), QStringLiteral("/d/b.txt"));
    EXPECT_FALSE(m_doc.openAllowed()); // opening does not switch the open command back on
    expectJournalAgrees();
}

TEST_F(DocumentTest, SavingStartsTheJournalAgainFromTheFile)
{
    m_doc.enter(Items(1000, "12.5"));
    const qint64 before = QFile(m_journalPath).size();
    m_doc.markSaved("/d/c.txt");
    EXPECT_FALSE(m_doc.isUnsaved());
    expectJournalAgrees();
    EXPECT_FALSE(replayed().state.unsaved); // nothing to restore after a save
    m_doc.enter({"1"});
    EXPECT_TRUE(replayed().state.unsaved);
    EXPECT_LT(QFile(m_journalPath).size(), before + 100);
}

TEST_F(DocumentTest, RestoreGivesBackTheListAndStartsItsHistoryThere)
{
    m_doc.open({"1", "2"}, "/d/a.txt");
    m_doc.remove(0);
    m_doc.enter({"３"});
    const journal::ListState kept = m_doc.state();

    ValueListDocument restored;
    restored.restore(replayed().state, JournalFile::takeOver(m_journalPath, replayed().goodBytes));
    EXPECT_EQ(restored.state(), kept);
    EXPECT_TRUE(restored.isUnsaved());
    EXPECT_FALSE(restored.canUndo());
    EXPECT_EQ(restored.title(), QStringLiteral("Vorla-/d/a.txt"));
}

TEST_F(DocumentTest, EndingNormallyLeavesNoJournal)
{
    auto document = std::make_unique<ValueListDocument>();
    const QString path = recovery::newJournalPath(m_dir.path());
    document->setJournal(JournalFile::atPath(path));
    document->enter({"1"});
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_TRUE(JournalFile::heldByAnother(path)); // the lock tells a live journal from one left behind
    document.reset();
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
