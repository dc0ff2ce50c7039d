#pragma once

// The journal of the value list: every change the document makes, appended
// as one record before the window shows it, so that a list typed in since the
// last save survives a crash, a killed process or a power cut. Qt-free: the
// bytes in, the list out.
//
// A journal is a 12-byte header and then records, each
//
//     u32 payload length | u32 CRC-32 of the payload | payload
//
// (little-endian). A payload is one byte naming the change, then its fields;
// a text is u32 byte count and its UTF-8 bytes:
//
//     1 append   u32 n, n texts            items added after the last one
//     2 insert   u32 row, u32 n, n texts   items put in before `row`
//     3 remove   u32 row, u32 n            n items taken out from `row` on
//     4 replace  u32 row, text             the item at `row` replaced
//     5 clear                              every item taken out
//     6 state    text source, text title, u8 flags (1 unsaved, 2 open allowed)
//
// A journal cut anywhere replays to the list as it stood after its last
// whole record. A record that is whole but does not check out (its CRC, or a
// change that cannot apply) is damage: the replay stops before it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace journal {

inline constexpr std::string_view kMagic = "VORLAJNL";
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
/// No record of a list that the window can hold comes near this.
inline constexpr std::size_t kMaxPayload = 1u << 30;

/// What a journal restores: the list and what the window shows of it.
struct ListState
{
    std::vector<std::string> items;
    std::string sourceName; // the file the values came from or went to
    std::string title;      // the window's caption
    bool unsaved = false;   // differs from the file last opened or saved
    bool openAllowed = true;

    bool operator==(const ListState &) const = default;
};

enum class Kind : std::uint8_t { Append = 1, Insert = 2, Remove = 3, Replace = 4, Clear = 5, State = 6 };

std::string header();

std::string appendRecord(const std::vector<std::string> &items);
std::string insertRecord(std::size_t row, const std::vector<std::string> &items);
std::string removeRecord(std::size_t row, std::size_t count);
std::string replaceRecord(std::size_t row, std::string_view item);
std::string clearRecord();
std::string stateRecord(const ListState &state);
/// Records that rebuild the whole state from an empty journal: a clear, the
/// items, the state.
std::string snapshotRecords(const ListState &state);

enum class Problem {
    None,
    NotAJournal,  // the header is not this program's
    NewerVersion, // written by a later version of the program
    Damaged,      // a whole record that does not check out
};

struct Replay
{
    ListState state;            // after the last good record
    std::size_t records = 0;    // good records replayed
    std::size_t goodBytes = 0;  // header and good records: where the next record goes
    bool tornTail = false;      // the bytes after goodBytes were a cut record, dropped
    Problem problem = Problem::None;
    std::size_t problemOffset = 0; // byte offset of the header or record at fault
};

/// Replays a journal's bytes. maxItems is the most items the list holds: a
/// change beyond it is damage.
Replay replay(std::string_view bytes, std::size_t maxItems);

/// CRC-32 (IEEE 802.3, as zlib computes it).
std::uint32_t crc32(std::string_view bytes);

} // namespace journal
