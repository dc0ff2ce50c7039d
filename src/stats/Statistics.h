#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace stats {

/// The texts of the eleven result boxes, each already in its display form.
struct StatisticsTexts
{
    std::string count;             // number of values
    std::string mean;              // the mean rounded to two decimals, plain form
    std::string standardDeviation; // population sigma, result pattern
    std::string upperLimit;        // mean + k sigma, result pattern
    std::string lowerLimit;        // mean - k sigma, result pattern
    std::string aboveCount;        // values strictly above the upper limit
    std::string abovePercent;      // their whole percent
    std::string belowCount;        // values strictly below the lower limit
    std::string belowPercent;      // their whole percent
    std::string maximum;           // item 0's text, or the larger value that replaced it
    std::string minimum;           // item 0's text, or the smaller value that replaced it

    bool operator==(const StatisticsTexts &) const = default;
};

/// Why no result could be formed.
enum class StatisticsError {
    EmptyList,  // no items: nothing to average
    OutOfRange, // a value, sum, square or limit lies beyond the double range
};

/// The numbers behind the result boxes, before any of them is written as
/// text. The chart window draws these, so its picture always agrees with the
/// boxes.
/// The items the calculation does not read whole (readingOf), by their
/// index in list order: each reads as 0, as the number it starts with, or
/// as the number its digits make once the blanks between them are passed over.
struct LooseReadings
{
    std::vector<std::size_t> withoutNumber; // read as 0: no number at all
    std::vector<std::size_t> partlyRead;    // read up to text left over after the number
    std::vector<std::size_t> blanksInside;  // read whole, as if blanks inside the number were not there

    bool empty() const { return withoutNumber.empty() && partlyRead.empty() && blanksInside.empty(); }
    /// Every kind together, in list order.
    std::vector<std::size_t> all() const;
};

struct StatisticsFigures
{
    std::vector<double> values; // each item's reading, list order (text without a number: 0)
    double mean = 0.0;          // unrounded; the box shows it rounded to two decimals
    double sigma = 0.0;         // population standard deviation
    double k = 0.0;             // the sigma multiple chosen (0 for an unknown choice)
    double upperLimit = 0.0;    // mean + k sigma, unrounded
    double lowerLimit = 0.0;    // mean - k sigma, unrounded
    std::int64_t aboveCount = 0;
    std::int64_t belowCount = 0;
    std::string maximum;        // the maximum box's text
    std::string minimum;        // the minimum box's text
    LooseReadings loose;        // the items not read whole, found in the same pass
};

using StatisticsOutcome = std::variant<StatisticsTexts, StatisticsError>;
using FiguresOutcome = std::variant<StatisticsFigures, StatisticsError>;

/// The statistics of the item texts (list order) for the sigma choice's text.
///
/// Each item is read with parseValueText; text without a number counts as 0.
/// The sigma choice is a digit 1 to 3 (half- or full-width), alone or
/// followed by σ or Σ with any blanks (U+0020, U+3000) between: "3σ" and
/// "３" -> k = 3, "2 Σ" -> 2, "1σ" -> 1; anything else -> 0 ("3σ ", "4σ",
/// "σ", ""). Population standard deviation in two passes:
/// mean first, then the squared deviations, sigma = sqrt(Q * (1 / n)). The
/// limits mean +/- k * sigma are never rounded before counting; a value equal
/// to a limit is not beyond it. The maximum and minimum start as item 0's
/// own text and are replaced (strictly larger / smaller, compared with the
/// current text read again as a number) by the plain text of the value.
StatisticsOutcome calculateStatistics(const std::vector<std::string> &items,
                                      std::string_view sigmaChoice);

/// The same calculation, stopping before the texts: calculateStatistics is
/// statisticsTexts(calculateFigures(items, sigmaChoice)).
FiguresOutcome calculateFigures(const std::vector<std::string> &items,
                                std::string_view sigmaChoice);

/// Finds the items of a list that are not read whole.
LooseReadings looseReadings(const std::vector<std::string> &items);

/// The sigma multiple a sigma choice's text names, as the calculation reads
/// it: 1, 2 or 3, or 0 for a text that names none.
int sigmaMultiple(std::string_view choice);

/// The sum of (x - mean)^2 over the values: the second of the two passes
/// behind a standard deviation, which keeps its precision on values with a
/// large offset (1e9 + small deltas) where a sum of squares would not.
double sumOfSquaredDeviations(const std::vector<double> &values, double mean);

/// The eleven box texts of calculated figures.
StatisticsTexts statisticsTexts(const StatisticsFigures &figures);

} // namespace stats
