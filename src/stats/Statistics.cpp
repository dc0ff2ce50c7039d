#include "stats/Statistics.h"

#include "stats/NumberReading.h"
#include "stats/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>

namespace stats {

namespace {

// The digit that starts a sigma choice, half- or full-width, as 1 to 3; 0
// for anything else. Moves `text` past it.
int takeSigmaDigit(std::string_view &text)
{
    for (int k = 1; k <= 3; ++k) {
        const char half[] = {static_cast<char>('0' + k), '\0'};
        const char full[] = {'\xEF', '\xBC', static_cast<char>('\x90' + k), '\0'};
        for (const std::string_view digit : {std::string_view(half), std::string_view(full)}) {
            if (text.starts_with(digit)) {
                text.remove_prefix(digit.size());
                return k;
            }
        }
    }
    return 0;
}

// An input method writes the choice as "２", "２σ", "２Σ" or "2 σ": a digit,
// then nothing, or blanks (U+0020, U+3000) and a small or capital sigma.

// The maximum or minimum box. It starts as item 0's text; an item replaces
// it when the box text, read as a number, lies strictly below the item's
// value (maximum) or strictly above it (minimum), and the box then shows
// numberToText(value). The box text's reading is kept beside it, worked out
// once per replacement, so no comparison reads a text again.
//
// Reading back numberToText(value) gives the value rounded to 15 significant
// digits. For a normal value read from a decimal text of at most 15
// significant digits that rounding is the value itself (any such decimal
// survives the trip through a double and back), so the read-back is only
// done for other values. Sorted input replaces an extreme at every item,
// and this keeps each replacement as cheap as a comparison.
class Extreme
{
public:
    Extreme(double firstReading, bool keepsLargest)
        : m_keepsLargest(keepsLargest), m_shown(firstReading)
    {}

    void offer(const ValueReading &item)
    {
        const double v = item.value;
        if (!(m_keepsLargest ? m_shown < v : m_shown > v))
            return;
        m_replaced = true;
        m_value = v;
        m_shown = item.fifteenDigitDecimal && std::isnormal(v) ? v : parseValueText(numberToText(v));
    }

    // The box text is only written once the list is through.
    std::string text(const std::vector<std::string> &items) const
    {
        return m_replaced ? numberToText(m_value) : items[0];
    }

private:
    bool m_keepsLargest;
    double m_shown;           // the box text read as a number
    bool m_replaced = false;  // false: the box still shows item 0's text
    double m_value = 0.0;     // the value whose text the box shows, once replaced
};

void noteLooseReading(LooseReadings &loose, std::size_t index, const ValueReading &reading)
{
    if (!reading.holdsNumber)
        loose.withoutNumber.push_back(index);
    else if (reading.textAfter)
        loose.partlyRead.push_back(index);
    else if (reading.blanksInside)
        loose.blanksInside.push_back(index);
}

// The first pass: reads every item into figures.values and fills the
// maximum and minimum boxes. Returns the values' sum, or std::nullopt at the
// first value beyond the double range.
std::optional<double> readItems(const std::vector<std::string> &items, StatisticsFigures &figures)
{
    figures.values.reserve(items.size());
    const double first = parseValueText(items[0]);
    Extreme maximum(first, true);
    Extreme minimum(first, false);
    double sum = 0.0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ValueReading reading = readValueText(items[i]);
        noteLooseReading(figures.loose, i, reading);
        figures.values.push_back(reading.value);
        if (!std::isfinite(reading.value))
            return std::nullopt;
        maximum.offer(reading);
        minimum.offer(reading);
        sum += reading.value;
    }
    figures.maximum = maximum.text(items);
    figures.minimum = minimum.text(items);
    return sum;
}

// A value equal to a limit is not beyond it.
void countBeyondLimits(StatisticsFigures &figures)
{
    for (const double value : figures.values) {
        if (value > figures.upperLimit)
            ++figures.aboveCount;
        if (value < figures.lowerLimit)
            ++figures.belowCount;
    }
}

} // namespace

int sigmaMultiple(std::string_view choice)
{
    const int k = takeSigmaDigit(choice);
    if (k == 0 || choice.empty())
        return k;
    for (;;) {
        if (choice.starts_with(' '))
            choice.remove_prefix(1);
        else if (choice.starts_with("\xE3\x80\x80")) // U+3000
            choice.remove_prefix(3);
        else
            break;
    }
    const bool sigma = choice == "\xCF\x83" || choice == "\xCE\xA3"; // σ U+03C3, Σ U+03A3
    return sigma ? k : 0;
}

double sumOfSquaredDeviations(const std::vector<double> &values, double mean)
{
    double squares = 0.0;
    for (const double value : values) {
        const double deviation = value - mean;
        squares += deviation * deviation;
    }
    return squares;
}

FiguresOutcome calculateFigures(const std::vector<std::string> &items,
                                std::string_view sigmaChoice)
{
    if (items.empty())
        return StatisticsError::EmptyList;
    StatisticsFigures figures;
    const std::optional<double> sum = readItems(items, figures);
    if (!sum || !std::isfinite(*sum))
        return StatisticsError::OutOfRange;

    const double count = static_cast<double>(items.size());
    const double mean = *sum / count;
    if (!std::isfinite(roundToTwoDecimals(mean)))
        return StatisticsError::OutOfRange;
    const double squares = sumOfSquaredDeviations(figures.values, mean);
    if (!std::isfinite(squares))
        return StatisticsError::OutOfRange;
    const double sigma = std::sqrt(squares * (1.0 / count));

    const double k = sigmaMultiple(sigmaChoice);
    const double upper = mean + (k * sigma);
    const double lower = mean - (k * sigma);
    if (!std::isfinite(sigma) || !std::isfinite(upper) || !std::isfinite(lower))
        return StatisticsError::OutOfRange;

    figures.mean = mean;
    figures.sigma = sigma;
    figures.k = k;
    figures.upperLimit = upper;
    figures.lowerLimit = lower;
    countBeyondLimits(figures);
    return figures;
}

StatisticsTexts statisticsTexts(const StatisticsFigures &figures)
{
    const auto total = static_cast<std::int64_t>(figures.values.size());
    StatisticsTexts texts;
    texts.count = integerToText(total);
    texts.mean = numberToText(roundToTwoDecimals(figures.mean));
    texts.standardDeviation = formatResult(figures.sigma);
    texts.upperLimit = formatResult(figures.upperLimit);
    texts.lowerLimit = formatResult(figures.lowerLimit);
    texts.aboveCount = integerToText(figures.aboveCount);
    texts.abovePercent = numberToText(wholePercent(figures.aboveCount, total));
    texts.belowCount = integerToText(figures.belowCount);
    texts.belowPercent = numberToText(wholePercent(figures.belowCount, total));
    texts.maximum = figures.maximum;
    texts.minimum = figures.minimum;
    return texts;
}

StatisticsOutcome calculateStatistics(const std::vector<std::string> &items,
                                      std::string_view sigmaChoice)
{
    FiguresOutcome figures = calculateFigures(items, sigmaChoice);
    if (const auto *error = std::get_if<StatisticsError>(&figures))
        return *error;
    return statisticsTexts(std::get<StatisticsFigures>(figures));
}

LooseReadings looseReadings(const std::vector<std::string> &items)
{
    LooseReadings loose;
    for (std::size_t i = 0; i < items.size(); ++i)
        noteLooseReading(loose, i, readValueText(items[i]));
    return loose;
}

std::vector<std::size_t> LooseReadings::all() const
{
    std::vector<std::size_t> two;
    two.reserve(withoutNumber.size() + partlyRead.size());
    std::merge(withoutNumber.begin(), withoutNumber.end(), partlyRead.begin(), partlyRead.end(),
               std::back_inserter(two));
    std::vector<std::size_t> every;
    every.reserve(two.size() + blanksInside.size());
    std::merge(two.begin(), two.end(), blanksInside.begin(), blanksInside.end(),
               std::back_inserter(every));
    return every;
}

} // namespace stats
