#include "cli/CommandLine.h"

#include "stats/Statistics.h"

#include "stats/Chart.h"

#include <algorithm>
#include <cctype>
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

bool setType(CommandLine &line, std::string_view value)
{
    const std::optional<stats::ChartType> kind = chartKind(value);
    line.chartType = kind.value_or(stats::ChartType::Run);
    line.chartTypeGiven = true;
    return kind.has_value();
}

bool setSubgroup(CommandLine &line, std::string_view value)
{
    const std::size_t size = columnNumber(value);
    line.subgroupSize = static_cast<int>(size);
    line.subgroupGiven = true;
    return size >= kSmallestSubgroup && size <= kLargestSubgroup;
}

// A tolerance limit reads as the chart window's box reads it: blanks give no
// limit, text without a number is refused rather than taken as 0.
bool setLimit(std::optional<double> &limit, std::string_view value)
{
    const stats::ToleranceReading reading = stats::readToleranceLimit(value);
    limit.reset();
    if (reading.entry == stats::ToleranceEntry::Number)
        limit = reading.value;
    return reading.entry != stats::ToleranceEntry::NotNumber;
}

bool setUpper(CommandLine &line, std::string_view value)
{
    return setLimit(line.upper, value);
}

bool setLower(CommandLine &line, std::string_view value)
{
    return setLimit(line.lower, value);
}

bool setOutput(CommandLine &line, std::string_view value)
{
    line.output = value;
    return isChartOutputPath(value);
}

/// Which batch an option belongs to.
enum Uses : unsigned {
    kAnywhere = 0,
    kWithStats = 1,
    kWithChart = 2,
    kWithBoth = kWithStats | kWithChart,
};

/// One option of the command line.
struct Option
{
    std::string_view name;
    /// Help or Version answer at once, whatever follows; Stats and Chart turn
    /// a batch on; Window is any other option.
    Mode mode = Mode::Window;
    unsigned uses = kAnywhere;     ///< the batches the option belongs to
    Format format = Format::Table; ///< Json: the option picks JSON
    /// Sets the option's value ("--name=value" or the next argument); false
    /// for a wrong one. nullptr for an option that takes no value.
    bool (*setValue)(CommandLine &, std::string_view) = nullptr;
    const char *valueMissing = nullptr; ///< the message when no value follows
    const char *valueWrong = nullptr;   ///< the message before a wrong value
    bool CommandLine::*flag = nullptr;  ///< what an option without a value turns on
};

const Option kOptions[] = {
    {"--help", Mode::Help},
    {"-h", Mode::Help},
    {"--version", Mode::Version},
    {"--stats", Mode::Stats},
    {"--chart", Mode::Chart},
    {"--json", Mode::Window, kWithStats, Format::Json},
    {"--sigma", Mode::Window, kWithBoth, Format::Table, setSigma,
     "--sigma の後に 3σ、2σ、1σ のどれかを指定してください。",
     "--sigma に指定できるのは 3、2、1（σ を付けても可）です: "},
    {"--column", Mode::Window, kWithBoth, Format::Table, setColumn,
     "--column の後に列の番号（1 から数えます）を指定してください。",
     "--column に指定できるのは 1 以上の整数です: "},
    {"--type", Mode::Window, kWithBoth, Format::Table, setType,
     "--type の後に run、xrs、xbar-r のどれかを指定してください。",
     "--type に指定できるのは run、xrs、xbar-r です: "},
    {"--subgroup", Mode::Window, kWithBoth, Format::Table, setSubgroup,
     "--subgroup の後に群の大きさ（2 から 10）を指定してください。",
     "--subgroup に指定できるのは 2 から 10 の整数です: "},
    {"--upper", Mode::Window, kWithBoth, Format::Table, setUpper,
     "--upper の後に規格上限を指定してください。",
     "--upper の値を数値として読めません: "},
    {"--lower", Mode::Window, kWithBoth, Format::Table, setLower,
     "--lower の後に規格下限を指定してください。",
     "--lower の値を数値として読めません: "},
    {"-o", Mode::Window, kWithChart, Format::Table, setOutput,
     "-o の後に書き出すファイル（.png か .pdf）を指定してください。",
     "-o のファイル名は .png か .pdf で終えてください: "},
    {"--portrait", Mode::Window, kWithChart, Format::Table, nullptr, nullptr, nullptr,
     &CommandLine::portrait},
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
    bool stats = false;                  ///< --stats seen
    bool chart = false;                  ///< --chart seen
    std::vector<const Option *> batched; ///< the batch options seen, in order
    bool optionsEnded = false;           ///< "--" seen
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

// Notes what a valid option turns on.
void noteOption(const Option &option, Parsing &parsing)
{
    parsing.stats = parsing.stats || option.mode == Mode::Stats;
    parsing.chart = parsing.chart || option.mode == Mode::Chart;
    if (option.format == Format::Json)
        parsing.line.format = Format::Json;
    if (option.flag)
        parsing.line.*option.flag = true;
    if (option.uses != kAnywhere)
        parsing.batched.push_back(&option);
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
    noteOption(*option, parsing);
    return std::nullopt;
}

std::string belongsText(const Option &option)
{
    const char *batch = option.uses == kWithStats   ? "--stats"
                        : option.uses == kWithChart ? "--chart"
                                                    : "--stats か --chart";
    return std::string(option.name) + " は " + batch + " と一緒に使います。";
}

// The first batch option that does not belong to `mode` (Window: to no batch).
const Option *misplacedOption(const Parsing &parsing, Mode mode)
{
    const unsigned batch = mode == Mode::Stats   ? kWithStats
                           : mode == Mode::Chart ? kWithChart
                                                 : kAnywhere;
    for (const Option *option : parsing.batched)
        if ((option->uses & batch) == 0)
            return option;
    return nullptr;
}

// --stats wants a file and reads standard input once; --type goes with its
// JSON only, which has room for the control charts.
CommandLine finishedStats(CommandLine line)
{
    if (line.files.empty())
        return failed("--stats には計算するファイルを指定してください。");
    if (std::count(line.files.begin(), line.files.end(), kStandardInput) > 1)
        return failed("標準入力（-）を指定できるのは 1 度だけです: " + quoted(kStandardInput));
    if (line.chartTypeGiven && line.format != Format::Json)
        return failed("--stats の --type は --json と一緒に使います（表には管理図の列がありません）。");
    if (line.chartTypeGiven && line.chartType == stats::ChartType::Run)
        return failed("--stats --json の --type に指定できるのは xrs か xbar-r です: "
                      + quoted("run"));
    line.mode = Mode::Stats;
    return line;
}

// --chart draws one file into the picture -o names.
CommandLine finishedChart(CommandLine line)
{
    if (line.files.empty())
        return failed("--chart には管理図を描くファイルを 1 つ指定してください。");
    if (line.files.size() > 1)
        return failed("--chart に指定できるファイルは 1 つだけです: " + quoted(line.files[1]));
    if (line.output.empty())
        return failed("--chart には -o で書き出すファイル（.png か .pdf）を指定してください。");
    if (line.portrait && !isRecordPath(line.output))
        return failed("--portrait は PDF の記録（-o OUT.pdf）と一緒に使います: " + quoted(line.output));
    line.mode = Mode::Chart;
    return line;
}

// The whole line read: the batch's options want their batch, and each batch
// its files.
CommandLine finished(Parsing parsing)
{
    CommandLine &line = parsing.line;
    if (parsing.stats && parsing.chart)
        return failed("--stats と --chart は一緒に使えません。");
    const Mode mode = parsing.stats ? Mode::Stats : parsing.chart ? Mode::Chart : Mode::Window;
    if (const Option *misplaced = misplacedOption(parsing, mode))
        return failed(belongsText(*misplaced));
    if (line.subgroupGiven && line.chartType != stats::ChartType::MeansRanges)
        return failed("--subgroup は --type xbar-r と一緒に使います。");
    if (mode == Mode::Window)
        return line;
    return mode == Mode::Stats ? finishedStats(std::move(line)) : finishedChart(std::move(line));
}

} // namespace

std::string sigmaChoice(std::string_view text)
{
    // The forms the window's drop-down takes ("２σ", "2 Σ", "3"), in the
    // calculation's own reading.
    const int k = stats::sigmaMultiple(text);
    if (k == 0)
        return {};
    return std::to_string(k) + std::string(kSigmaSign);
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

namespace {

constexpr stats::ChartType kChartKinds[] = {
    stats::ChartType::Run, stats::ChartType::IndividualsMovingRange, stats::ChartType::MeansRanges};

} // namespace

std::string_view chartKindName(stats::ChartType kind)
{
    switch (kind) {
    case stats::ChartType::Run: return "run";
    case stats::ChartType::IndividualsMovingRange: return "xrs";
    case stats::ChartType::MeansRanges: return "xbar-r";
    }
    return {};
}

std::optional<stats::ChartType> chartKind(std::string_view text)
{
    for (const stats::ChartType kind : kChartKinds)
        if (chartKindName(kind) == text)
            return kind;
    return std::nullopt;
}

namespace {

/// The last four characters in lower case (".png", ".pdf"), after at least
/// one more; empty for a shorter path.
std::string outputSuffix(std::string_view path)
{
    constexpr std::size_t kSuffix = 4;
    if (path.size() <= kSuffix)
        return std::string();
    std::string suffix(path.substr(path.size() - kSuffix));
    for (char &c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return suffix;
}

} // namespace

bool isChartOutputPath(std::string_view path)
{
    const std::string suffix = outputSuffix(path);
    return suffix == ".png" || suffix == ".pdf";
}

bool isRecordPath(std::string_view path)
{
    return outputSuffix(path) == ".pdf";
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

namespace {

constexpr const char kUsageLines[] =
    "使い方: vorla [ファイル...]\n"
    "        vorla --stats [--sigma 3σ|2σ|1σ] [--column N] [--upper U] [--lower L]\n"
    "              [--json [--type xrs|xbar-r [--subgroup N]]] ファイル...|シート.vorla|-\n"
    "        vorla --chart ファイル|- -o 出力.png|出力.pdf [--type run|xrs|xbar-r]\n"
    "              [--subgroup N] [--upper U] [--lower L] [--sigma K] [--column N]\n"
    "              [--portrait]\n";

} // namespace

std::string usageText()
{
    return std::string(kUsageLines) + "詳しくは vorla --help か man vorla を見てください。\n";
}

std::string helpText()
{
    return std::string(kUsageLines)
           + "\n"
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
             "  --json           タブ区切りの代わりに JSON で書きます。結果の欄の文字に加えて、\n"
             "                   「numbers」に各値を丸めない数値で書きます。\n"
             "  --type T         管理図の種類。run（折れ線グラフとヒストグラム、--chart だけ）、\n"
             "                   xrs（X-Rs 管理図）、xbar-r（X̄-R 管理図）。--stats では --json\n"
             "                   と一緒に使い、「controlChart」に両方の管理図の中心線と管理限界、\n"
             "                   異常の判定（判定 1〜8 をすべて使います）を書きます。\n"
             "  --subgroup N     X̄-R 管理図の群の大きさ（2 から 10）。指定しなければ 5 です。\n"
             "  --chart          ウィンドウを開かず、1 つのファイルの「グラフ」の絵（グラフと\n"
             "                   数値）を -o のファイルに書きます。画面がなくても動きます。\n"
             "  -o 出力          --chart の書き出し先。.png なら PNG 画像、.pdf なら A4 横の\n"
             "                   記録（グラフ、数値、異常の判定、すべてのデータ）です。\n"
             "  --portrait       .pdf の記録を A4 縦にします。\n"
             "  --upper U        規格上限（グラフの「規格上限」の欄と同じ読み方）。--stats では\n"
             "                   工程能力指数 Cp、Cpk（群内の σ: 値を 1 つずつ並べた R̄s/1.128）、\n"
             "                   Pp、Ppk（全体の s）と推定不良率を加えます。シートでは\n"
             "                   シートの規格の代わりに使います。\n"
             "  --lower L        規格下限。\n"
             "  シート.vorla     管理図シート。--stats --json で、期ごとの管理線、異常の判定、\n"
             "                   工程能力（95 % 信頼区間、正規性の検定つき）を書きます。\n"
             "                   --chart では、シートの管理図を期ごとの管理線とともに描きます。\n"
             "  -                ファイルの代わりに標準入力から値を読みます\n"
             "                   （ファイルと同じ読み方で、名前は「-」。1 度だけ指定できます）。\n"
             "                   「-」という名前のファイルは ./- と書きます。\n"
             "  -h, --help       この説明を表示して終了します。\n"
             "      --version    版を表示して終了します。\n"
             "\n"
             "読めないファイルや値のないファイルは、標準エラー出力にファイル名と理由を書き、\n"
             "残りのファイルの計算を続けます。そのときの終了ステータスは 1 です。\n"
             "--chart では、ファイルを読めないときや管理図を描けないときが 1 です。\n"
             "コマンドラインの誤りは 2 です。\n";
}

} // namespace cli
