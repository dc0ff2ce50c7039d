#include "cli/CommandLine.h"

#include <algorithm>
#include <optional>

namespace cli {

namespace {

constexpr std::string_view kSigmaSign = "σ";

CommandLine only(Mode mode, std::string error = {})
{
    CommandLine line;
    line.mode = mode;
    line.error = std::move(error);
    return line;
}

CommandLine failed(std::string message)
{
    return only(Mode::Error, std::move(message));
}

std::string quoted(std::string_view text)
{
    return "「" + std::string(text) + "」";
}

bool setSigma(CommandLine &line, std::string_view value)
{
    line.sigma = sigmaChoice(value);
    return !line.sigma.empty();
}

bool setColumn(CommandLine &line, std::string_view value)
{
    line.column = columnNumber(value);
    return line.column != 0;
}

/// One option of the command line.
struct Option
{
    std::string_view name;
    /// Help or Version answer at once, whatever follows; Stats turns the batch
    /// on; Window is any other option.
    Mode mode = Mode::Window;
    Format format = Format::Table; ///< Json: the option picks JSON
    /// Sets the option's value ("--name=value" or the next argument); false
    /// for a wrong one. nullptr for an option that takes no value.
    bool (*setValue)(CommandLine &, std::string_view) = nullptr;
    const char *valueMissing = nullptr; ///< the message when no value follows
    const char *valueWrong = nullptr;   ///< the message before a wrong value
};

// Every option but --help and --stats belongs to the batch.
const Option kOptions[] = {
    {"--help", Mode::Help},
    {"-h", Mode::Help},
    {"--version", Mode::Version},
    {"--stats", Mode::Stats},
    {"--json", Mode::Window, Format::Json},
    {"--sigma", Mode::Window, Format::Table, setSigma,
     "--sigma の後に 3σ、2σ、1σ のどれかを指定してください。",
     "--sigma に指定できるのは 3、2、1（σ を付けても可）です: "},
    {"--column", Mode::Window, Format::Table, setColumn,
     "--column の後に列の番号（1 から数えます）を指定してください。",
     "--column に指定できるのは 1 以上の整数です: "},
};

const Option *findOption(std::string_view name)
{
    for (const Option &option : kOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

/// What has been read of the line so far.
struct Parsing
{
    CommandLine line;
    bool stats = false;           ///< --stats seen
    bool statsOnlyOption = false; ///< --sigma, --column or --json seen
    bool optionsEnded = false;    ///< "--" seen
};

// Takes the value of the option at `i`, from "=value" or the next argument
// (which it moves `i` past); the error to answer with, or nullopt.
std::optional<CommandLine> readValue(const Option &option, std::optional<std::string_view> value,
                                     const std::vector<std::string> &args, std::size_t &i,
                                     CommandLine &line)
{
    if (!value && i + 1 < args.size())
        value = args[++i];
    if (!value)
        return failed(option.valueMissing);
    if (!option.setValue(line, *value))
        return failed(option.valueWrong + quoted(*value));
    return std::nullopt;
}

// Reads the option at `i` into `parsing`; the line to answer with at once (an
// error, --help or --version), or nullopt to read on.
std::optional<CommandLine> readOption(const std::vector<std::string> &args, std::size_t &i,
                                      Parsing &parsing)
{
    const std::string_view arg = args[i];
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    const std::optional<std::string_view> value =
        equals == std::string_view::npos ? std::nullopt
                                         : std::optional(arg.substr(equals + 1));
    const Option *option = findOption(name);
    if (!option)
        return failed("不明なオプションです: " + quoted(arg));
    if (option->mode == Mode::Help || option->mode == Mode::Version)
        return only(option->mode);
    if (option->setValue) {
        if (std::optional<CommandLine> error = readValue(*option, value, args, i, parsing.line))
            return error;
    } else if (value) {
        return failed(std::string(name) + " は値を取りません: " + quoted(arg));
    }
    parsing.stats = parsing.stats || option->mode == Mode::Stats;
    if (option->format == Format::Json)
        parsing.line.format = Format::Json;
    parsing.statsOnlyOption = parsing.statsOnlyOption || option->mode != Mode::Stats;
    return std::nullopt;
}

// The whole line read: the batch's options want --stats, and --stats wants a
// file; standard input can be read only once.
CommandLine finished(Parsing parsing)
{
    CommandLine &line = parsing.line;
    if (!parsing.stats)
        return parsing.statsOnlyOption
                   ? failed("--sigma、--column と --json は --stats と一緒に使います。")
                   : line;
    if (line.files.empty())
        return failed("--stats には計算するファイルを指定してください。");
    if (std::count(line.files.begin(), line.files.end(), kStandardInput) > 1)
        return failed("標準入力（-）を指定できるのは 1 度だけです: " + quoted(kStandardInput));
    line.mode = Mode::Stats;
    return line;
}

} // namespace

std::string sigmaChoice(std::string_view text)
{
    if (text.size() > kSigmaSign.size() && text.ends_with(kSigmaSign))
        text.remove_suffix(kSigmaSign.size());
    for (const std::string_view k : {"3", "2", "1"})
        if (text == k)
            return std::string(k) + std::string(kSigmaSign);
    return {};
}

std::size_t columnNumber(std::string_view text)
{
    // A cap far beyond any real table, so that the number never overflows.
    constexpr std::size_t kMaxColumn = 1000000;
    if (text.empty() || text.size() > 7)
        return 0;
    std::size_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    return number <= kMaxColumn ? number : 0;
}

CommandLine parseCommandLine(const std::vector<std::string> &args)
{
    Parsing parsing;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (parsing.optionsEnded || arg.empty() || arg[0] != '-' || arg == kStandardInput) {
            parsing.line.files.emplace_back(arg);
        } else if (arg == "--") {
            parsing.optionsEnded = true;
        } else if (std::optional<CommandLine> answer = readOption(args, i, parsing)) {
            return *answer;
        }
    }
    return finished(std::move(parsing));
}

std::string usageText()
{
    return "使い方: vorla [ファイル...]\n"
           "        vorla --stats [--sigma 3σ|2σ|1σ] [--column N] [--json] ファイル...|-\n"
           "詳しくは vorla --help か man vorla を見てください。\n";
}

std::string helpText()
{
    return "使い方: vorla [ファイル...]\n"
           "        vorla --stats [--sigma 3σ|2σ|1σ] [--column N] [--json] ファイル...|-\n"
           "\n"
           "ファイルを指定せずに起動すると、Vorla のウィンドウが開きます。ファイルを指定すると、\n"
           "「ファイルを開く」と同じように、指定した順に一覧へ読み込みます。\n"
           "\n"
           "  --stats          ウィンドウを開かず、ファイルごとに「演算開始」の結果を\n"
           "                   標準出力に書きます（タブ区切り、1 行目は見出し）。\n"
           "                   画面（X や Wayland）がなくても動きます。\n"
           "  --sigma K        上限と下限に使う σ の倍数。3、2、1（3σ のように σ を\n"
           "                   付けても可）。指定しなければ 3σ です。\n"
           "  --column N       表のファイル（CSV など、コンマ・タブ・セミコロンで区切った\n"
           "                   列のあるもの）から N 列目（1 から数えます）を読みます。\n"
           "                   指定しなければ、ウィンドウが選んでおく列（数値の最も多い列）\n"
           "                   を読み、どの列かを標準エラー出力に書きます。\n"
           "  --json           タブ区切りの代わりに JSON で書きます。\n"
           "  -                --stats のファイルの代わりに標準入力から値を読みます\n"
           "                   （ファイルと同じ読み方で、名前は「-」。1 度だけ指定できます）。\n"
           "                   「-」という名前のファイルは ./- と書きます。\n"
           "  -h, --help       この説明を表示して終了します。\n"
           "      --version    版を表示して終了します。\n"
           "\n"
           "読めないファイルや値のないファイルは、標準エラー出力にファイル名と理由を書き、\n"
           "残りのファイルの計算を続けます。そのときの終了ステータスは 1 です。\n"
           "コマンドラインの誤りは 2 です。\n";
}

} // namespace cli
