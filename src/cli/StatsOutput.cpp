#include "cli/StatsOutput.h"

#include "sheet/JsonText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace cli {

namespace {

using Field = std::pair<const char *, std::string stats::StatisticsTexts::*>;

// The window's boxes from top to bottom, each with its JSON name.
const std::array<Field, 11> kFields = {{
    {"count", &stats::StatisticsTexts::count},
    {"mean", &stats::StatisticsTexts::mean},
    {"standardDeviation", &stats::StatisticsTexts::standardDeviation},
    {"upperLimit", &stats::StatisticsTexts::upperLimit},
    {"lowerLimit", &stats::StatisticsTexts::lowerLimit},
    {"aboveCount", &stats::StatisticsTexts::aboveCount},
    {"abovePercent", &stats::StatisticsTexts::abovePercent},
    {"belowCount", &stats::StatisticsTexts::belowCount},
    {"belowPercent", &stats::StatisticsTexts::belowPercent},
    {"maximum", &stats::StatisticsTexts::maximum},
    {"minimum", &stats::StatisticsTexts::minimum},
}};

} // namespace

std::string tableHeader()
{
    return "ファイル\tデータ数\t平均\t標準偏差\t上限\t下限\t上限超え個数\t上限超え%\t"
           "下限超え個数\t下限超え%\t最大値\t最小値\n";
}

std::string tableCell(std::string_view text)
{
    std::string cell(text);
    for (char &c : cell)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return cell;
}

std::string tableRow(std::string_view file, const stats::StatisticsTexts &texts)
{
    std::string row = tableCell(file);
    for (const auto &[name, member] : kFields) {
        row += '\t';
        row += tableCell(texts.*member);
    }
    row += '\n';
    return row;
}

std::string jsonString(std::string_view text)
{
    return sheet::jsonStringText(text);
}

std::string jsonNumber(double value)
{
    return sheet::jsonNumberText(value);
}

namespace {

// A count as a percentage of all the values, unrounded.
double percentOf(std::int64_t part, std::size_t count)
{
    return 100.0 * static_cast<double>(part) / static_cast<double>(count);
}

sheet::Json optionalNumber(const std::optional<double> &value)
{
    return value ? sheet::Json(*value) : sheet::Json(nullptr);
}

sheet::Json seriesJson(const stats::ControlSeries &series)
{
    sheet::Json signals = sheet::Json::array();
    for (const stats::SpecialCause &signal : series.causes)
        signals.push_back({{"test", signal.test}, {"number", signal.number}, {"value", signal.value}});
    return {{"name", series.name},
            {"center", series.limits.center},
            {"upper", series.limits.upper},
            {"lower", optionalNumber(series.limits.lower)},
            {"signals", std::move(signals)}};
}

} // namespace

sheet::Json figuresJson(const stats::StatisticsFigures &figures)
{
    const std::vector<double> &values = figures.values;
    const std::size_t count = values.size();
    const auto [minimum, maximum] = std::minmax_element(values.begin(), values.end());
    const bool any = count > 0;
    const auto ifAny = [any](double value) { return any ? sheet::Json(value) : sheet::Json(nullptr); };
    return {
        {"count", static_cast<std::int64_t>(count)},
        {"mean", figures.mean},
        {"standardDeviation", figures.sigma},
        {"sigmaMultiple", figures.k},
        {"upperLimit", figures.upperLimit},
        {"lowerLimit", figures.lowerLimit},
        {"aboveCount", figures.aboveCount},
        {"abovePercent", any ? ifAny(percentOf(figures.aboveCount, count)) : nullptr},
        {"belowCount", figures.belowCount},
        {"belowPercent", any ? ifAny(percentOf(figures.belowCount, count)) : nullptr},
        {"maximum", any ? ifAny(*maximum) : nullptr},
        {"minimum", any ? ifAny(*minimum) : nullptr},
    };
}

std::string jsonFigures(const stats::StatisticsFigures &figures)
{
    return sheet::jsonLine(figuresJson(figures));
}

sheet::Json controlChartJson(std::string_view type, const stats::ControlChart &chart)
{
    return {{"type", std::string(type)},
            {"subgroupSize", chart.subgroupSize},
            {"leftOut", chart.leftOut},
            {"location", seriesJson(chart.location)},
            {"spread", seriesJson(chart.spread)}};
}

std::string jsonControlChart(std::string_view type, const stats::ControlChart &chart)
{
    return sheet::jsonLine(controlChartJson(type, chart));
}

sheet::Json textsJson(std::string_view file, const stats::StatisticsTexts &texts)
{
    sheet::Json object = {{"file", std::string(file)}};
    for (const auto &[name, member] : kFields)
        object[name] = texts.*member;
    return object;
}

std::string jsonObject(std::string_view file, const stats::StatisticsTexts &texts,
                       const JsonMembers &more)
{
    sheet::Json object = textsJson(file, texts);
    for (const auto &[name, value] : more)
        object[name] = sheet::Json::parse(value);
    return sheet::jsonLine(object);
}

} // namespace cli
