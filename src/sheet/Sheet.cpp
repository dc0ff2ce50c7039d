#include "sheet/Sheet.h"

#include "stats/Chart.h"
#include "stats/NumberReading.h"
#include "stats/NumberText.h"

#include <array>
#include <cmath>

namespace sheet {

namespace {

// JIS Z 9020-2's table, n = 2 to 25: A2 d2 d3 D4 | A3 c4 B3 B4 | D1 D2.
// The X̄-R columns stop at n = 10, where the table and the chart stop too.
constexpr std::array<Factors, 24> kFactors = {{
    {1.880, 1.128, 0.000, 3.267, 2.659, 0.7979, 0.000, 3.267, 0.000, 3.686},
    {1.023, 1.693, 0.000, 2.574, 1.954, 0.8862, 0.000, 2.568, 0.000, 4.358},
    {0.729, 2.059, 0.000, 2.282, 1.628, 0.9213, 0.000, 2.266, 0.000, 4.698},
    {0.577, 2.326, 0.000, 2.114, 1.427, 0.9400, 0.000, 2.089, 0.000, 4.918},
    {0.483, 2.534, 0.000, 2.004, 1.287, 0.9515, 0.030, 1.970, 0.000, 5.078},
    {0.419, 2.704, 0.076, 1.924, 1.182, 0.9594, 0.118, 1.882, 0.204, 5.204},
    {0.373, 2.847, 0.136, 1.864, 1.099, 0.9650, 0.185, 1.815, 0.388, 5.306},
    {0.337, 2.970, 0.184, 1.816, 1.032, 0.9693, 0.239, 1.761, 0.547, 5.393},
    {0.308, 3.078, 0.223, 1.777, 0.975, 0.9727, 0.284, 1.716, 0.687, 5.469},
    {0.0, 3.173, 0.0, 0.0, 0.927, 0.9754, 0.321, 1.679, 0.0, 0.0},
    {0.0, 3.258, 0.0, 0.0, 0.886, 0.9776, 0.354, 1.646, 0.0, 0.0},
    {0.0, 3.336, 0.0, 0.0, 0.850, 0.9794, 0.382, 1.618, 0.0, 0.0},
    {0.0, 3.407, 0.0, 0.0, 0.817, 0.9810, 0.406, 1.594, 0.0, 0.0},
    {0.0, 3.472, 0.0, 0.0, 0.789, 0.9823, 0.428, 1.572, 0.0, 0.0},
    {0.0, 3.532, 0.0, 0.0, 0.763, 0.9835, 0.448, 1.552, 0.0, 0.0},
    {0.0, 3.588, 0.0, 0.0, 0.739, 0.9845, 0.466, 1.534, 0.0, 0.0},
    {0.0, 3.640, 0.0, 0.0, 0.718, 0.9854, 0.482, 1.518, 0.0, 0.0},
    {0.0, 3.689, 0.0, 0.0, 0.698, 0.9862, 0.497, 1.503, 0.0, 0.0},
    {0.0, 3.735, 0.0, 0.0, 0.680, 0.9869, 0.510, 1.490, 0.0, 0.0},
    {0.0, 3.778, 0.0, 0.0, 0.663, 0.9876, 0.523, 1.477, 0.0, 0.0},
    {0.0, 3.819, 0.0, 0.0, 0.647, 0.9882, 0.534, 1.466, 0.0, 0.0},
    {0.0, 3.858, 0.0, 0.0, 0.633, 0.9887, 0.545, 1.455, 0.0, 0.0},
    {0.0, 3.895, 0.0, 0.0, 0.619, 0.9892, 0.555, 1.445, 0.0, 0.0},
    {0.0, 3.931, 0.0, 0.0, 0.606, 0.9896, 0.565, 1.435, 0.0, 0.0},
}};

} // namespace

std::optional<ChartKind> chartKindFor(int subgroupSize, bool standardDeviations)
{
    if (subgroupSize == 1)
        return ChartKind::IndividualsMovingRange;
    if (subgroupSize < 2 || subgroupSize > kLargestSubgroup)
        return std::nullopt;
    if (subgroupSize > kLargestRangeSubgroup || standardDeviations)
        return ChartKind::MeansStdDevs;
    return ChartKind::MeansRanges;
}

std::string locationName(ChartKind kind)
{
    return kind == ChartKind::IndividualsMovingRange ? "X" : "X̄";
}

std::string spreadName(ChartKind kind)
{
    switch (kind) {
    case ChartKind::IndividualsMovingRange: return "Rs";
    case ChartKind::MeansRanges: return "R";
    case ChartKind::MeansStdDevs: return "s";
    }
    return {};
}

std::string chartTitle(ChartKind kind)
{
    return locationName(kind) + "-" + spreadName(kind) + " 管理図";
}

std::optional<Factors> factorsFor(int subgroupSize)
{
    if (subgroupSize < 2 || subgroupSize > kLargestSubgroup)
        return std::nullopt;
    return kFactors[static_cast<std::size_t>(subgroupSize - 2)];
}

ValueCheck readValue(std::string_view text)
{
    if (stats::onlyBlanks(text))
        return {ValueState::Empty, 0.0};
    const stats::ValueReading reading = stats::readValueText(text);
    if (!reading.holdsNumber)
        return {ValueState::NoNumber, 0.0};
    if (!std::isfinite(reading.value))
        return {ValueState::OutOfRange, 0.0};
    return {ValueState::Number, reading.value};
}

LimitReading readLimit(std::string_view text)
{
    const stats::ToleranceReading reading = stats::readToleranceLimit(text);
    if (reading.entry == stats::ToleranceEntry::Empty)
        return {};
    if (reading.entry == stats::ToleranceEntry::NotNumber)
        return {std::nullopt, true};
    return {reading.value, false};
}

stats::Tolerance toleranceOf(const Header &header)
{
    return {readLimit(header.upperLimit).value, readLimit(header.lowerLimit).value};
}

std::vector<Phase> effectivePhases(const Sheet &sheet)
{
    if (sheet.phases.empty())
        return {Phase{}};
    return sheet.phases;
}

std::size_t phaseOfRow(const std::vector<Phase> &phases, std::size_t row)
{
    std::size_t index = 0;
    for (std::size_t p = 1; p < phases.size() && phases[p].firstRow <= row; ++p)
        index = p;
    return index;
}

std::string phaseTitle(const std::vector<Phase> &phases, std::size_t index)
{
    if (index >= phases.size())
        return {};
    if (phases[index].source == LimitSource::OwnRows)
        return "解析用";
    std::int64_t controlBefore = 0;
    for (std::size_t p = 0; p < index; ++p)
        controlBefore += phases[p].source != LimitSource::OwnRows ? 1 : 0;
    return controlBefore == 0 ? "管理用" : "改訂 " + stats::integerToText(controlBefore);
}

} // namespace sheet

namespace sheet {

std::string phasesProblem(const std::vector<Phase> &phases)
{
    const auto number = [](std::size_t i) { return stats::integerToText(static_cast<std::int64_t>(i)); };
    if (!phases.empty() && phases.front().firstRow != 0)
        return "期 1 が第 1 群から始まっていません";
    for (std::size_t p = 0; p < phases.size(); ++p) {
        if (p > 0 && phases[p].firstRow <= phases[p - 1].firstRow)
            return "期 " + number(p + 1) + " の開始 (第 " + number(phases[p].firstRow + 1)
                   + " 群) が期 " + number(p) + " の開始の後にありません";
        if (phases[p].source == LimitSource::Baseline
            && phases[p].baselineLast < phases[p].baselineFirst)
            return "期 " + number(p + 1) + " の基準の群の範囲が逆です";
    }
    return {};
}

} // namespace sheet
