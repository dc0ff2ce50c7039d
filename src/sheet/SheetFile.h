#pragma once

// The sheet file (.vorla): versioned UTF-8 JSON, described for other
// programs in docs/sheet-format.md. Vorla writes one fixed layout, so a
// sheet it saved, opened and saved again, gives the same bytes. Reading
// refuses, with what and where, a file that is no sheet, one of a later
// version, and a damaged one; a refused file gives no sheet at all, so
// nothing the user has is changed by it.

#include "sheet/Sheet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace sheet {

inline constexpr std::string_view kSheetFormat = "vorla-sheet";
/// The version this build writes, and the latest it reads.
inline constexpr int kSheetVersion = 1;
/// The largest sheet file read, in bytes: some 300,000 rows of five.
inline constexpr std::int64_t kMaxSheetFileBytes = 64 * 1024 * 1024;
/// The file name extension, with its dot.
inline constexpr std::string_view kSheetExtension = ".vorla";

enum class SheetRefusal {
    NotASheet,    ///< JSON, or not even that, but no "format": "vorla-sheet"
    LaterVersion, ///< a sheet of a version above kSheetVersion
    Damaged,      ///< a sheet whose JSON or content is broken
};

struct SheetReadFailure
{
    SheetRefusal refusal = SheetRefusal::Damaged;
    /// Where: "3 行 14 文字目" for broken JSON, a JSON pointer such as
    /// "/rows/3/values/1" for broken content; empty when the whole file is meant.
    std::string where;
    std::string message; ///< what is wrong, in Japanese
    std::int64_t version = 0; ///< LaterVersion: the file's version
};

using SheetReadOutcome = std::variant<Sheet, SheetReadFailure>;

/// Reads a sheet file's bytes. Members the format does not know are
/// passed over; those it knows must have their type and range:
///   - "format" "vorla-sheet", "version" an integer (1 here);
///   - "header": texts, "subgroupSize" 1..25, "standardDeviations" a boolean;
///   - "tests": integers 1..8;
///   - "phases": "start" from 1, rising, the first at 1; "limits" one of
///     "rows", "baseline" (with "baseline": [first, last], from 1),
///     "standard" ("mean", "sigma" texts) and "given" ("location",
///     "spread": {"center", "upper", "lower"} texts);
///   - "rows": "values" at most subgroupSize texts without tab or line
///     break; "label", "note", "reason" texts; "excluded" a boolean.
/// A missing optional member takes its default (an empty text, false, all
/// eight tests, one analysis phase).
SheetReadOutcome readSheet(std::string_view bytes);

/// The file's bytes for a sheet, in Vorla's fixed layout: two-space
/// indents, the header one member a line, each phase and each row on a line
/// of its own, LF line ends, a final LF.
std::string writeSheet(const Sheet &sheet);

/// A refusal as a message names it:
///   "管理図シートのファイルではありません。"
///   "このシートは版 2 で書かれています。この Vorla が読めるのは版 1 までです。"
///   "シートが壊れています (/rows/3/values/1): 文字列ではありません。"
std::string sheetFailureText(const SheetReadFailure &failure);

/// Whether a file name is a sheet's: it ends in ".vorla" (any case) after
/// at least one other character.
bool isSheetFileName(std::string_view name);

} // namespace sheet
