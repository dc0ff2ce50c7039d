#include "cli/StatsCommand.h"

#include "stats/Sentences.h"

#include "cli/GivenFiles.h"
// Qt's `signals` keyword would rename the control chart's member of that name.
#pragma push_macro("signals")
#undef signals
#include "cli/SheetOutput.h"
#include "cli/StatsOutput.h"
#include "sheet/SheetFile.h"
#pragma pop_macro("signals")
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"
#include "stats/NumberText.h"
#include "stats/Statistics.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <utility>
#include <string>
#include <vector>
#include <variant>

namespace cli {

namespace {

/// A count or line number as the messages show it ("32,767").
std::string grouped(std::size_t number)
{
    return stats::groupedInteger(static_cast<std::int64_t>(number));
}

std::string statisticsProblemText(stats::StatisticsError error)
{
    if (error == stats::StatisticsError::EmptyList)
        return "値が 1 つもありません。";
    return stats::sentences::tooLargeToCalculate();
}

std::string tooFewColumnsText(std::size_t columns, std::size_t column)
{
    return "ファイルの列は " + grouped(columns) + " 列しかありません（--column "
           + grouped(column) + " を指定しました）。";
}

// Names the column read when the command line named none, so that a table is
// never read from a column the user did not see chosen.
std::string chosenColumnText(const StatsInput &read)
{
    return grouped(read.columns) + " 列の表の " + grouped(read.column)
           + " 列目を使いました（ほかの列は --column N で選べます）。";
}

/// What the window's note says of the items a calculation did not read
/// whole, one message per kind, with the items' line numbers in the file
/// ("…: 1, 4 行目"). Beyond ten lines the rest are counted, not listed.
std::vector<std::string> looseReadingLines(const stats::LooseReadings &loose,
                                           const std::vector<std::size_t> &lineNumbers)
{
    constexpr std::size_t kListed = 10;
    const auto lines = [&](const std::vector<std::size_t> &items) {
        std::string text;
        for (std::size_t i = 0; i < items.size() && i < kListed; ++i)
            text += (i == 0 ? "" : ", ") + grouped(lineNumbers.at(items[i]));
        text += " 行目";
        if (items.size() > kListed)
            text += "ほか " + grouped(items.size() - kListed) + " 個";
        return text;
    };
    namespace say = stats::sentences;
    std::vector<std::string> said;
    if (!loose.withoutNumber.empty())
        said.push_back(say::withoutNumber(loose.withoutNumber.size()) + ": " + lines(loose.withoutNumber));
    if (!loose.partlyRead.empty())
        said.push_back(say::partlyRead(loose.partlyRead.size()) + ": " + lines(loose.partlyRead));
    if (!loose.blanksInside.empty())
        said.push_back(say::blanksInside(loose.blanksInside.size()) + ": " + lines(loose.blanksInside));
    return said;
}

// No one to ask: a file that reads both ways is read as Shift JIS, the open
// command's default answer, and the choice is told in `note`, never made
// silently.
files::ChooseReading shiftJisWithNote(std::string &note)
{
    return [&note](const files::AmbiguousReading &line) {
        note = grouped(line.lineNumber)
               + " 行目は UTF-8 としても読めるため、Shift JIS として読みました（Shift JIS: "
               + line.asShiftJis + " / UTF-8: " + line.asUtf8 + "）。";
        return std::optional<files::TextEncoding>(files::TextEncoding::ShiftJis);
    };
}

// Likewise a table's column is the one given (from 1), or the window's
// preselected one; `columns` learns how many the table has.
files::ChooseColumn givenColumn(std::size_t column, std::size_t &columns)
{
    return [column, &columns](const files::ColumnLayout &layout) -> std::optional<std::size_t> {
        columns = layout.columns;
        if (column == 0)
            return layout.preselected;
        if (column > layout.columns)
            return std::nullopt;
        return column - 1;
    };
}

StatsInput refused(std::string why)
{
    StatsInput input;
    input.failure = std::move(why);
    return input;
}

// Writes "vorla: NAME: " before each line of `lines`.
void tell(std::ostream &errors, const std::string &name, const std::vector<std::string> &lines)
{
    for (const std::string &line : lines)
        if (!line.empty())
            errors << "vorla: " << name << ": " << line << '\n';
}

// What standard error says of a file read, before its results.
std::vector<std::string> readingNotes(const StatsInput &read, std::size_t givenColumn)
{
    std::vector<std::string> notes = {read.note};
    if (read.column != 0 && givenColumn == 0)
        notes.push_back(chosenColumnText(read));
    if (read.leftOut > 0)
        notes.push_back("一覧に入るのは " + grouped(files::kMaxListItems) + " 個までのため、"
                        + grouped(read.leftOut) + " 行は計算に入れていません。");
    return notes;
}

// The control chart of `kind` over the values in list order, with every test
// for special causes.
stats::ControlChartOutcome controlChart(stats::ChartType kind, int subgroupSize,
                                       const std::vector<double> &values)
{
    if (kind == stats::ChartType::MeansRanges)
        return stats::subgroupChart(values, subgroupSize);
    return stats::individualsChart(values);
}

bool limitsGiven(const CommandLine &command)
{
    return command.upper || command.lower;
}

stats::Tolerance givenTolerance(const CommandLine &command)
{
    return {command.upper, command.lower};
}

// The capability of a value file's values taken one at a time, for the
// tolerance of the command line.
sheet::CapabilityReport valuesCapability(const CommandLine &command,
                                         const stats::StatisticsFigures &figures)
{
    return sheet::capabilityOf(figures.values, sheet::individualsWithinSigma(figures.values),
                               givenTolerance(command));
}

// The JSON object of a file: the texts, the figures as numbers, the control
// chart --type asks for and the capability a tolerance asks for. A chart
// refused is null, its reason told on `errors`, and `charted` turns false.
sheet::Json jsonResults(const CommandLine &command, const std::string &name,
                        const stats::StatisticsFigures &figures, std::ostream &errors,
                        bool &charted)
{
    sheet::Json object = textsJson(name, stats::statisticsTexts(figures));
    object["numbers"] = figuresJson(figures);
    if (command.chartTypeGiven) {
        const stats::ControlChartOutcome outcome =
            controlChart(command.chartType, command.subgroupSize, figures.values);
        if (const auto *refusal = std::get_if<stats::NoControlChart>(&outcome)) {
            tell(errors, name, {refusal->reason + "。"});
            charted = false;
            object["controlChart"] = nullptr;
        } else {
            object["controlChart"] = controlChartJson(chartKindName(command.chartType),
                                                      std::get<stats::ControlChart>(outcome));
        }
    }
    if (limitsGiven(command))
        object["capability"] = capabilityJson(valuesCapability(command, figures));
    return object;
}

// One file's line of the table or object of the JSON; false when a control
// chart asked for could not be drawn.
bool writeResults(const CommandLine &command, const std::string &name,
                  const stats::StatisticsFigures &figures, bool first, std::ostream &out,
                  std::ostream &errors)
{
    if (command.format != Format::Json) {
        std::string row = tableRow(name, stats::statisticsTexts(figures));
        if (limitsGiven(command)) {
            row.pop_back(); // the line end, which comes after the further cells
            row += capabilityCells(valuesCapability(command, figures)) + '\n';
        }
        out << row;
        return true;
    }
    bool charted = true;
    const sheet::Json object = jsonResults(command, name, figures, errors, charted);
    out << (first ? "\n  " : ",\n  ") << sheet::jsonLine(object);
    return charted;
}

// A sheet's object of the JSON; false, with the reason on `errors`, when the
// sheet could not be read or no JSON was asked for.
bool writeSheetResults(const CommandLine &command, const std::string &argument,
                       const std::string &name, bool first, std::ostream &out,
                       std::ostream &errors)
{
    auto bytes = readArgumentBytes(argument, sheet::kMaxSheetFileBytes);
    if (const auto *failure = std::get_if<files::ReadFailure>(&bytes)) {
        tell(errors, name, {files::readProblemText(*failure).toStdString()});
        return false;
    }
    const sheet::SheetReadOutcome read = sheet::readSheet(std::get<std::string>(bytes));
    if (const auto *failure = std::get_if<sheet::SheetReadFailure>(&read)) {
        tell(errors, name, {sheet::sheetFailureText(*failure)});
        return false;
    }
    if (command.format != Format::Json) {
        tell(errors, name, {"管理図シートの結果は --json で書きます。"});
        return false;
    }
    const sheet::Sheet &sheet = std::get<sheet::Sheet>(read);
    const sheet::SheetAnalysis analysis = sheet::analyzeSheet(sheet);
    const stats::Tolerance tolerance =
        limitsGiven(command) ? givenTolerance(command) : sheet::toleranceOf(sheet.header);
    const sheet::Json object = {{"file", name}, {"sheet", sheetJson(sheet, analysis, tolerance)}};
    out << (first ? "\n  " : ",\n  ") << sheet::jsonLine(object);
    return true;
}

} // namespace

StatsInput readStatsInput(const std::string &argument, std::size_t column)
{
    auto bytes = readArgumentBytes(argument);
    if (const auto *failure = std::get_if<files::ReadFailure>(&bytes))
        return refused(files::readProblemText(*failure).toStdString());
    std::string note;
    std::size_t columns = 1;
    auto read = files::readValueBytes(std::move(std::get<std::string>(bytes)), files::kMaxListItems,
                                      shiftJisWithNote(note), givenColumn(column, columns));
    if (const auto *failure = std::get_if<files::ReadFailure>(&read)) {
        if (failure->problem == files::ReadProblem::Cancelled)
            return refused(tooFewColumnsText(columns, column));
        return refused(files::readProblemText(*failure).toStdString());
    }
    auto &file = std::get<files::ValueFileItems>(read);
    if (file.column == 0 && column > 1)
        return refused(tooFewColumnsText(1, column));
    return {std::move(file.items), file.leftOut,  {},
            std::move(note),       file.column,   file.columns,
            std::move(file.lineNumbers)};
}

std::optional<stats::StatisticsFigures> readFigures(const std::string &argument,
                                                  const std::string &name,
                                                  const CommandLine &command, std::ostream &errors,
                                                  std::vector<std::size_t> *withoutNumber)
{
    const StatsInput read = readStatsInput(argument, command.column);
    if (!read.failure.empty()) {
        tell(errors, name, {read.failure});
        return std::nullopt;
    }
    tell(errors, name, readingNotes(read, command.column));
    stats::FiguresOutcome outcome = stats::calculateFigures(read.items, command.sigma);
    if (const auto *error = std::get_if<stats::StatisticsError>(&outcome)) {
        tell(errors, name, {statisticsProblemText(*error)});
        return std::nullopt;
    }
    stats::LooseReadings loose = stats::looseReadings(read.items);
    // The charts leave the items without a number out, and their caller says so.
    if (withoutNumber)
        *withoutNumber = std::exchange(loose.withoutNumber, {});
    tell(errors, name, looseReadingLines(loose, read.lineNumbers));
    return std::get<stats::StatisticsFigures>(std::move(outcome));
}

int runStats(const CommandLine &command, std::ostream &out, std::ostream &errors)
{
    int status = 0;
    bool first = true;
    std::string header = tableHeader();
    if (limitsGiven(command))
        header.insert(header.size() - 1, capabilityHeaderCells());
    out << (command.format == Format::Json ? "[" : header);
    for (const std::string &argument : command.files) {
        // Shown as UTF-8 whatever bytes the name was given in.
        const std::string name = argumentPath(argument).toStdString();
        if (sheet::isSheetFileName(argument)) {
            const bool written = writeSheetResults(command, argument, name, first, out, errors);
            status = written ? status : 1;
            first = first && !written;
            out.flush();
            continue;
        }
        const std::optional<stats::StatisticsFigures> figures =
            readFigures(argument, name, command, errors);
        if (!figures || !writeResults(command, name, *figures, first, out, errors))
            status = 1;
        first = first && !figures;
        out.flush(); // a pipeline sees each file's line as soon as it is done
    }
    if (command.format == Format::Json)
        out << (first ? "]\n" : "\n]\n");
    out.flush();
    if (!out) {
        errors << "vorla: 標準出力に書き込めませんでした。\n";
        status = 1;
    }
    return status;
}

} // namespace cli
