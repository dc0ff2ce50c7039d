#include "Statistics.h"

#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace stats {

namespace {

// True when the text starts with a decimal number spelled in plain ASCII with
// at most 15 significant mantissa digits ("&H" forms never are). A normal
// double read from such a text comes back unchanged when written with 15
// digits and read again.
bool spelledInFifteenDigits(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    int significant = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (significant > 0 || c != '0')
                ++significant;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    // A blank or non-ASCII byte where the digits stop might join more digits.
    if (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n'
                            || static_cast<unsigned char>(text[i]) >= 0x80))
        return false;
    return digits > 0 && significant <= 15;
}

// What numberToText(value) reads back as: the value at 15 significant digits.
// Written into a local buffer, so it allocates nothing.
double readBackAtFifteenDigits(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    return parseValueText(std::string_view(buffer.data(), result.ptr - buffer.data()));
}

double sigmaFactor(std::string_view choice)
{
    if (choice == "3\xCF\x83")
        return 3.0;
    if (choice == "2\xCF\x83")
        return 2.0;
    if (choice == "1\xCF\x83")
        return 1.0;
    return 0.0;
}

// The current maximum or minimum: item 0's text until a value replaces it.
// Only the replacing item's index is kept; its text is written at the end.
//
// A new value is compared with the current text read as a number. For a
// replacing value that is its 15-digit rounding, which lies within 5.2e-15
// of the value (relative) when the value is normal. So the rounding is only
// worked out when a new value comes that close, and even then a value read
// from a text of at most 15 digits is known to be its own rounding.
class Extreme
{
public:
    explicit Extreme(double first) : m_value(first), m_shown(first) {}

    // Whether v lies beyond the current text: above it for the maximum
    // (upward), below it for the minimum.
    bool passedBy(double v, bool upward, const std::vector<std::string> &items)
    {
        if (!m_shownKnown) {
            if (std::isnormal(m_value)) {
                const double margin = std::abs(m_value) * 1e-14;
                if (v > m_value + margin)
                    return upward;
                if (v < m_value - margin)
                    return !upward;
            }
            const bool exact = std::isnormal(m_value)
                               && spelledInFifteenDigits(items[static_cast<std::size_t>(m_replacedBy)]);
            m_shown = exact ? m_value : readBackAtFifteenDigits(m_value);
            m_shownKnown = true;
        }
        return upward ? m_shown < v : m_shown > v;
    }

    void replace(double v, std::size_t index)
    {
        m_value = v;
        m_shownKnown = false;
        m_replacedBy = static_cast<std::ptrdiff_t>(index);
    }

    std::string text(const std::vector<std::string> &items) const
    {
        return m_replacedBy < 0 ? items[0] : numberToText(m_value);
    }

private:
    double m_value;             // item 0's reading, or the value that replaced it
    double m_shown;             // the current text read as a number, once known
    bool m_shownKnown = true;   // item 0's text reads as item 0's value
    std::ptrdiff_t m_replacedBy = -1;
};

} // namespace

FiguresOutcome calculateFigures(const std::vector<std::string> &items,
                                std::string_view sigmaChoice)
{
    const std::size_t n = items.size();
    if (n == 0)
        return StatisticsError::EmptyList;

    StatisticsFigures figures;
    std::vector<double> &x = figures.values;
    x.reserve(n);
    const double first = parseValueText(items[0]);
    Extreme maximum(first);
    Extreme minimum(first);
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double value = parseValueText(items[i]);
        x.push_back(value);
        if (!std::isfinite(value))
            return StatisticsError::OutOfRange;
        if (maximum.passedBy(value, true, items))
            maximum.replace(value, i);
        if (minimum.passedBy(value, false, items))
            minimum.replace(value, i);
        sum += value;
    }
    if (!std::isfinite(sum))
        return StatisticsError::OutOfRange;

    const double count = static_cast<double>(n);
    const double mean = sum / count;
    if (!std::isfinite(cutToTwoDecimals(mean)))
        return StatisticsError::OutOfRange;

    double squares = 0.0;
    for (const double value : x) {
        const double deviation = value - mean;
        squares += deviation * deviation;
    }
    if (!std::isfinite(squares))
        return StatisticsError::OutOfRange;
    const double reciprocal = 1.0 / count;
    const double sigma = std::sqrt(squares * reciprocal);

    const double k = sigmaFactor(sigmaChoice);
    const double upper = mean + (k * sigma);
    const double lower = mean - (k * sigma);
    if (!std::isfinite(sigma) || !std::isfinite(upper) || !std::isfinite(lower))
        return StatisticsError::OutOfRange;

    for (const double value : x) {
        if (value > upper)
            ++figures.aboveCount;
        if (value < lower)
            ++figures.belowCount;
    }
    figures.mean = mean;
    figures.sigma = sigma;
    figures.k = k;
    figures.upperLimit = upper;
    figures.lowerLimit = lower;
    figures.maximum = maximum.text(items);
    figures.minimum = minimum.text(items);
    return figures;
}

StatisticsTexts statisticsTexts(const StatisticsFigures &figures)
{
    const auto total = static_cast<std::int64_t>(figures.values.size());
    StatisticsTexts texts;
    texts.count = integerToText(total);
    texts.mean = numberToText(cutToTwoDecimals(figures.mean));
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

} // namespace stats
