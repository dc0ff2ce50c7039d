#pragma once

// What becomes of text pasted into the entry box. A paste enters whole or not
// at all: a list that took only part of a column, or a value cut short to fit
// a box, would lose part of what the user copied without anyone noticing, and
// a value longer than a value file's line would save into a file that does
// not open. A refused paste enters none of its values; they stay only where
// they came from (the clipboard, say), and the user is told why.

#include "files/ValueFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace files {

enum class PasteVerdict {
    Enter,   ///< every value fits: all of them enter the list
    TooLong, ///< a value is longer than a value file's line may be: none enters
    TooMany, ///< the list has no room for every value: none enters
    /// A value holds a tab or line break (a quoted field of a pasted table
    /// can): saved, it would open as a table or as two lines. None enters.
    HoldsBreak,
};

/// The decision on one paste.
struct PastePlan
{
    PasteVerdict verdict = PasteVerdict::Enter;
    /// The paste's values (splitPastedValues), in order, whatever the verdict:
    /// with Enter, exactly what joins the list.
    std::vector<std::string> values;
    /// For TooLong and HoldsBreak: the first such value's place, from 0; for
    /// TooLong also its length in characters (characterCount).
    std::size_t tooLongIndex = 0;
    std::size_t tooLongLength = 0;
};

/// Splits pasted text into values (splitPastedValues) and decides whether they
/// enter a list that takes `room` more items. A value longer than
/// `maxLineLength` characters, measured as the open command measures a line
/// (longerThan), refuses the paste first, whatever the room, then one that
/// holds CR, LF or tab; then more values than `room` refuse it. A paste without values enters nothing and is no
/// refusal.
///   ("1\n2\n", 5)          -> Enter {"1", "2"}
///   ("1\n2\n3", 2)         -> TooMany, values {"1", "2", "3"}
///   ("1\t12345", 9, 4)     -> TooLong, index 1, length 5
PastePlan planPaste(std::string_view text, std::size_t room,
                    std::size_t maxLineLength = kMaxLineLength);

/// The same decision on values already split (a column chosen from a pasted
/// table, say), kept in order in the plan.
PastePlan planValues(std::vector<std::string> values, std::size_t room,
                     std::size_t maxLineLength = kMaxLineLength);

} // namespace files
