#pragma once

// Vorla's command line. `vorla [FILE...]` starts the window with the files
// opened; `vorla --stats [--sigma K] [--column N] [--json] FILE...` prints the results of
// each file without any window, "-" standing for standard input. The line is read before any Qt application
// exists, so that the batch form never needs a display.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// The file argument that stands for standard input.
inline constexpr std::string_view kStandardInput = "-";

enum class Mode {
    Window,  ///< start the window, opening `files` in order
    Stats,   ///< print the results of each of `files`
    Help,    ///< print the help text
    Version, ///< print the program's version
    Error,   ///< the line is wrong; `error` says how
};

enum class Format {
    Table, ///< tab-separated, with a header line
    Json,  ///< one JSON array of objects
};

struct CommandLine
{
    Mode mode = Mode::Window;
    std::string sigma = "3σ"; ///< the sigma choice, exactly as the drop-down holds it
    Format format = Format::Table;
    /// --column N: the column of a table file to read, from 1; 0 when not
    /// given (the column the window would preselect is read).
    std::size_t column = 0;
    std::vector<std::string> files; ///< as given, in order
    std::string error;              ///< Mode::Error only
};

/// Reads the arguments after the program's name. Options and files may come
/// in any order; "--" ends the options, so later arguments are files even
/// when they start with '-'. "--opt=value" is the same as "--opt value".
/// --help (-h) and --version answer at once, whatever follows them; before
/// them, the first wrong argument wins. "-" is a file (standard input, to
/// --stats), which --stats takes at most once.
///   {"a.txt", "b.txt"}                  -> Window, files a.txt b.txt
///   {"--stats", "--sigma", "2", "a.txt"} -> Stats, sigma "2σ"
///   {"--json", "a.txt"}                 -> Error (--json without --stats)
///   {"--stats", "-", "-"}                -> Error (standard input twice)
CommandLine parseCommandLine(const std::vector<std::string> &args);

/// The sigma choice of a --sigma text: "3", "2" or "1", each with or without
/// a trailing "σ" (U+03C3), gives "3σ", "2σ" or "1σ"; anything else gives "".
std::string sigmaChoice(std::string_view text);

/// The column number of a --column text: ASCII digits only, 1 or more, up
/// to 1,000,000; 0 for anything else ("0", "-1", "+2", "2.0", "", "x").
std::size_t columnNumber(std::string_view text);

/// The usage line printed after a wrong command line.
std::string usageText();

/// The --help text.
std::string helpText();

} // namespace cli
