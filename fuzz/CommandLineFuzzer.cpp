// The command line parser over any argument list.
//
// The fuzz bytes split at each NUL give the arguments (a real argument can
// hold any byte but NUL). An argument of a single byte below 0x10 stands for
// a word of kWords instead, so that the options and their values come up
// often and in every order.
//
// A plain reference reads the same list by the documented rules, from a table
// of the options (kOptions), and the parser must agree with it on everything:
//  - the mode; an error always comes with a message, which names the
//    argument or value at fault where there is one, and nothing else does;
//  - the files: exactly the arguments that are no option and no option's
//    value, in order; --stats refuses "-" (standard input) given twice;
//  - the sigma choice: exactly the values the rules allow ("1", "2", "3",
//    each with or without "σ"), and sigmaChoice agrees on every argument;
//  - the column: exactly the numbers the rules allow (ASCII digits, 1 to
//    1,000,000), and columnNumber agrees on every argument;
//  - the output format;
//  - the chart options: --chart takes one file and -o (a .png or .pdf path),
//    --type run|xrs|xbar-r, --subgroup 2..10 with xbar-r only, --upper and
//    --lower as tolerance boxes read, --portrait with a .pdf output only;
//    each batch option belongs to --stats, --chart or both, and --type goes
//    with --stats only beside --json, never as run.
// Parsing the same list twice gives the same result.

#include "FuzzCheck.h"

#include "cli/CommandLine.h"
#include "stats/Chart.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using cli::CommandLine;
using cli::Format;
using cli::Mode;

constexpr std::string_view kWords[] = {
    "--stats", "--sigma", "--json",  "--help", "-h",       "--version", "--",        "-",
    "3",       "2σ",      "1",       "σ",      "--sigma=", "--stats=",  "--sigma=3σ", "a.txt",
    "--column", "0",      "12",      "1000001", "--column=2", "--chart", "--type",  "xrs",
    "xbar-r",   "run",    "--subgroup", "5",    "11",       "-o",       "a.png",   "b.PDF",
    "c.jpg",    "--upper", "--lower", "abc",     "--portrait",
};

/// The --sigma values the rules allow and the choice each gives.
// The sigma choice as the drop-down reads it: a digit 1 to 3, half- or
// full-width, alone or followed by σ or Σ with any blanks (U+0020, U+3000)
// between. Spelled out form by form, apart from the calculation's reading.
std::string allowedSigma(std::string_view text)
{
    static const std::string_view kDigits[][2] = {
        {"1", "１"}, {"2", "２"}, {"3", "３"}};
    for (int k = 0; k < 3; ++k) {
        for (const std::string_view digit : kDigits[k]) {
            if (!text.starts_with(digit))
                continue;
            std::string_view rest = text.substr(digit.size());
            const std::string choice = std::to_string(k + 1) + "σ";
            if (rest.empty())
                return choice;
            while (rest.starts_with(" ") || rest.starts_with("\u3000"))
                rest.remove_prefix(rest.starts_with(" ") ? 1 : 3);
            return rest == "σ" || rest == "Σ" ? choice : std::string();
        }
    }
    return {};
}

/// What an option does.
enum class Effect { Help, Version, Stats, Chart, Json, Sigma, Column, Type, Subgroup, Upper, Lower, Output, Portrait };

constexpr unsigned kStats = 1, kChart = 2;

struct Option
{
    std::string_view name;
    Effect effect;
    bool takesValue; ///< reads "=value" or the next argument
    unsigned uses = 0; ///< the batches it belongs to
};

// Long options may be written "--name=value"; an option that takes no value
// refuses one, except --help and --version, which answer whatever follows.
constexpr Option kOptions[] = {
    {"--help", Effect::Help, false},   {"-h", Effect::Help, false},
    {"--version", Effect::Version, false}, {"--stats", Effect::Stats, false},
    {"--chart", Effect::Chart, false},
    {"--json", Effect::Json, false, kStats},   {"--sigma", Effect::Sigma, true, kStats | kChart},
    {"--column", Effect::Column, true, kStats | kChart},
    {"--type", Effect::Type, true, kStats | kChart},
    {"--subgroup", Effect::Subgroup, true, kStats | kChart},
    {"--upper", Effect::Upper, true, kStats | kChart},
    {"--lower", Effect::Lower, true, kStats | kChart},
    {"-o", Effect::Output, true, kChart},
    {"--portrait", Effect::Portrait, false, kChart},
};

std::optional<stats::ChartType> allowedType(std::string_view text)
{
    if (text == "run")
        return stats::ChartType::Run;
    if (text == "xrs")
        return stats::ChartType::IndividualsMovingRange;
    if (text == "xbar-r")
        return stats::ChartType::MeansRanges;
    return std::nullopt;
}

/// -o paths: something, then .png or .pdf in any case.
bool allowedOutput(std::string_view text)
{
    if (text.size() < 5)
        return false;
    std::string suffix(text.substr(text.size() - 4));
    for (char &c : suffix)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return suffix == ".png" || suffix == ".pdf";
}

/// The record's paths: .pdf in any case.
bool pdfOutput(std::string_view text)
{
    return allowedOutput(text) && (text.back() == 'f' || text.back() == 'F');
}

/// The --column values the rules allow: ASCII digits alone, 1 to 1,000,000.
std::size_t allowedColumn(std::string_view text)
{
    if (text.empty() || text.size() > 7)
        return 0;
    std::size_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    return n >= 1 && n <= 1000000 ? n : 0;
}

struct Expected
{
    CommandLine line;
    std::string culprit; ///< for an error: text its message must name, if any
};

Expected failure(std::string culprit = {})
{
    Expected e;
    e.line.mode = Mode::Error;
    e.culprit = std::move(culprit);
    return e;
}

/// The batch flags and options seen while reading the line.
struct Seen
{
    bool stats = false, chart = false, type = false, subgroup = false;
    std::vector<const Option *> batched;
};

// Applies an option's valid value; false for a value the rules refuse.
bool applyValue(const Option &option, const std::string &value, Expected &e, Seen &seen)
{
    switch (option.effect) {
    case Effect::Sigma:
        e.line.sigma = allowedSigma(value);
        return !e.line.sigma.empty();
    case Effect::Column:
        e.line.column = allowedColumn(value);
        return e.line.column != 0;
    case Effect::Type:
        seen.type = true;
        e.line.chartType = allowedType(value).value_or(stats::ChartType::Run);
        return allowedType(value).has_value();
    case Effect::Subgroup: {
        seen.subgroup = true;
        const std::size_t n = allowedColumn(value);
        e.line.subgroupSize = static_cast<int>(n);
        return n >= 2 && n <= 10;
    }
    case Effect::Upper:
    case Effect::Lower: {
        const stats::ToleranceReading r = stats::readToleranceLimit(value);
        std::optional<double> &limit = option.effect == Effect::Upper ? e.line.upper : e.line.lower;
        limit.reset();
        if (r.entry == stats::ToleranceEntry::Number)
            limit = r.value;
        return r.entry != stats::ToleranceEntry::NotNumber;
    }
    case Effect::Output:
        e.line.output = value;
        return allowedOutput(value);
    default:
        return false;
    }
}

// The rules for the whole line, once every argument is read.
Expected finish(Expected e, const Seen &seen)
{
    if (seen.stats && seen.chart)
        return failure();
    const unsigned batch = seen.stats ? kStats : seen.chart ? kChart : 0;
    for (const Option *option : seen.batched)
        if ((option->uses & batch) == 0)
            return failure(std::string(option->name));
    if (seen.subgroup && e.line.chartType != stats::ChartType::MeansRanges)
        return failure();
    if (batch == 0)
        return e;
    if (e.line.files.empty())
        return failure();
    if (seen.stats) {
        if (std::count(e.line.files.begin(), e.line.files.end(), "-") > 1)
            return failure("-"); // standard input can be read only once
        if (seen.type &&
            (e.line.format != Format::Json || e.line.chartType == stats::ChartType::Run))
            return failure();
        e.line.mode = Mode::Stats;
        return e;
    }
    if (e.line.files.size() > 1)
        return failure(e.line.files[1]);
    if (e.line.output.empty())
        return failure("-o");
    if (e.line.portrait && !pdfOutput(e.line.output))
        return failure("--portrait");
    e.line.mode = Mode::Chart;
    return e;
}

// The option an argument names, its "=value" going to `value`; nullptr for none.
const Option *optionOf(const std::string &arg, std::optional<std::string> &value)
{
    std::string name = arg;
    if (arg.starts_with("--")) {
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
    }
    for (const Option &o : kOptions)
        if (o.name == name)
            return &o;
    return nullptr;
}

Expected reference(const std::vector<std::string> &args)
{
    Expected e;
    Seen seen;
    bool ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (ended || arg.empty() || arg[0] != '-' || arg == "-") {
            e.line.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            ended = true;
            continue;
        }
        std::optional<std::string> value;
        const Option *option = optionOf(arg, value);
        if (!option)
            return failure(arg);
        if (option->effect == Effect::Help || option->effect == Effect::Version) {
            Expected answer;
            answer.line.mode = option->effect == Effect::Help ? Mode::Help : Mode::Version;
            return answer;
        }
        if (option->takesValue) {
            if (!value) {
                if (i + 1 == args.size())
                    return failure();
                value = args[++i];
            }
            if (!applyValue(*option, *value, e, seen))
                return failure(*value);
        } else if (value) {
            return failure(arg);
        }
        seen.stats = seen.stats || option->effect == Effect::Stats;
        seen.chart = seen.chart || option->effect == Effect::Chart;
        if (option->effect == Effect::Json)
            e.line.format = Format::Json;
        if (option->effect == Effect::Portrait)
            e.line.portrait = true;
        if (option->uses != 0)
            seen.batched.push_back(option);
    }
    return finish(std::move(e), seen);
}

bool same(const CommandLine &a, const CommandLine &b)
{
    return a.mode == b.mode && a.sigma == b.sigma && a.format == b.format && a.files == b.files
           && a.column == b.column && a.error == b.error && a.chartType == b.chartType
           && a.subgroupSize == b.subgroupSize && a.upper == b.upper && a.lower == b.lower
           && a.output == b.output && a.portrait == b.portrait;
}

std::string described(const std::vector<std::string> &args)
{
    std::string text;
    for (const std::string &arg : args)
        text += "[" + arg + "] ";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::string> args;
    if (size > 0) {
        const std::string_view bytes(reinterpret_cast<const char *>(data), size);
        std::size_t start = 0;
        for (;;) {
            const std::size_t nul = bytes.find('\0', start);
            std::string arg(bytes.substr(start, nul == std::string_view::npos ? nul : nul - start));
            if (arg.size() == 1 && static_cast<unsigned char>(arg[0]) < std::size(kWords))
                arg = kWords[static_cast<unsigned char>(arg[0])];
            args.push_back(std::move(arg));
            if (nul == std::string_view::npos)
                break;
            start = nul + 1;
        }
    }

    const CommandLine line = cli::parseCommandLine(args);
    const std::string shown = described(args);
    fuzz::check(same(line, cli::parseCommandLine(args)), "parsing twice differs", shown);
    for (const std::string &arg : args)
    {
        fuzz::check(cli::sigmaChoice(arg) == allowedSigma(arg), "sigmaChoice differs from the rules",
                    arg);
        fuzz::check(cli::columnNumber(arg) == allowedColumn(arg),
                    "columnNumber differs from the rules", arg);
    }

    const Expected expected = reference(args);
    fuzz::check(line.mode == expected.line.mode, "a different mode", shown + " | " + line.error);
    if (line.mode == Mode::Error) {
        fuzz::check(!line.error.empty(), "an error without a message", shown);
        fuzz::check(line.error.find(expected.culprit) != std::string::npos,
                    "the message does not name the argument at fault", shown + " | " + line.error);
        return 0;
    }
    fuzz::check(line.error.empty(), "a message without an error", shown + " | " + line.error);
    fuzz::check(line.files == expected.line.files, "different files", shown);
    fuzz::check(line.sigma == expected.line.sigma, "a different sigma choice", shown);
    fuzz::check(line.format == expected.line.format, "a different format", shown);
    fuzz::check(line.column == expected.line.column, "a different column", shown);
    fuzz::check(line.mode != Mode::Stats || !line.files.empty(), "statistics of no file", shown);
    if (line.mode == Mode::Chart || line.mode == Mode::Stats) {
        fuzz::check(line.chartType == expected.line.chartType, "a different chart type", shown);
        fuzz::check(line.subgroupSize == expected.line.subgroupSize, "a different subgroup", shown);
        fuzz::check(line.upper == expected.line.upper && line.lower == expected.line.lower,
                    "a different tolerance", shown);
        fuzz::check(line.output == expected.line.output, "a different output", shown);
        fuzz::check(line.portrait == expected.line.portrait, "a different paper", shown);
    }
    fuzz::check(line.mode != Mode::Chart || (line.files.size() == 1 && allowedOutput(line.output)),
                "a chart of other than one file or into another format", shown);
    for (const std::string &arg : args)
    {
        fuzz::check(cli::isChartOutputPath(arg) == allowedOutput(arg),
                    "isChartOutputPath differs from the rules", arg);
        fuzz::check(cli::isRecordPath(arg) == pdfOutput(arg), "isRecordPath differs from the rules", arg);
    }
    return 0;
}
