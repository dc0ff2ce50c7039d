#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace report {

/// The texts of the result boxes as the print command finds them, in the
/// order of the boxes' designer names (Text2 ... Text12). They are printed as
/// they stand: whatever a box shows, a calculated result or text the user
/// typed, goes on paper unchanged.
struct BoxTexts
{
    std::string mean;              // Text2
    std::string standardDeviation; // Text3
    std::string upperLimit;        // Text4
    std::string lowerLimit;        // Text5
    std::string aboveCount;        // Text6: values above the upper limit
    std::string abovePercent;      // Text7: their share in percent
    std::string belowCount;        // Text8: values below the lower limit
    std::string belowPercent;      // Text9: their share in percent
    std::string count;             // Text10: number of values
    std::string maximum;           // Text11
    std::string minimum;           // Text12
};

/// The printed lines of the report, top to bottom, without line ends (UTF-8).
///
/// First the scratch file's lines, each followed by three spaces, ten to a
/// printed line; after the last entry one space ends the section's line. So
/// {"1", "2", "3"} gives "1   2   3    " (the section line ends in four
/// spaces), ten entries give their line ending in three spaces followed by a
/// line holding " ", and no entries give just " ". An empty line is an entry
/// like any other and prints as three spaces.
///
/// Then nine labelled lines, each label directly followed by its box texts:
/// the count, mean, standard deviation, upper and lower limit, the two
/// "beyond" lines as "<count> (<percent>%)", maximum and minimum. The labels
/// are padded with half-width and ideographic spaces (U+3000) so that, in a
/// fixed-pitch font where a full-width character takes two columns, the
/// values of all lines but the two "beyond" lines start in column 22.
std::vector<std::string> composeReport(const std::vector<std::string> &scratchLines,
                                       const BoxTexts &boxes);

/// The columns a code point takes in a fixed-pitch font: 2 for East Asian
/// Wide and Fullwidth characters (漢字, かな, full-width forms such as "１"
/// and the ideographic space U+3000), 0 for combining marks and zero-width
/// characters, 1 for everything else, half-width katakana ("ｱ", U+FF71)
/// included.
int codePointColumns(char32_t codePoint);

/// The columns a UTF-8 text takes, summed over its code points:
///   "12.5" -> 4   "１２．５" -> 8   "ｱｲｳ" -> 3   "表ｿ1" -> 4   "" -> 0
/// A byte that does not start a valid sequence counts one column.
int displayColumns(std::string_view text);

/// Where the report goes: a printer that takes text line by line. Text is
/// UTF-8.
class ReportPrinter
{
public:
    virtual ~ReportPrinter() = default;
    /// Prints text at the current position of the current printed line.
    virtual void printText(std::string_view text) = 0;
    /// Ends the printed line; the next text starts at the left margin below.
    virtual void endLine() = 0;
    /// Ends the document and releases it to the printer. False when the
    /// printer refused it; nothing has been sent then.
    virtual bool endDocument() = 0;
};

/// Prints each line and ends it, then ends the document. Returns what
/// endDocument() answered.
bool printReport(const std::vector<std::string> &lines, ReportPrinter &printer);

} // namespace report
