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
//  - the output format.
// Parsing the same list twice gives the same result.

#include "FuzzCheck.h"

#include "cli/CommandLine.h"

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
    "--column", "0",      "12",      "1000001", "--column=2",
};

/// The --sigma values the rules allow and the choice each gives.
struct SigmaValue
{
    std::string_view text;
    std::string_view choice;
};
constexpr SigmaValue kSigmaValues[] = {
    {"3", "3σ"}, {"2", "2σ"}, {"1", "1σ"}, {"3σ", "3σ"}, {"2σ", "2σ"}, {"1σ", "1σ"},
};

std::string allowedSigma(std::string_view text)
{
    for (const SigmaValue &v : kSigmaValues)
        if (v.text == text)
            return std::string(v.choice);
    return {};
}

/// What an option does.
enum class Effect { Help, Version, Stats, Json, Sigma, Column };

struct Option
{
    std::string_view name;
    Effect effect;
    bool takesValue; ///< reads "=value" or the next argument
};

// Long options may be written "--name=value"; an option that takes no value
// refuses one, except --help and --version, which answer whatever follows.
constexpr Option kOptions[] = {
    {"--help", Effect::Help, false},   {"-h", Effect::Help, false},
    {"--version", Effect::Version, false}, {"--stats", Effect::Stats, false},
    {"--json", Effect::Json, false},   {"--sigma", Effect::Sigma, true},
    {"--column", Effect::Column, true},
};

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

Expected reference(const std::vector<std::string> &args)
{
    Expected e;
    bool stats = false;
    bool statsOnly = false;
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
        std::string name = arg;
        std::optional<std::string> value;
        if (arg.starts_with("--")) {
            if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
                name = arg.substr(0, equals);
                value = arg.substr(equals + 1);
            }
        }
        const Option *option = nullptr;
        for (const Option &o : kOptions)
            if (o.name == name)
                option = &o;
        if (!option)
            return failure(arg);
        switch (option->effect) {
        case Effect::Help:
        case Effect::Version: {
            Expected answer;
            answer.line.mode = option->effect == Effect::Help ? Mode::Help : Mode::Version;
            return answer;
        }
        case Effect::Stats:
        case Effect::Json:
            if (value)
                return failure(arg);
            if (option->effect == Effect::Stats) {
                stats = true;
            } else {
                e.line.format = Format::Json;
                statsOnly = true;
            }
            break;
        case Effect::Sigma:
            if (!value) {
                if (i + 1 == args.size())
                    return failure();
                value = args[++i];
            }
            e.line.sigma = allowedSigma(*value);
            if (e.line.sigma.empty())
                return failure(*value);
            statsOnly = true;
            break;
        case Effect::Column:
            if (!value) {
                if (i + 1 == args.size())
                    return failure();
                value = args[++i];
            }
            e.line.column = allowedColumn(*value);
            if (e.line.column == 0)
                return failure(*value);
            statsOnly = true;
            break;
        }
    }
    if (!stats)
        return statsOnly ? failure() : e;
    if (e.line.files.empty())
        return failure();
    if (std::count(e.line.files.begin(), e.line.files.end(), "-") > 1)
        return failure("-"); // standard input can be read only once
    e.line.mode = Mode::Stats;
    return e;
}

bool same(const CommandLine &a, const CommandLine &b)
{
    return a.mode == b.mode && a.sigma == b.sigma && a.format == b.format && a.files == b.files
           && a.column == b.column && a.error == b.error;
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
    return 0;
}
