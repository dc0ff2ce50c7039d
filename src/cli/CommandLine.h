#pragma once

// Vorla's command line. `vorla [FILE...]` starts the window with the files
// opened; `vorla --stats [--sigma K] [--column N] [--json [--type T]] FILE...` prints the
// results of each file without any window, "-" standing for standard input;
// `vorla --chart FILE -o OUT.png|OUT.pdf [--type T] ...` draws the chart
// window's picture of one file into OUT. The line is read before any Qt
// application exists, so that the batch forms never need a display.

#include "stats/ChartType.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// The file argument that stands for standard input.
inline constexpr std::string_view kStandardInput = "-";

enum class Mode {
    Window,  ///< start the window, opening `files` in order
    Stats,   ///< print the results of each of `files`
    Chart,   ///< draw the chart of `files[0]` into `output`
    Help,    ///< print the help text
    Version, ///< print the program's version
    Error,   ///< the line is wrong; `error` says how
};

enum class Format {
    Table, ///< tab-separated, with a header line
    Json,  ///< one JSON array of objects
};

/// The first and the last subgroup size --subgroup takes.
inline constexpr int kSmallestSubgroup = 2;
inline constexpr int kLargestSubgroup = 10;

struct CommandLine
{
    Mode mode = Mode::Window;
    std::string sigma = "3σ"; ///< the sigma choice, exactly as the drop-down holds it
    Format format = Format::Table;
    /// --column N: the column of a table file to read, from 1; 0 when not
    /// given (the column the window would preselect is read).
    std::size_t column = 0;
    stats::ChartType chartType = stats::ChartType::Run; ///< --type
    bool chartTypeGiven = false;          ///< --type was given
    int subgroupSize = 5;                 ///< --subgroup: of the X̄-R chart, 2..10
    bool subgroupGiven = false;           ///< --subgroup was given
    std::optional<double> upper;          ///< --upper: 規格上限, read as the chart window reads it (both batches)
    std::optional<double> lower;          ///< --lower: 規格下限
    std::string output;                   ///< -o: the picture's path, ending .png or .pdf
    bool portrait = false;                ///< --portrait: the PDF record on A4 portrait pages
    std::vector<std::string> files; ///< as given, in order
    std::string error;              ///< Mode::Error only
};

/// Reads the arguments after the program's name. Options and files may come
/// in any order; "--" ends the options, so later arguments are files even
/// when they start with '-'. "--opt=value" is the same as "--opt value".
/// --help (-h) and --version answer at once, whatever follows them; before
/// them, the first wrong argument wins. "-" is a file (standard input, to
/// --stats and --chart), which --stats takes at most once. Each batch option
/// belongs to --stats, to --chart or to both; --type goes with --stats only
/// beside --json (a table has no columns for the charts), and --subgroup
/// only with --type xbar-r. --chart takes exactly one file and -o;
/// --portrait only with a PDF.
///   {"a.txt", "b.txt"}                  -> Window, files a.txt b.txt
///   {"--stats", "--sigma", "2", "a.txt"} -> Stats, sigma "2σ"
///   {"--json", "a.txt"}                 -> Error (--json without --stats)
///   {"--stats", "-", "-"}                -> Error (standard input twice)
///   {"--chart", "a.txt", "-o", "a.png"}  -> Chart, run chart into a.png
///   {"--stats", "--type", "xrs", "a.txt"} -> Error (--type without --json)
CommandLine parseCommandLine(const std::vector<std::string> &args);

/// The sigma choice of a --sigma text: "3", "2" or "1", each with or without
/// a trailing "σ" (U+03C3), gives "3σ", "2σ" or "1σ"; anything else gives "".
std::string sigmaChoice(std::string_view text);

/// The column number of a --column text: ASCII digits only, 1 or more, up
/// to 1,000,000; 0 for anything else ("0", "-1", "+2", "2.0", "", "x").
std::size_t columnNumber(std::string_view text);

/// The chart of a --type text: "run", "xrs" or "xbar-r"; nullopt for
/// anything else (case matters).
std::optional<stats::ChartType> chartKind(std::string_view text);

/// The --type text of a chart kind: chartKind(chartKindName(k)) == k.
std::string_view chartKindName(stats::ChartType kind);

/// Whether an -o path names a format --chart writes: it ends in ".png" or
/// ".pdf", in any case ("a.PNG" too), after at least one other character.
bool isChartOutputPath(std::string_view path);

/// Whether an -o path asks for the record: it ends in ".pdf", in any case.
bool isRecordPath(std::string_view path);

/// The usage line printed after a wrong command line.
std::string usageText();

/// The --help text.
std::string helpText();

} // namespace cli
