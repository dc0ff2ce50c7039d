#include "sheet/SheetFile.h"

#include "sheet/JsonText.h"
#include "stats/NumberText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

namespace sheet {

namespace {

std::string number(std::int64_t value)
{
    return stats::integerToText(value);
}

// Thrown only inside readSheet, where each is turned into its failure.
struct Refused
{
    SheetReadFailure failure;
};

[[noreturn]] void damaged(const std::string &where, const std::string &message)
{
    throw Refused{{SheetRefusal::Damaged, where, message}};
}

std::string pointer(const std::string &parent, std::string_view name)
{
    return parent + "/" + std::string(name);
}

std::string pointer(const std::string &parent, std::size_t index)
{
    return parent + "/" + number(static_cast<std::int64_t>(index));
}

const Json *member(const Json &object, std::string_view name)
{
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

const Json &objectAt(const Json &object, std::string_view name, const std::string &where)
{
    const Json *value = member(object, name);
    if (!value)
        damaged(where, std::string("「") + std::string(name) + "」がありません");
    if (!value->is_object())
        damaged(pointer(where, name), "オブジェクトではありません");
    return *value;
}

std::string textAt(const Json &object, std::string_view name, const std::string &where)
{
    const Json *value = member(object, name);
    if (!value)
        return {};
    if (!value->is_string())
        damaged(pointer(where, name), "文字列ではありません");
    return value->get<std::string>();
}

bool flagAt(const Json &object, std::string_view name, const std::string &where)
{
    const Json *value = member(object, name);
    if (!value)
        return false;
    if (!value->is_boolean())
        damaged(pointer(where, name), "true か false ではありません");
    return value->get<bool>();
}

std::int64_t integerOf(const Json &value, const std::string &where, std::int64_t low,
                       std::int64_t high)
{
    const bool integer = value.is_number_integer() || value.is_number_unsigned();
    if (!integer || (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX)
        || value.get<std::int64_t>() < low || value.get<std::int64_t>() > high)
        damaged(where, number(low) + " から " + number(high) + " までの整数ではありません");
    return value.get<std::int64_t>();
}

// A value, label or limit text: no tab or line break, as in the main window's list.
std::string lineTextAt(const Json &object, std::string_view name, const std::string &where)
{
    std::string text = textAt(object, name, where);
    if (text.find_first_of("\t\r\n") != std::string::npos)
        damaged(pointer(where, name), "タブか改行があります");
    return text;
}

constexpr std::int64_t kMaxRowNumber = 100'000'000;

Header readHeader(const Json &root)
{
    const Json &h = objectAt(root, "header", "");
    const std::string at = "/header";
    Header header;
    header.productName = textAt(h, "productName", at);
    header.partNumber = textAt(h, "partNumber", at);
    header.characteristic = textAt(h, "characteristic", at);
    header.unit = textAt(h, "unit", at);
    header.gauge = textAt(h, "gauge", at);
    header.process = textAt(h, "process", at);
    header.operatorName = textAt(h, "operator", at);
    header.upperLimit = lineTextAt(h, "upperLimit", at);
    header.lowerLimit = lineTextAt(h, "lowerLimit", at);
    header.specCenter = lineTextAt(h, "specCenter", at);
    const Json *n = member(h, "subgroupSize");
    if (!n)
        damaged(at, "「subgroupSize」がありません");
    header.subgroupSize = static_cast<int>(
        integerOf(*n, pointer(at, "subgroupSize"), kSmallestSubgroup, kLargestSubgroup));
    header.standardDeviations = flagAt(h, "standardDeviations", at);
    return header;
}

stats::SpecialCauseTests readTests(const Json &root)
{
    const Json *tests = member(root, "tests");
    if (!tests)
        return stats::SpecialCauseTests::all();
    if (!tests->is_array())
        damaged("/tests", "配列ではありません");
    stats::SpecialCauseTests set;
    for (std::size_t i = 0; i < tests->size(); ++i)
        set.add(static_cast<int>(integerOf((*tests)[i], pointer("/tests", i), 1, 8)));
    return set;
}

LimitTexts readLimitTexts(const Json &phase, std::string_view name, const std::string &where)
{
    const Json &texts = objectAt(phase, name, where);
    const std::string at = pointer(where, name);
    return {lineTextAt(texts, "center", at), lineTextAt(texts, "upper", at),
            lineTextAt(texts, "lower", at)};
}

Phase readPhase(const Json &value, const std::string &at)
{
    if (!value.is_object())
        damaged(at, "オブジェクトではありません");
    Phase phase;
    const Json *start = member(value, "start");
    if (!start)
        damaged(at, "「start」がありません");
    phase.firstRow = static_cast<std::size_t>(integerOf(*start, pointer(at, "start"), 1, kMaxRowNumber) - 1);
    phase.note = textAt(value, "note", at);
    const std::string limits = textAt(value, "limits", at);
    if (limits == "rows") {
        phase.source = LimitSource::OwnRows;
    } else if (limits == "baseline") {
        phase.source = LimitSource::Baseline;
        const Json *range = member(value, "baseline");
        const std::string rangeAt = pointer(at, "baseline");
        if (!range || !range->is_array() || range->size() != 2)
            damaged(rangeAt, "[最初の群, 最後の群] ではありません");
        phase.baselineFirst = static_cast<std::size_t>(integerOf((*range)[0], pointer(rangeAt, 0), 1, kMaxRowNumber) - 1);
        phase.baselineLast = static_cast<std::size_t>(integerOf((*range)[1], pointer(rangeAt, 1), 1, kMaxRowNumber) - 1);
    } else if (limits == "standard") {
        phase.source = LimitSource::Standard;
        phase.standardMean = lineTextAt(value, "mean", at);
        phase.standardSigma = lineTextAt(value, "sigma", at);
    } else if (limits == "given") {
        phase.source = LimitSource::Given;
        phase.location = readLimitTexts(value, "location", at);
        phase.spread = readLimitTexts(value, "spread", at);
    } else {
        damaged(pointer(at, "limits"), "rows、baseline、standard、given のどれでもありません");
    }
    return phase;
}

std::vector<Phase> readPhases(const Json &root)
{
    const Json *phases = member(root, "phases");
    if (!phases)
        return {};
    if (!phases->is_array())
        damaged("/phases", "配列ではありません");
    std::vector<Phase> read;
    for (std::size_t i = 0; i < phases->size(); ++i)
        read.push_back(readPhase((*phases)[i], pointer("/phases", i)));
    if (const std::string problem = phasesProblem(read); !problem.empty())
        damaged("/phases", problem);
    return read;
}

Row readRow(const Json &value, const std::string &at, int subgroupSize)
{
    if (!value.is_object())
        damaged(at, "オブジェクトではありません");
    Row row;
    row.label = lineTextAt(value, "label", at);
    row.note = textAt(value, "note", at);
    row.excluded = flagAt(value, "excluded", at);
    row.exclusionReason = textAt(value, "reason", at);
    const Json *values = member(value, "values");
    const std::string valuesAt = pointer(at, "values");
    if (!values)
        return row;
    if (!values->is_array())
        damaged(valuesAt, "配列ではありません");
    if (values->size() > static_cast<std::size_t>(subgroupSize))
        damaged(valuesAt, "値が " + number(static_cast<std::int64_t>(values->size()))
                              + " 個あります (群の大きさは " + number(subgroupSize) + ")");
    for (std::size_t i = 0; i < values->size(); ++i) {
        const Json &text = (*values)[i];
        if (!text.is_string())
            damaged(pointer(valuesAt, i), "文字列ではありません");
        if (text.get_ref<const std::string &>().find_first_of("\t\r\n") != std::string::npos)
            damaged(pointer(valuesAt, i), "タブか改行があります");
        row.values.push_back(text.get<std::string>());
    }
    return row;
}

std::vector<Row> readRows(const Json &root, int subgroupSize)
{
    const Json *rows = member(root, "rows");
    if (!rows)
        damaged("", "「rows」がありません");
    if (!rows->is_array())
        damaged("/rows", "配列ではありません");
    std::vector<Row> read;
    read.reserve(rows->size());
    for (std::size_t i = 0; i < rows->size(); ++i)
        read.push_back(readRow((*rows)[i], pointer("/rows", i), subgroupSize));
    return read;
}

// Where a byte offset lies, as an editor counts: lines from 1, characters
// (not bytes) from 1.
std::string placeOf(std::string_view bytes, std::size_t offset)
{
    offset = std::min(offset, bytes.size());
    std::int64_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
    return number(line) + " 行 " + number(column) + " 文字目";
}

void checkFormat(const Json &root)
{
    const Json *format = root.is_object() ? member(root, "format") : nullptr;
    if (!format || !format->is_string() || format->get<std::string>() != kSheetFormat)
        throw Refused{{SheetRefusal::NotASheet, {}, "「format」が「vorla-sheet」ではありません"}};
    const Json *version = member(root, "version");
    if (!version)
        damaged("", "「version」がありません");
    const std::int64_t v = integerOf(*version, "/version", 1, INT32_MAX);
    if (v > kSheetVersion)
        throw Refused{{SheetRefusal::LaterVersion, "/version", "版 " + number(v) + " のシートです", v}};
}

// ---- writing -------------------------------------------------------------------------------

Json limitTextsJson(const LimitTexts &texts)
{
    return Json{{"center", texts.center}, {"upper", texts.upper}, {"lower", texts.lower}};
}

Json phaseJson(const Phase &phase)
{
    Json json = {{"start", phase.firstRow + 1}};
    switch (phase.source) {
    case LimitSource::OwnRows: json["limits"] = "rows"; break;
    case LimitSource::Baseline:
        json["limits"] = "baseline";
        json["baseline"] = Json::array({phase.baselineFirst + 1, phase.baselineLast + 1});
        break;
    case LimitSource::Standard:
        json["limits"] = "standard";
        json["mean"] = phase.standardMean;
        json["sigma"] = phase.standardSigma;
        break;
    case LimitSource::Given:
        json["limits"] = "given";
        json["location"] = limitTextsJson(phase.location);
        json["spread"] = limitTextsJson(phase.spread);
        break;
    }
    json["note"] = phase.note;
    return json;
}

Json rowJson(const Row &row)
{
    return Json{{"label", row.label},
                {"values", row.values},
                {"note", row.note},
                {"excluded", row.excluded},
                {"reason", row.exclusionReason}};
}

// Members one a line at two spaces, or each element of an array at four.
template <typename Each>
void appendList(std::string &out, std::string_view name, std::size_t count, Each each, bool last)
{
    out += "  " + jsonStringText(name) + ": [";
    for (std::size_t i = 0; i < count; ++i)
        out += (i == 0 ? "\n    " : ",\n    ") + jsonLine(each(i));
    out += count == 0 ? "]" : "\n  ]";
    out += last ? "\n" : ",\n";
}

} // namespace

SheetReadOutcome readSheet(std::string_view bytes)
{
    Json root;
    try {
        root = Json::parse(bytes.begin(), bytes.end());
    } catch (const Json::parse_error &error) {
        // Not JSON at all is no sheet; JSON that breaks off after a sheet's
        // start is a damaged one.
        const bool sheetLike = bytes.find("\"vorla-sheet\"") != std::string_view::npos;
        return SheetReadFailure{sheetLike ? SheetRefusal::Damaged : SheetRefusal::NotASheet,
                                placeOf(bytes, error.byte == 0 ? 0 : error.byte - 1),
                                "JSON として読めません"};
    } catch (const Json::exception &) {
        // Well-formed but beyond what the reader holds (a key kept twice in
        // an object the reader keeps in order, sizes past its limits).
        const bool sheetLike = bytes.find("\"vorla-sheet\"") != std::string_view::npos;
        return SheetReadFailure{sheetLike ? SheetRefusal::Damaged : SheetRefusal::NotASheet,
                                placeOf(bytes, 0), "JSON として読めません"};
    }
    try {
        checkFormat(root);
        Sheet sheet;
        sheet.header = readHeader(root);
        sheet.tests = readTests(root);
        sheet.phases = readPhases(root);
        sheet.rows = readRows(root, sheet.header.subgroupSize);
        return sheet;
    } catch (const Refused &refused) {
        return refused.failure;
    } catch (const Json::exception &) {
        // A value of a type the checks let through: damage, never a crash.
        return SheetReadFailure{SheetRefusal::Damaged, placeOf(bytes, 0), "値の形が違います"};
    }
}

std::string writeSheet(const Sheet &sheet)
{
    const Header &h = sheet.header;
    const Json header = {{"productName", h.productName},       {"partNumber", h.partNumber},
                         {"characteristic", h.characteristic}, {"unit", h.unit},
                         {"gauge", h.gauge},                   {"process", h.process},
                         {"operator", h.operatorName},         {"upperLimit", h.upperLimit},
                         {"lowerLimit", h.lowerLimit},         {"specCenter", h.specCenter},
                         {"subgroupSize", h.subgroupSize},
                         {"standardDeviations", h.standardDeviations}};
    std::string out = "{\n  \"format\": " + jsonStringText(kSheetFormat) + ",\n  \"version\": "
                      + number(kSheetVersion) + ",\n  \"header\": {";
    bool first = true;
    for (const auto &[name, value] : header.items()) {
        out += (first ? "\n    " : ",\n    ") + jsonStringText(name) + ": " + jsonLine(value);
        first = false;
    }
    out += "\n  },\n";
    Json tests = Json::array();
    for (int test = 1; test <= stats::SpecialCauseTests::kCount; ++test)
        if (sheet.tests.contains(test))
            tests.push_back(test);
    out += "  \"tests\": " + jsonLine(tests) + ",\n";
    appendList(out, "phases", sheet.phases.size(),
               [&](std::size_t i) { return phaseJson(sheet.phases[i]); }, false);
    appendList(out, "rows", sheet.rows.size(),
               [&](std::size_t i) { return rowJson(sheet.rows[i]); }, true);
    out += "}\n";
    return out;
}

std::string sheetFailureText(const SheetReadFailure &failure)
{
    switch (failure.refusal) {
    case SheetRefusal::NotASheet:
        return "管理図シートのファイルではありません"
               + (failure.where.empty() ? std::string() : " (" + failure.where + ")") + "。";
    case SheetRefusal::LaterVersion:
        return "このシートは版 " + number(failure.version) + " で書かれています。この Vorla が読めるのは版 "
               + number(kSheetVersion) + " までです。";
    case SheetRefusal::Damaged:
        return "シートが壊れています (" + (failure.where.empty() ? std::string("/") : failure.where)
               + "): " + failure.message + "。";
    }
    return {};
}

bool isSheetFileName(std::string_view name)
{
    if (name.size() <= kSheetExtension.size())
        return false;
    const std::string_view end = name.substr(name.size() - kSheetExtension.size());
    return std::equal(end.begin(), end.end(), kSheetExtension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

} // namespace sheet
