#pragma once

// `vorla --stats`: each file (or standard input, "-") is read as the open
// command reads a file into an empty list, calculated as 「演算開始」 calculates, and printed. Uses Qt Core
// only (files, text decoding); it creates no application object and so never
// looks for a display.

#include "cli/CommandLine.h"

#include "stats/Statistics.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace cli {

/// What one file argument gives the batch: the items the open command would
/// append to an empty list, or why it appends none.
struct StatsInput
{
    std::vector<std::string> items; ///< UTF-8, file order, at most the list's 32,767
    std::size_t leftOut = 0;        ///< non-empty lines beyond the list's room
    std::string failure;            ///< why the file was refused; empty when it was read
    std::string note;               ///< how a file that reads two ways was read; else empty
    std::size_t column = 0;         ///< of a table file: the column read, from 1; else 0
    std::size_t columns = 0;        ///< of a table file: how many columns it has; else 0
    std::vector<std::size_t> lineNumbers; ///< each item's line in the file, from 1
};

/// Every file argument the batch reads comes through here: a path, or "-"
/// for standard input, read as a value file is (readArgumentBytes, then
/// files::readValueBytes). `column` (from 1) picks a table's column as
/// --column does; 0 takes the column the window would preselect. A file with
/// fewer columns than `column` is refused, saying how many it has (a file
/// that is no table has one).
StatsInput readStatsInput(const std::string &argument, std::size_t column = 0);

/// The figures of one file argument, read as readStatsInput reads it with
/// the command's column and calculated at its sigma; nullopt when it gives
/// none. Notes on the reading and the reason for no figures go to `errors`,
/// each line "vorla: NAME: ...". When `withoutNumber` is given, the items
/// without a number go there by index instead of into the notes.
std::optional<stats::StatisticsFigures> readFigures(const std::string &argument,
                                                    const std::string &name,
                                                    const CommandLine &command,
                                                    std::ostream &errors,
                                                    std::vector<std::size_t> *withoutNumber = nullptr);

/// Runs the batch over `command.files` in order. Results go to `out` (the
/// table or JSON of StatsOutput.h), one line per problem to `errors`, in the
/// form "vorla: FILE: reason". A file that is refused, empty, or beyond the
/// calculation's range gives no result but does not stop the others.
/// Items a calculation read as 0 or only in part are named on `errors` by
/// their line numbers, as the window's note says it; they change no status.
/// With --type, the JSON gives each file's control chart; a file whose chart
/// is refused gets null, its reason on `errors`, and status 1. With --upper
/// or --lower, each file's capability joins its line (table) or object
/// ("capability"). A file ending in .vorla is a control-chart sheet: the
/// JSON gives its phases, signals and capability (SheetOutput.h); a sheet
/// that is refused, or asked for as a table, gives its reason and status 1.
/// Returns the exit status: 0 when every file gave a result and everything
/// was written, 1 otherwise.
int runStats(const CommandLine &command, std::ostream &out, std::ostream &errors);

} // namespace cli
