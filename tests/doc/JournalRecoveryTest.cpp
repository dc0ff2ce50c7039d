// Journals between runs: which are left behind, and what is kept of them.

#include "doc/JournalFile.h"
#include "doc/JournalRecovery.h"
#include "files/ValueFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class JournalRecoveryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir().mkpath(recovery::journalFolder(m_dir.path()));
    }
    QString inFolder(const QString &name) const
    {
        return QDir(recovery::journalFolder(m_dir.path())).filePath(name);
    }
    void write(const QString &name, const std::string &bytes) const
    {
        QFile file(inFolder(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    QStringList names() const
    {
        return QDir(recovery::journalFolder(m_dir.path())).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir m_dir;
};

const std::string kUnsavedTwo = journal::header() + journal::appendRecord({"1", "2"})
                                + journal::stateRecord({{}, "", "Pellary", true, false});

TEST_F(JournalRecoveryTest, FindsJournalsNoLiveProcessHolds)
{
    write("20261201-080000-11.vjl", kUnsavedTwo);
    write("notes.txt", "not a journal");
    auto live = JournalFile::atPath(inFolder("20261201-090000-12.vjl"));
    ASSERT_TRUE(live->append(journal::appendRecord({"5"})));

    const std::vector<recovery::LeftJournal> left =
        recovery::leftJournals(m_dir.path(), files::kMaxListItems);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].path.endsWith(QStringLiteral("-11.vjl")));
    EXPECT_TRUE(left[0].worthRestoring());
    EXPECT_EQ(left[0].replay.state.items, std::vector<std::string>({"1", "2"}));
}

TEST_F(JournalRecoveryTest, OnlyUnsavedValuesAreWorthRestoring)
{
    write("a.vjl", journal::header() + journal::appendRecord({"1"})
                       + journal::stateRecord({{}, "a.txt", "Vorla-a.txt", false, true}));
    write("b.vjl", journal::header());
    write("c.vjl", journal::header() + journal::clearRecord()
                       + journal::stateRecord({{}, "", "Vorla", true, true}));
    for (const recovery::LeftJournal &left : recovery::leftJournals(m_dir.path(), files::kMaxListItems))
        EXPECT_FALSE(left.worthRestoring()) << left.path.toStdString();
}

TEST_F(JournalRecoveryTest, ATakenOverJournalGoesOnAfterItsLastGoodRecord)
{
    const std::string cut = kUnsavedTwo + journal::appendRecord({"3"}).substr(0, 9);
    write("t.vjl", cut);
    const auto left = recovery::leftJournals(m_dir.path(), files::kMaxListItems);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].replay.tornTail);
    auto file = JournalFile::takeOver(left[0].path, left[0].replay.goodBytes);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->append(journal::appendRecord({"4"})));
    EXPECT_TRUE(recovery::leftJournals(m_dir.path(), files::kMaxListItems).empty()); // held now
    file.reset();
    const auto again = recovery::leftJournals(m_dir.path(), files::kMaxListItems);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_FALSE(again[0].replay.tornTail);
    EXPECT_EQ(again[0].replay.state.items, std::vector<std::string>({"1", "2", "4"}));
}

TEST_F(JournalRecoveryTest, DiscardedJournalsGoAfterThirtyDaysAndKeptOnesStay)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(10, 0));
    write("old.vjl", kUnsavedTwo);
    write("recent.vjl", kUnsavedTwo);
    write("foreign.vjl", "hello");
    const QString old = recovery::setAside(inFolder("old.vjl"), recovery::kDiscarded, now.addDays(-31));
    const QString recent =
        recovery::setAside(inFolder("recent.vjl"), recovery::kDiscarded, now.addDays(-29));
    const QString kept = recovery::setAside(inFolder("foreign.vjl"), recovery::kKept, now.addDays(-400));
    ASSERT_FALSE(old.isEmpty());
    EXPECT_TRUE(QFileInfo(old).fileName().startsWith(QStringLiteral("discarded-20261107-100000-old")));
    // Set aside, none of them is taken for a journal left behind.
    EXPECT_TRUE(recovery::leftJournals(m_dir.path(), files::kMaxListItems).empty());

    recovery::pruneDiscarded(m_dir.path(), now);
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(recent));
    EXPECT_TRUE(QFile::exists(kept));
}

} // namespace
