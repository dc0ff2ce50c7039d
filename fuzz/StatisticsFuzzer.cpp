// calculateStatistics over arbitrary item lists and sigma texts.
//
// The calculation keeps each item's reading, and reads the maximum and
// minimum texts back only when they are replaced, skipping even that for
// items spelled with at most 15 significant digits. This target runs the
// plain algorithm beside it (every item parsed, the extremes compared with
// their texts read again at each step) and wants the same eleven texts, or
// the same refusal.
// The sigma choice is read by a plain matcher of its own (sigmaMultiple).
// It also checks that no computed text says "inf" or "nan" and that the
// count is the number of items, and that looseReadings names exactly the
// items a step-by-step reading of its own finds not read whole: the text is
// first spelled in the ASCII characters its characters stand for, blanks
// left out, and then matched against the number's grammar one character at
// a time.

#include "FuzzCheck.h"

#include "files/ValueFile.h"
#include "stats/NumberText.h"
#include "stats/Statistics.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace {

using stats::StatisticsError;
using stats::StatisticsOutcome;
using stats::StatisticsTexts;

// The sigma choice by the plain rule: the whole text matched against every
// form it may take, a digit 1 to 3 (half- or full-width), then nothing, or
// blanks (U+0020, U+3000) and σ or Σ.
double sigmaMultiple(std::string_view choice)
{
    static const char *const kDigits[][2] = {{"1", "１"}, {"2", "２"}, {"3", "３"}};
    for (int k = 1; k <= 3; ++k) {
        for (const char *digit : kDigits[k - 1]) {
            if (choice == digit)
                return k;
            if (!choice.starts_with(digit))
                continue;
            std::string_view rest = choice.substr(std::string_view(digit).size());
            while (!rest.empty() && (rest.starts_with(" ") || rest.starts_with("　")))
                rest.remove_prefix(rest.starts_with(" ") ? 1 : std::string_view("　").size());
            if (rest == "σ" || rest == "Σ")
                return k;
        }
    }
    return 0;
}

StatisticsOutcome plainCalculation(const std::vector<std::string> &items, std::string_view choice)
{
    using stats::parseValueText;
    const std::size_t n = items.size();
    if (n == 0)
        return StatisticsError::EmptyList;
    std::string maximum = items[0];
    std::string minimum = items[0];
    double sum = 0;
    for (const std::string &item : items) {
        const double x = parseValueText(item);
        if (!std::isfinite(x))
            return StatisticsError::OutOfRange;
        if (parseValueText(maximum) < x)
            maximum = stats::numberToText(x);
        if (parseValueText(minimum) > x)
            minimum = stats::numberToText(x);
        sum = sum + x;
    }
    const double mean = sum / static_cast<double>(n);
    const double rounded = stats::roundToTwoDecimals(mean);
    if (!std::isfinite(sum) || !std::isfinite(rounded))
        return StatisticsError::OutOfRange;
    double squares = 0;
    for (const std::string &item : items) {
        const double deviation = parseValueText(item) - mean;
        squares = squares + deviation * deviation;
    }
    if (!std::isfinite(squares))
        return StatisticsError::OutOfRange;
    const double sigma = std::sqrt(squares * (1.0 / static_cast<double>(n)));
    const double k = sigmaMultiple(choice);
    const double upper = mean + k * sigma;
    const double lower = mean - k * sigma;
    if (!std::isfinite(upper) || !std::isfinite(lower))
        return StatisticsError::OutOfRange;
    std::int64_t above = 0;
    std::int64_t below = 0;
    for (const std::string &item : items) {
        if (parseValueText(item) > upper)
            ++above;
        if (parseValueText(item) < lower)
            ++below;
    }
    const auto total = static_cast<std::int64_t>(n);
    return StatisticsTexts{stats::integerToText(total),
                           stats::numberToText(rounded),
                           stats::formatResult(sigma),
                           stats::formatResult(upper),
                           stats::formatResult(lower),
                           stats::integerToText(above),
                           stats::numberToText(stats::wholePercent(above, total)),
                           stats::integerToText(below),
                           stats::numberToText(stats::wholePercent(below, total)),
                           maximum,
                           minimum};
}

// ---- the independent reading of how much of an item is a number ----------

constexpr char kStranger = '\x01'; // a character no number uses

// What a character stands for in a number, from the forms the entry box
// takes: full-width digits, signs, point and exponent letters, the minus
// signs and dashes an input method or a paste brings, '。' and '、'.
char standsFor(char32_t c)
{
    if (c >= 0xFF10 && c <= 0xFF19)
        return static_cast<char>('0' + (c - 0xFF10));
    switch (c) {
    case 0x3000: return ' ';
    case 0xFF0B: case 0xFE62: return '+';
    case 0xFF0D: case 0x2212: case 0x30FC: case 0xFF70: case 0x2010: case 0x2011:
    case 0x2012: case 0x2013: case 0x2014: case 0x2015: case 0xFE63: return '-';
    case 0xFF0E: case 0x3002: case 0xFF61: return '.';
    case 0x3001: case 0xFF64: return ',';
    case 0xFF25: return 'E';
    case 0xFF45: return 'e';
    default: return kStranger;
    }
}

// The text as ASCII, one character for each of its characters, blanks left
// out. Only three-byte sequences can stand for a number's character; any
// other byte stands for itself when ASCII and for a stranger otherwise.
std::string spelledOut(std::string_view text, bool keepBlanks = false)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        char c = kStranger;
        std::size_t width = 1;
        if (b0 < 0x80) {
            c = static_cast<char>(b0);
        } else if (b0 >= 0xE0 && b0 <= 0xEF && i + 2 < text.size()
                   && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80
                   && (static_cast<unsigned char>(text[i + 2]) & 0xC0) == 0x80) {
            const char32_t cp = (char32_t(b0 & 0x0F) << 12)
                                | (char32_t(static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6)
                                | (static_cast<unsigned char>(text[i + 2]) & 0x3F);
            c = standsFor(cp);
            width = 3;
        }
        if (c != ' ' && c != '\t' && c != '\n')
            out.push_back(c);
        else if (keepBlanks)
            out.push_back(' ');
        i += width;
    }
    return out;
}

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool isRadixDigit(char c, bool hex)
{
    if (!hex)
        return c >= '0' && c <= '7';
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// How much of the spelled-out text the number's grammar takes:
// [+-]digits[.digits][(E|e)[+-]digits] with a mantissa digit, or &H / &O
// with a digit of its base. NoNumber when it takes nothing.
stats::ReadingExtent stepByStep(const std::string &s)
{
    std::size_t i = 0;
    if (!s.empty() && s[0] == '&') {
        if (s.size() < 2)
            return stats::ReadingExtent::NoNumber;
        const char letter = s[1];
        const bool hex = letter == 'H' || letter == 'h';
        if (!hex && letter != 'O' && letter != 'o')
            return stats::ReadingExtent::NoNumber;
        for (i = 2; i < s.size() && isRadixDigit(s[i], hex); ++i) {
        }
        if (i == 2)
            return stats::ReadingExtent::NoNumber;
        return i == s.size() ? stats::ReadingExtent::Whole : stats::ReadingExtent::Partial;
    }
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < s.size() && isDecimalDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDecimalDigit(s[i]); ++i)
            ++digits;
    if (digits == 0)
        return stats::ReadingExtent::NoNumber;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDecimalDigit(s[j])) {
            while (j < s.size() && isDecimalDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i == s.size() ? stats::ReadingExtent::Whole : stats::ReadingExtent::Partial;
}

std::string listed(const std::vector<std::size_t> &indexes)
{
    std::string out;
    for (const std::size_t i : indexes)
        out += std::to_string(i) + ' ';
    return out;
}

// Whether a text read whole has blanks between its number's characters: any
// blank left once the blanks around the text, the sign and the blanks after
// the sign are passed over. "&H" numbers are not told.
bool blanksInsideNumber(std::string_view item)
{
    std::string s = spelledOut(item, true);
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return false;
    s = s.substr(first, s.find_last_not_of(' ') - first + 1);
    if (s.front() == '&')
        return false;
    if (s.front() == '+' || s.front() == '-')
        s.erase(0, s.find_first_not_of(' ', 1));
    return s.find(' ') != std::string::npos;
}

void checkLooseReadings(const std::vector<std::string> &items)
{
    const stats::LooseReadings loose = stats::looseReadings(items);
    std::vector<std::size_t> withoutNumber;
    std::vector<std::size_t> partlyRead;
    std::vector<std::size_t> blanksInside;
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const stats::ReadingExtent expected = stepByStep(spelledOut(items[i]));
        if (stats::readingOf(items[i]) != expected)
            fuzz::fail("readingOf differs from the step-by-step reading", items[i]);
        if (expected == stats::ReadingExtent::NoNumber) {
            fuzz::check(stats::parseValueText(items[i]) == 0.0,
                        "text without a number does not read as 0", items[i]);
            withoutNumber.push_back(i);
        } else if (expected == stats::ReadingExtent::Partial) {
            partlyRead.push_back(i);
        }
        const bool joined = expected == stats::ReadingExtent::Whole && blanksInsideNumber(items[i]);
        if (joined)
            blanksInside.push_back(i);
        if (expected != stats::ReadingExtent::Whole || joined)
            all.push_back(i);
    }
    fuzz::check(loose.blanksInside == blanksInside, "items with blanks inside differ",
                listed(loose.blanksInside) + "expected " + listed(blanksInside));
    fuzz::check(loose.withoutNumber == withoutNumber, "items without a number differ",
                listed(loose.withoutNumber) + "expected " + listed(withoutNumber));
    fuzz::check(loose.partlyRead == partlyRead, "partly read items differ",
                listed(loose.partlyRead) + "expected " + listed(partlyRead));
    fuzz::check(loose.all() == all && loose.empty() == all.empty(),
                "the items not read whole differ", listed(loose.all()) + "expected " + listed(all));
}

std::string joined(const StatisticsTexts &t)
{
    std::string out;
    for (const std::string *s : {&t.count, &t.mean, &t.standardDeviation, &t.upperLimit,
                                 &t.lowerLimit, &t.aboveCount, &t.abovePercent, &t.belowCount,
                                 &t.belowPercent, &t.maximum, &t.minimum})
        out += *s + " | ";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    static const char *const kChoices[] = {"3σ", "2σ", "1σ", "２", "２Σ", "2 σ", "１　σ"};
    constexpr unsigned kChoiceCount = sizeof kChoices / sizeof kChoices[0];
    const auto pick = provider.ConsumeIntegralInRange<unsigned>(0, kChoiceCount);
    const std::string choice = pick < kChoiceCount ? std::string(kChoices[pick])
                                                   : provider.ConsumeRandomLengthString(8);
    std::vector<std::string> items;
    while (provider.remaining_bytes() > 0 && items.size() < files::kMaxListItems)
        items.push_back(provider.ConsumeRandomLengthString(24));

    checkLooseReadings(items);
    const StatisticsOutcome outcome = stats::calculateStatistics(items, choice);
    const StatisticsOutcome expected = plainCalculation(items, choice);
    if (std::holds_alternative<StatisticsError>(outcome)) {
        fuzz::check(std::holds_alternative<StatisticsError>(expected)
                        && std::get<StatisticsError>(expected) == std::get<StatisticsError>(outcome),
                    "refused where the plain calculation was not",
                    std::holds_alternative<StatisticsTexts>(expected)
                        ? joined(std::get<StatisticsTexts>(expected)) : std::string());
        return 0;
    }
    const auto &texts = std::get<StatisticsTexts>(outcome);
    fuzz::check(std::holds_alternative<StatisticsTexts>(expected),
                "calculated where the plain calculation refused", joined(texts));
    if (!(texts == std::get<StatisticsTexts>(expected)))
        fuzz::fail("texts differ from the plain calculation",
                   joined(texts) + " expected " + joined(std::get<StatisticsTexts>(expected)));
    fuzz::check(texts.count == std::to_string(items.size()), "count is not n", texts.count);
    for (const std::string *computed :
         {&texts.mean, &texts.standardDeviation, &texts.upperLimit, &texts.lowerLimit,
          &texts.aboveCount, &texts.abovePercent, &texts.belowCount, &texts.belowPercent})
        fuzz::check(!computed->empty() && !fuzz::mentionsInfOrNan(*computed),
                    "a computed text is empty or says inf/nan", joined(texts));
    for (const std::string *extreme : {&texts.maximum, &texts.minimum})
        fuzz::check(*extreme == items[0] || !fuzz::mentionsInfOrNan(*extreme),
                    "a replaced extreme says inf/nan", joined(texts));
    return 0;
}
