#include "cli/CommandLine.h"

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
    CommandLine line;
    bool stats = false;
    bool statsOnlyOption = false; // --sigma, --column or --json seen
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            line.files.emplace_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.starts_with("--") ? arg.substr(0, equals) : arg;
        const bool hasValue = arg.starts_with("--") && equals != std::string_view::npos;
        if (arg == "--") {
            optionsEnded = true;
        } else if (name == "--help" || name == "-h") {
            return only(Mode::Help);
        } else if (name == "--version") {
            return only(Mode::Version);
        } else if (name == "--stats" && !hasValue) {
            stats = true;
        } else if (name == "--json" && !hasValue) {
            line.format = Format::Json;
            statsOnlyOption = true;
        } else if (name == "--sigma" || name == "--column") {
            // The value is "--opt=value" or the next argument.
            const bool valueGiven = hasValue || i + 1 < args.size();
            const std::string_view value =
                hasValue ? arg.substr(equals + 1) : valueGiven ? std::string_view(args[++i]) : "";
            if (name == "--sigma") {
                if (!valueGiven)
                    return failed("--sigma の後に 3σ、2σ、1σ のどれかを指定してください。");
                line.sigma = sigmaChoice(value);
                if (line.sigma.empty())
                    return failed("--sigma に指定できるのは 3、2、1（σ を付けても可）です: "
                                  + quoted(value));
            } else {
                if (!valueGiven)
                    return failed("--column の後に列の番号（1 から数えます）を指定してください。");
                line.column = columnNumber(value);
                if (line.column == 0)
                    return failed("--column に指定できるのは 1 以上の整数です: " + quoted(value));
            }
            statsOnlyOption = true;
        } else if (hasValue && (name == "--stats" || name == "--json")) {
            return failed(std::string(name) + " は値を取りません: " + quoted(arg));
        } else {
            return failed("不明なオプションです: " + quoted(arg));
        }
    }
    if (!stats) {
        if (statsOnlyOption)
            return failed("--sigma、--column と --json は --stats と一緒に使います。");
        return line;
    }
    if (line.files.empty())
        return failed("--stats には計算するファイルを指定してください。");
    line.mode = Mode::Stats;
    return line;
}

std::string usageText()
{
    return "使い方: vorla [ファイル...]\n"
           "        vorla --stats [--sigma 3σ|2σ|1σ] [--column N] [--json] ファイル...\n"
           "詳しくは vorla --help か man vorla を見てください。\n";
}

std::string helpText()
{
    return "使い方: vorla [ファイル...]\n"
           "        vorla --stats [--sigma 3σ|2σ|1σ] [--column N] [--json] ファイル...\n"
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
           "  -h, --help       この説明を表示して終了します。\n"
           "      --version    版を表示して終了します。\n"
           "\n"
           "読めないファイルや値のないファイルは、標準エラー出力にファイル名と理由を書き、\n"
           "残りのファイルの計算を続けます。そのときの終了ステータスは 1 です。\n"
           "コマンドラインの誤りは 2 です。\n";
}

} // namespace cli
