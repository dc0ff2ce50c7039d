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
// count is the number of items.

#include "FuzzCheck.h"

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

constexpr std::size_t kMaxItems = 32767;

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
    const double cut = stats::cutToTwoDecimals(mean);
    if (!std::isfinite(sum) || !std::isfinite(cut))
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
                           stats::numberToText(cut),
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
    while (provider.remaining_bytes() > 0 && items.size() < kMaxItems)
        items.push_back(provider.ConsumeRandomLengthString(24));

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
