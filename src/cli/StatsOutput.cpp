#include "cli/StatsOutput.h"

#include <algorithm>
#include <array>
#include <charconv>
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
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

namespace {

// Joins name-value pairs, each value already JSON text, into an object.
std::string membersObject(const JsonMembers &members)
{
    std::string object = "{";
    for (const auto &[name, value] : members)
        object += (object.size() > 1 ? ", " : "") + jsonString(name) + ": " + value;
    return object + '}';
}

std::string wholeNumber(std::int64_t number)
{
    return std::to_string(number);
}

// A count as a percentage of all the values, unrounded.
double percentOf(std::int64_t part, std::size_t count)
{
    return 100.0 * static_cast<double>(part) / static_cast<double>(count);
}

std::string jsonSeries(const stats::ControlSeries &series)
{
    std::string signals = "[";
    for (const stats::SpecialCause &signal : series.causes)
        signals += (signals.size() > 1 ? ", " : "")
                   + membersObject({{"test", wholeNumber(signal.test)},
                                    {"number", wholeNumber(signal.number)},
                                    {"value", jsonNumber(signal.value)}});
    const std::optional<double> &lower = series.limits.lower;
    return membersObject({{"name", jsonString(series.name)},
                          {"center", jsonNumber(series.limits.center)},
                          {"upper", jsonNumber(series.limits.upper)},
                          {"lower", lower ? jsonNumber(*lower) : "null"},
                          {"signals", signals + ']'}});
}

} // namespace

std::string jsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    const auto [end, error] = std::to_chars(std::begin(text), std::end(text), value);
    return error == std::errc() ? std::string(text, end) : "null";
}

std::string jsonFigures(const stats::StatisticsFigures &figures)
{
    const std::vector<double> &values = figures.values;
    const std::size_t count = values.size();
    const auto [minimum, maximum] = std::minmax_element(values.begin(), values.end());
    const bool any = count > 0;
    return membersObject({
        {"count", wholeNumber(static_cast<std::int64_t>(count))},
        {"mean", jsonNumber(figures.mean)},
        {"standardDeviation", jsonNumber(figures.sigma)},
        {"sigmaMultiple", jsonNumber(figures.k)},
        {"upperLimit", jsonNumber(figures.upperLimit)},
        {"lowerLimit", jsonNumber(figures.lowerLimit)},
        {"aboveCount", wholeNumber(figures.aboveCount)},
        {"abovePercent", any ? jsonNumber(percentOf(figures.aboveCount, count)) : "null"},
        {"belowCount", wholeNumber(figures.belowCount)},
        {"belowPercent", any ? jsonNumber(percentOf(figures.belowCount, count)) : "null"},
        {"maximum", any ? jsonNumber(*maximum) : "null"},
        {"minimum", any ? jsonNumber(*minimum) : "null"},
    });
}

std::string jsonControlChart(std::string_view type, const stats::ControlChart &chart)
{
    return membersObject({{"type", jsonString(type)},
                          {"subgroupSize", wholeNumber(chart.subgroupSize)},
                          {"leftOut", wholeNumber(chart.leftOut)},
                          {"location", jsonSeries(chart.location)},
                          {"spread", jsonSeries(chart.spread)}});
}

std::string jsonObject(std::string_view file, const stats::StatisticsTexts &texts,
                       const JsonMembers &more)
{
    JsonMembers members = {{"file", jsonString(file)}};
    for (const auto &[name, member] : kFields)
        members.emplace_back(name, jsonString(texts.*member));
    members.insert(members.end(), more.begin(), more.end());
    return membersObject(members);
}

} // namespace cli
