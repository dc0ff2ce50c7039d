// The journal's bytes: what replays to what, where a cut or damage stops it,
// and that a journal is never taken for more than it holds.

#include "journal/JournalFormat.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace journal {
void PrintTo(const ListState &s, std::ostream *out)
{
    *out << s.items.size() << " items [";
    for (const std::string &item : s.items)
        *out << '"' << item << "\" ";
    *out << "] source \"" << s.sourceName << "\" title \"" << s.title << "\" unsaved " << s.unsaved
         << " open " << s.openAllowed;
}
} // namespace journal

namespace {

using journal::ListState;
using journal::Problem;
using journal::replay;

constexpr std::size_t kMax = 32767;

ListState named(std::vector<std::string> items, const char *source, const char *title, bool unsaved,
                bool openAllowed)
{
    return {std::move(items), source, title, unsaved, openAllowed};
}

// A journal as the document writes it for: type 1, 2, 3; remove the 2;
// correct the 3 to ３; insert "x" before the first; open a file; clear.
struct Built
{
    std::string bytes = journal::header();
    std::vector<std::size_t> recordEnds; // offset after each record
    std::vector<ListState> states;       // state after each record
    ListState state;

    void add(const std::string &record, ListState after)
    {
        bytes += record;
        recordEnds.push_back(bytes.size());
        states.push_back(after);
        state = std::move(after);
    }
};

Built typicalJournal()
{
    Built b;
    b.add(journal::appendRecord({"1", "2", "3"}), named({"1", "2", "3"}, "", "", false, true));
    b.add(journal::stateRecord(named({}, "", "Pellary", true, false)),
          named({"1", "2", "3"}, "", "Pellary", true, false));
    b.add(journal::removeRecord(1, 1), named({"1", "3"}, "", "Pellary", true, false));
    b.add(journal::replaceRecord(1, "３"), named({"1", "３"}, "", "Pellary", true, false));
    b.add(journal::insertRecord(0, {"x"}), named({"x", "1", "３"}, "", "Pellary", true, false));
    b.add(journal::appendRecord({"", " ", "a\tb"}), named({"x", "1", "３", "", " ", "a\tb"}, "", "Pellary", true, false));
    b.add(journal::stateRecord(named({}, "/home/u/値.txt", "Vorla-/home/u/値.txt", false, false)),
          named({"x", "1", "３", "", " ", "a\tb"}, "/home/u/値.txt", "Vorla-/home/u/値.txt", false, false));
    b.add(journal::clearRecord(), named({}, "/home/u/値.txt", "Vorla-/home/u/値.txt", false, false));
    return b;
}

TEST(JournalFormatTest, Crc32IsTheStandardOne)
{
    EXPECT_EQ(journal::crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(journal::crc32(""), 0u);
}

TEST(JournalFormatTest, ReplaysEveryKindOfChangeInOrder)
{
    const Built b = typicalJournal();
    for (std::size_t i = 0; i < b.recordEnds.size(); ++i) {
        const journal::Replay r = replay(std::string_view(b.bytes).substr(0, b.recordEnds[i]), kMax);
        EXPECT_EQ(r.state, b.states[i]) << "after record " << i;
        EXPECT_EQ(r.records, i + 1);
        EXPECT_EQ(r.goodBytes, b.recordEnds[i]);
        EXPECT_FALSE(r.tornTail);
        EXPECT_EQ(r.problem, Problem::None);
    }
}

TEST(JournalFormatTest, ASnapshotRebuildsTheStateOverAnyBefore)
{
    const ListState saved = named({"1.5", "２"}, "a.txt", "Pellary-a.txt", false, true);
    const journal::Replay r =
        replay(typicalJournal().bytes + journal::snapshotRecords(saved), kMax);
    EXPECT_EQ(r.state, saved);
    EXPECT_EQ(r.problem, Problem::None);
}

// Power lost in the middle of the last write: every byte offset inside the
// last record replays to the state before it, and the record is dropped,
// whether the file ends there or in the zeros of the room written ahead.
TEST(JournalFormatTest, ACutAtAnyByteOfTheLastRecordKeepsEverythingBefore)
{
    const std::string room(4096, '\0');
    for (const std::string &last :
         {journal::appendRecord({"12.5", "13"}), journal::removeRecord(0, 1),
          journal::replaceRecord(0, "長い値の修正"), journal::stateRecord(named({}, "b.txt", "t", true, true)),
          journal::clearRecord()}) {
        Built b;
        b.add(journal::appendRecord({"1", "2"}), named({"1", "2"}, "", "", false, true));
        const std::size_t before = b.bytes.size();
        const std::string whole = b.bytes + last;
        const journal::Replay complete = replay(whole, kMax);
        EXPECT_NE(complete.state, b.state);
        for (std::size_t cut = before; cut < whole.size(); ++cut) {
            for (const std::string &after : {std::string(), room}) {
                // Over the room, a record whose unwritten bytes are zeros anyway is whole.
                const bool wholeOnDisk = !after.empty() && whole.find_first_not_of('\0', cut) == std::string::npos;
                const journal::Replay r = replay(whole.substr(0, cut) + after, kMax);
                ASSERT_EQ(r.state, wholeOnDisk ? complete.state : b.state)
                    << "cut at " << cut << " room " << after.size();
                EXPECT_EQ(r.goodBytes, wholeOnDisk ? whole.size() : before);
                EXPECT_EQ(r.tornTail, cut > before && !wholeOnDisk)
                    << "cut at " << cut << " room " << after.size();
                EXPECT_EQ(r.problem, Problem::None) << "cut at " << cut << " room " << after.size();
            }
        }
        const journal::Replay roomy = replay(whole + room, kMax);
        EXPECT_EQ(roomy.state, complete.state);
        EXPECT_EQ(roomy.goodBytes, whole.size());
        EXPECT_FALSE(roomy.tornTail);
    }
}

TEST(JournalFormatTest, ACutInsideTheHeaderIsAnEmptyJournal)
{
    const std::string header = journal::header();
    for (std::size_t cut = 0; cut <= header.size(); ++cut) {
        const journal::Replay r = replay(std::string_view(header).substr(0, cut), kMax);
        EXPECT_EQ(r.problem, Problem::None) << cut;
        EXPECT_EQ(r.state, ListState{}) << cut;
        EXPECT_FALSE(r.state.unsaved);
    }
}

std::string withByte(std::string bytes, std::size_t at, char value)
{
    bytes[at] = value;
    return bytes;
}

std::string rawRecord(const std::string &payload)
{
    std::string out;
    for (std::uint64_t v : {std::uint64_t(payload.size()), std::uint64_t(journal::crc32(payload))})
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out + payload;
}

struct HostileJournal
{
    const char *name;
    std::string bytes;
    Problem problem;
    std::size_t keptRecords; // good records before the fault
};

void PrintTo(const HostileJournal &c, std::ostream *out) { *out << c.name; }

class HostileJournalTest : public ::testing::TestWithParam<HostileJournal>
{
};

TEST_P(HostileJournalTest, StopsAtTheFaultAndSaysWhich)
{
    const HostileJournal &c = GetParam();
    const journal::Replay r = replay(c.bytes, kMax);
    EXPECT_EQ(r.problem, c.problem);
    EXPECT_EQ(r.records, c.keptRecords);
    if (c.problem == Problem::Damaged) {
        EXPECT_EQ(r.problemOffset, r.goodBytes);
    }
}

const std::string kHeader = journal::header();
const std::string kTwo = journal::appendRecord({"1", "2"});
const std::string kTwoThenClear = kHeader + kTwo + journal::clearRecord();

const HostileJournal kHostileJournals[] = {
    {"ValueFile", "12.5\r\n13\r\n", Problem::NotAJournal, 0},
    {"Empty", "", Problem::None, 0},
    {"OtherMagic", "VORLAJNX" + kHeader.substr(8) + kTwo, Problem::NotAJournal, 0},
    {"LaterVersion", withByte(kHeader, 8, 2) + kTwo, Problem::NewerVersion, 0},
    // A flipped byte in the first record's payload, with more after it.
    {"CrcMismatchInTheMiddle", withByte(kTwoThenClear, kHeader.size() + 12, 'X'), Problem::Damaged, 0},
    {"RemovePastTheEnd", kHeader + kTwo + journal::removeRecord(1, 5) + journal::clearRecord(),
     Problem::Damaged, 1},
    {"ReplaceOutsideTheList", kHeader + kTwo + journal::replaceRecord(2, "x") + kTwo, Problem::Damaged, 1},
    {"InsertPastTheEnd", kHeader + journal::insertRecord(1, {"x"}) + kTwo, Problem::Damaged, 0},
    {"UnknownKind", kHeader + kTwo + rawRecord("\x09") + kTwo, Problem::Damaged, 1},
    {"StateWithUnknownFlags", kHeader + rawRecord(std::string("\x06\0\0\0\0\0\0\0\0\x04", 10)) + kTwo,
     Problem::Damaged, 0},
    {"TrailingBytesInARecord", kHeader + rawRecord(std::string("\x05\x00", 2)) + kTwo, Problem::Damaged, 0},
    {"CountLargerThanThePayload", kHeader + rawRecord(std::string("\x01\xff\xff\xff\x7f", 5)) + kTwo,
     Problem::Damaged, 0},
    // A last whole record that does not check out is a cut, not damage.
    {"LastRecordZeroed", kHeader + kTwo + std::string(kTwo.size(), '\0').replace(0, 4, kTwo.substr(0, 4)),
     Problem::None, 1},
    // The zeros written ahead for later records end a journal; a record of
    // zeros with more records after it does not.
    {"RoomAfterTheRecords", kTwoThenClear + std::string(70000, '\0'), Problem::None, 2},
    {"DamageBeforeTheRoom", withByte(kTwoThenClear, kHeader.size() + 12, 'X') + std::string(4096, '\0'),
     Problem::Damaged, 0},
    {"ZerosBetweenRecords", kHeader + kTwo + std::string(8, '\0') + kTwo, Problem::Damaged, 1},
    {"LengthBeyondAnyRecord", kHeader + kTwo + std::string("\xff\xff\xff\xff\0\0\0\0", 8) + kTwo,
     Problem::Damaged, 1},
};
INSTANTIATE_TEST_SUITE_P(Journals, HostileJournalTest, ::testing::ValuesIn(kHostileJournals),
                         RowName{});

TEST(JournalFormatTest, NeverHoldsMoreItemsThanTheList)
{
    std::string bytes = kHeader + journal::appendRecord(std::vector<std::string>(3, "1"));
    const journal::Replay r = replay(bytes + journal::appendRecord({"2"}), 3);
    EXPECT_EQ(r.problem, Problem::Damaged);
    EXPECT_EQ(r.state.items.size(), 3u);
}

} // namespace
