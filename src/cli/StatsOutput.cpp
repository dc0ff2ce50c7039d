#include "cli/StatsOutput.h"

#include <array>
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

std::string jsonObject(std::string_view file, const stats::StatisticsTexts &texts)
{
    std::string object = "{\"file\": " + jsonString(file);
    for (const auto &[name, member] : kFields) {
        object += ", \"";
        object += name;
        object += "\": ";
        object += jsonString(texts.*member);
    }
    object += '}';
    return object;
}

} // namespace cli
