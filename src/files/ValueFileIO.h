#pragma once

// Value files on disk: the Qt edge around the byte rules of ValueFile.h.
//
// Reading is guarded so that whatever file a user picks (a binary, one
// enormous line, a device, gigabytes) costs at most a bounded read:
//   - only regular files are read, and only up to kMaxValueFileBytes; a larger
//     file is refused before a byte of it is read;
//   - a file holding a NUL byte is no text file and is refused;
//   - a line longer than kMaxLineLength characters refuses the file (see
//     files::itemsToAppend), so no item is ever cut short.
// The cap is far above what a full list of typed values needs (32,767 values
// of up to 128 bytes each). What it bounds is the list's own work: the list
// lays out every item's whole text, and the file is held a few times over
// (bytes, the UTF-8 reading, and for bytes that read both ways the second
// reading, then the items), so 4 MiB keeps the open quick and its peak memory
// to a few tens of megabytes.
//
// Writing goes through QSaveFile: the new file replaces the old one only once
// it is written whole, so a failed save leaves any old file as it was.

#include "files/Columns.h"
#include "files/TextCodec.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace files {

/// The largest value file the open command reads: 4 MiB.
inline constexpr qint64 kMaxValueFileBytes = 4 * 1024 * 1024;

/// Why a file could not be read as a value file.
enum class ReadProblem {
    Missing,     ///< no such file
    NotAFile,    ///< a folder, device or pipe
    TooLarge,    ///< above the size cap; detail holds the size in bytes where it is known
    CannotRead,  ///< the system refused; detail holds its reason
    Binary,      ///< holds NUL bytes
    NotText,     ///< valid neither as UTF-8 nor as Shift JIS
    NoShiftJis,  ///< this Qt build has no Shift JIS converter
    TooLongLine, ///< a line above kMaxLineLength characters; `line` says which
    /// a table's chosen column holds a value with a tab or line break (a
    /// quoted field can); `line` says where
    BreakInValue,
    Cancelled,   ///< the user chose to read nothing when asked for the encoding or the column
};

struct ReadFailure
{
    ReadProblem problem = ReadProblem::CannotRead;
    QString detail;
    std::size_t line = 0; ///< for TooLongLine and BreakInValue: 1-based, counting every line
};

/// Why a file was refused, in a Japanese sentence for the user (the window's
/// message box and the command line's error output say the same). Empty for
/// a question the user cancelled: that needs no message.
QString readProblemText(const ReadFailure &failure);

/// What a value file adds to a list.
struct ValueFileItems
{
    std::vector<std::string> items; ///< non-empty lines in file order (UTF-8), at most `room`
    std::size_t leftOut = 0;        ///< non-empty lines (of a table: values) that did not fit
    TextEncoding encoding = TextEncoding::ShiftJis;
    /// For a file that is a table (files::detectColumns): the column read,
    /// from 1, and how many there are. Both 0 for a file of one column.
    std::size_t column = 0;
    std::size_t columns = 0;
    std::vector<std::size_t> lineNumbers; ///< each item's line in the file, from 1
};

/// A whole file's bytes, or why not: only a regular file is read, a file
/// larger than `maxBytes` is refused before a byte of it is read, and one
/// that grows while it is read is never read beyond one byte past the cap.
std::variant<std::string, ReadFailure> readBoundedBytes(const QString &path, qint64 maxBytes);

/// The bytes of an open device (a pipe, a terminal, standard input) up to
/// its end, or TooLarge (without a size) as soon as it gives more than
/// `maxBytes`: an endless source costs at most that much. Blocks until the
/// device ends.
std::variant<std::string, ReadFailure> readBoundedBytes(QIODevice &device, qint64 maxBytes);

/// The open command's whole reading of a value file: the bounded read, the
/// decoding (files::decodeText; `choose` answers the question it may ask, and
/// without it an undecided file is read as Shift JIS), the line rule
/// (files::itemsToAppend, whose limit on a line's length holds for tables
/// too), then for a table (files::detectColumns) the column that
/// `chooseColumn` picks (without it, the preselected one; its nullopt reads
/// nothing, as Cancelled), and the room left in the list, which counts the
/// column's values. A value of that column holding a tab or line break (a
/// quoted field can) refuses the file at its line: saved, it would not read
/// back as the same item. Refuses rather than guess: nothing of a refused
/// file should reach the list.
std::variant<ValueFileItems, ReadFailure> readValueFile(const QString &path, std::size_t room,
                                                        const ChooseReading &choose = {},
                                                        qint64 maxBytes = kMaxValueFileBytes,
                                                        const ChooseColumn &chooseColumn = {});

/// readValueFile after its read: the same reading of bytes already in hand
/// (standard input, say). Bytes holding a NUL are refused as Binary.
std::variant<ValueFileItems, ReadFailure> readValueBytes(std::string bytes, std::size_t room,
                                                         const ChooseReading &choose = {},
                                                         const ChooseColumn &chooseColumn = {});

/// The first item that Shift JIS cannot write.
struct UnencodableItem
{
    qsizetype index = 0; ///< its place in the list, from 0
    QString text;        ///< the item itself
    QString character;   ///< its first character without a Shift JIS form
};

/// Why the list could not be turned into file bytes.
struct EncodeFailure
{
    /// Empty when this Qt build has no Shift JIS converter at all.
    std::optional<UnencodableItem> item;
};

/// The value file's bytes for these items, in Windows Shift JIS. Fails, naming
/// the first item that cannot be written, rather than replace a character.
std::variant<QByteArray, EncodeFailure> encodeValueFile(const QStringList &items);

enum class WriteProblem {
    FolderMissing, ///< the folder of the path does not exist (or is a file)
    CannotWrite,   ///< the system refused; detail holds its reason
};

struct WriteFailure
{
    WriteProblem problem = WriteProblem::CannotWrite;
    QString detail;
};

/// Writes the bytes to `path` whole, or leaves whatever was there untouched.
std::optional<WriteFailure> writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace files
