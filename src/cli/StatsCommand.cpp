#include "cli/StatsCommand.h"

#include "cli/GivenFiles.h"
#include "cli/StatsOutput.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"
#include "stats/NumberText.h"
#include "stats/Statistics.h"

#include <cstdint>
#include <ostream>
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
    return "値が大きすぎるため計算できません。";
}

std::string tooFewColumnsText(std::size_t columns, std::size_t column)
{
    return "ファイルの列は " + grouped(columns) + " 列しかありません（--column "
           + grouped(column) + " を指定しました）。";
}

// Names the column read when the command line named none, so that a table is
// never read from a column the user did not see chosen.
std::string chosenColumnText(const ValueFileItems &read)
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
    std::vector<std::string> said;
    if (!loose.withoutNumber.empty())
        said.push_back("数値として読めない値が " + grouped(loose.withoutNumber.size())
                       + " 個あります（0 として計算しました）: " + lines(loose.withoutNumber));
    if (!loose.partlyRead.empty())
        said.push_back("数値の後に文字が続く値が " + grouped(loose.partlyRead.size())
                       + " 個あります（文字の前の数値で計算しました）: " + lines(loose.partlyRead));
    return said;
}

} // namespace

ValueFileItems readValueFile(const QString &path, std::size_t column)
{
    // No one to ask: a file that reads both ways is read as Shift JIS, the
    // open command's default answer, and the choice is told, never made
    // silently.
    std::string note;
    const auto chooseReading = [&note](const files::AmbiguousReading &line) {
        note = grouped(line.lineNumber)
               + " 行目は UTF-8 としても読めるため、Shift JIS として読みました（Shift JIS: "
               + line.asShiftJis + " / UTF-8: " + line.asUtf8 + "）。";
        return std::optional<files::TextEncoding>(files::TextEncoding::ShiftJis);
    };
    // Likewise a table's column is the one given, or the window's preselected one.
    std::size_t columns = 1;
    const auto chooseColumn = [&](const files::ColumnLayout &layout) -> std::optional<std::size_t> {
        columns = layout.columns;
        if (column == 0)
            return layout.preselected;
        if (column > layout.columns)
            return std::nullopt;
        return column - 1;
    };
    auto read = files::readValueFile(path, files::kMaxListItems, chooseReading,
                                     files::kMaxValueFileBytes, chooseColumn);
    if (const auto *failure = std::get_if<files::ReadFailure>(&read)) {
        if (failure->problem == files::ReadProblem::Cancelled)
            return {{}, 0, tooFewColumnsText(columns, column), {}, 0, 0, {}};
        return {{}, 0, files::readProblemText(*failure).toStdString(), {}, 0, 0, {}};
    }
    auto &file = std::get<files::ValueFileItems>(read);
    if (file.column == 0 && column > 1)
        return {{}, 0, tooFewColumnsText(1, column), {}, 0, 0, {}};
    return {std::move(file.items), file.leftOut,  {},
            std::move(note),       file.column,   file.columns,
            std::move(file.lineNumbers)};
}

int runStats(const CommandLine &command, std::ostream &out, std::ostream &errors)
{
    int status = 0;
    bool first = true;
    out << (command.format == Format::Json ? "[" : tableHeader());
    for (const std::string &argument : command.files) {
        const QString path = argumentPath(argument);
        // Shown as UTF-8 whatever bytes the name was given in.
        const std::string name = path.toStdString();
        const ValueFileItems read = readValueFile(path, command.column);
        if (!read.failure.empty()) {
            errors << "vorla: " << name << ": " << read.failure << '\n';
            status = 1;
            continue;
        }
        if (!read.note.empty())
            errors << "vorla: " << name << ": " << read.note << '\n';
        if (read.column != 0 && command.column == 0)
            errors << "vorla: " << name << ": " << chosenColumnText(read) << '\n';
        if (read.leftOut > 0)
            errors << "vorla: " << name << ": 一覧に入るのは " << grouped(files::kMaxListItems)
                   << " 個までのため、" << grouped(read.leftOut)
                   << " 行は計算に入れていません。\n";
        const stats::StatisticsOutcome outcome =
            stats::calculateStatistics(read.items, command.sigma);
        if (const auto *error = std::get_if<stats::StatisticsError>(&outcome)) {
            errors << "vorla: " << name << ": " << statisticsProblemText(*error) << '\n';
            status = 1;
            continue;
        }
        const auto &texts = std::get<stats::StatisticsTexts>(outcome);
        for (const std::string &line :
             looseReadingLines(stats::looseReadings(read.items), read.lineNumbers))
            errors << "vorla: " << name << ": " << line << '\n';
        if (command.format == Format::Json)
            out << (first ? "\n  " : ",\n  ") << jsonObject(name, texts);
        else
            out << tableRow(name, texts);
        first = false;
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
