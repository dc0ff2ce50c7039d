#include "print/Report.h"

namespace report {

namespace {

constexpr std::string_view kEntryGap = "   ";
constexpr std::size_t kEntriesPerLine = 10;

struct Range
{
    char32_t first, last;
};

// East Asian Wide (W) and Fullwidth (F) blocks of Unicode 15, folded into
// whole ranges where the gaps hold unassigned code points only.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x3247},   {0x3250, 0x4DBF},   {0x4E00, 0xA4CF},   {0xA960, 0xA97F},
    {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF01, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A},
    {0x1F200, 0x1F251}, {0x1F260, 0x1F265}, {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF},
    {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
};

// Combining marks and zero-width characters: they take no column of their own.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F}, {0x200B, 0x200F}, {0x2060, 0x2064}, {0x20D0, 0x20FF},
    {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
    {0xE0100, 0xE01EF},
};

template <std::size_t N>
bool within(const Range (&ranges)[N], char32_t c)
{
    for (const Range &r : ranges)
        if (c >= r.first && c <= r.last)
            return true;
    return false;
}

} // namespace

int codePointColumns(char32_t codePoint)
{
    if (within(kZeroWidth, codePoint))
        return 0;
    return within(kWide, codePoint) ? 2 : 1;
}

int displayColumns(std::string_view text)
{
    int columns = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length == 1 || i + length > text.size()) {
            ++columns; // ASCII, or a stray byte
            ++i;
            continue;
        }
        char32_t c = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        columns += codePointColumns(c);
        i += length;
    }
    return columns;
}

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
