// The start-up question about journals left behind, answered as a user
// would, and what becomes of the list and the journal files.

#include "app/RestoreQuestion.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"
#include "doc/JournalFile.h"

#include "ModalAnswerer.h"
#include "RowName.h"

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

} // namespace
