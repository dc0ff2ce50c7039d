#include "print/Report.h"

namespace report {

namespace {

constexpr std::string_view kEntryGap = "   ";
constexpr std::size_t kEntriesPerLine = 10;

} // namespace

std::vector<std::string> composeReport(const std::vector<std::string> &scratchLines,
                                       const BoxTexts &boxes)
{
    std::vector<std::string> lines;
    std::string current;
    std::size_t onLine = 0;
    for (const std::string &entry : scratchLines) {
        current += entry;
        current += kEntryGap;
        if (++onLine == kEntriesPerLine) {
            lines.push_back(std::move(current));
            current.clear();
            onLine = 0;
        }
    }
    // The closing space goes onto the unfinished line, or makes a line of
    // its own when the last entry filled its line (or there were none).
    current += ' ';
    lines.push_back(std::move(current));

    // Ideographic spaces (U+3000) pad the labels; each counts two columns.
    lines.push_back(" 　　　データ数  　　" + boxes.count);
    lines.push_back("   　　　平均        " + boxes.mean);
    lines.push_back(" 　　　標準偏差      " + boxes.standardDeviation);
    lines.push_back("  　　　 上限        " + boxes.upperLimit);
    lines.push_back("  　　　 下限        " + boxes.lowerLimit);
    lines.push_back(" 上限から溢れたデータ " + boxes.aboveCount + " (" + boxes.abovePercent + "%)");
    lines.push_back(" 下限から溢れたデータ " + boxes.belowCount + " (" + boxes.belowPercent + "%)");
    lines.push_back("        最大値       " + boxes.maximum);
    lines.push_back("        最小値       " + boxes.minimum);
    return lines;
}

bool printReport(const std::vector<std::string> &lines, ReportPrinter &printer)
{
    for (const std::string &line : lines) {
        printer.printText(line);
        printer.endLine();
    }
    return printer.endDocument();
}

} // namespace report
