#pragma once

// The value file: the list's items, one to a line, CR LF after each and one
// more CR LF at the end. These functions work on plain byte strings, so they
// serve the Shift JIS bytes that go to disk (composeValueFile) as well as the
// UTF-8 text that comes back from decoding (itemsToAppend); CR and LF are the
// same single bytes in both.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace files {

/// The longest line the open command takes, in characters. Every way into
/// the list keeps to it: the entry box lets no longer value be typed, and a
/// paste or a file with a longer value enters nothing. So no saved item is
/// refused for its length when the file is opened again, and a longer line
/// is no value this program wrote. That is not to say every item comes back
/// as it was: items that look like a table's rows (with tabs, ';' or ',')
/// reopen as one column of a table (Columns.h), and a list holding a
/// character Shift JIS cannot write is not saved at all.
inline constexpr std::size_t kMaxLineLength = 32767;

/// The most items the value list holds (its count is a signed 16-bit
/// number). The window, the batch command and the tests all size the list
/// by it.
inline constexpr std::size_t kMaxListItems = 32767;

/// The length of UTF-8 text as the line limit measures it: in characters
/// (code points), not bytes.
///   "12.5" -> 4, "１２" -> 2
std::size_t characterCount(std::string_view utf8);

/// Whether UTF-8 text holds more than `limit` characters (characterCount),
/// without counting further than the limit.
bool longerThan(std::string_view utf8, std::size_t limit);

/// The bytes of a value file: each item followed by CR LF, then one more CR LF.
///   {"1.5", "-2", "abc"} -> "1.5\r\n-2\r\nabc\r\n\r\n"
///   {}                   -> "\r\n"
std::string composeValueFile(const std::vector<std::string> &items);

/// What the open command appends from a file's text.
struct ItemsToAppend
{
    std::vector<std::string> items; ///< non-empty lines in file order, at most `room`
    std::size_t leftOut = 0;        ///< non-empty lines that did not fit
    /// 1-based number of the first line longer than the limit, counting every
    /// line (empty ones too); 0 when there is none. When it is set, the file
    /// is refused whole: `items` is empty and `leftOut` is 0.
    std::size_t tooLongLine = 0;
    /// Each item's 1-based line number in the file, empty lines counted.
    std::vector<std::size_t> lineNumbers;
};

/// Reads UTF-8 text by the line rule of nextValueLine, skipping empty lines.
/// A line of blanks is not empty and becomes an item. Only the first `room`
/// items are kept; the rest are counted in `leftOut`. Line length counts
/// characters (UTF-8 code points), not bytes.
///   ("3\r\n\r\n4", 10) -> items {"3", "4"}
///   ("1\r\n2\r\n3", 2) -> items {"1", "2"}, leftOut 1
ItemsToAppend itemsToAppend(std::string_view text, std::size_t room,
                            std::size_t maxLineLength = kMaxLineLength);

} // namespace files
