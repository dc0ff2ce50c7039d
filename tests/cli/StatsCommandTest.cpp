// Runs the built program the way a shell or a script would, on a machine with
// no display: no DISPLAY, no WAYLAND_DISPLAY, no QT_QPA_PLATFORM. The printed
// results are literal rows, each worked out by hand from the file's values
// (population σ, limits mean ± kσ, texts as the result boxes show them).

#include "RowName.h"
#include "TestFiles.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

/// The program with these arguments, in `folder`, with no display at all,
/// `input` on its standard input. QT_DEBUG_PLUGINS makes any search for a Qt
/// plugin show on standard error.
Result runVorla(const QStringList &args, const QString &folder, const QByteArray &input = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
#ifndef _WIN32
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
#else
    // Windows has no display to take away; wine, which the tests run under
    // here, needs its X display for any program.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
#endif
    env.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VORLA_BINARY), args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

const char kHeader[] = "ファイル\tデータ数\t平均\t標準偏差\t上限\t下限\t上限超え個数\t"
                       "上限超え%\t下限超え個数\t下限超え%\t最大値\t最小値\n";

/// One printed line: the file's name, then its eleven texts, tab-separated.
std::string tabJoined(const std::string &file, const char *texts)
{
    return file + "\t" + texts + "\n";
}

// The eleven texts of the files the suites share, at 3σ. Worked by hand:
// mean, σ = sqrt(Σ(x - mean)² / n), limits mean ± 3σ, counts beyond them.
// 測定値 (read as 0), 10, 20, 30: mean 15, σ = sqrt(500 / 4) = 11.1803, 15 ± 33.541.
const char kShiftJisRow[] = "4\t15\t11.1803\t48.541\t-18.541\t0\t0\t0\t0\t30\t測定値";
// 1, 2, 3, 4: mean 2.5, σ = sqrt(5 / 4) = 1.118, 2.5 ± 3.3541.
const char kPlainRow[] = "4\t2.5\t1.118\t5.8541\t-.8541\t0\t0\t0\t0\t4\t1";
// ﾂｱ0.1 alone (read as 0): σ 0, so both limits are 0 too.
const char kBothRow[] = "1\t0\t.\t.\t.\t0\t0\t0\t0\tﾂｱ0.1\tﾂｱ0.1";

class StatsCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // 測定値 (Shift JIS), then values; the first item stays the minimum box's text.
        writeFile(path("shiftjis.txt"), "\x91\xaa\x92\xe8\x92\x6c\r\n10\r\n\r\n20\r\n30\r\n\r\n");
        writeFile(path("plain.txt"), "1\r\n2\r\n3\r\n4");
        writeFile(path("empty.txt"), "\r\n\r\n");
        writeFile(path("binary.txt"), QByteArray("1\r\n\0\r\n", 6));
        // Saved-file shape, readable as Shift JIS ﾂｱ0.1 and as UTF-8 ±0.1.
        writeFile(path("both.txt"), "\xC2\xB1" "0.1\r\n\r\n");
        // The same three values with each kind of line end.
        writeFile(path("lf.txt"), "12.5\n13.1\n12.8\n");
        writeFile(path("cr.txt"), "12.5\r13.1\r\r12.8");
        writeFile(path("mixed.txt"), "12.5\n13.1\r\n\n12.8\r");
    }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    Result run(const QStringList &args) const { return runVorla(args, m_dir.path()); }

    QTemporaryDir m_dir;
};

TEST_F(StatsCommandTest, TablePrintsEachReadableFileAndNamesTheOthers)
{
    const Result r = run({"--stats", "shiftjis.txt", "empty.txt", "binary.txt", "missing.txt",
                       "plain.txt", "both.txt"});

    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kHeader + tabJoined("shiftjis.txt", kShiftJisRow)
                         + tabJoined("plain.txt", kPlainRow) + tabJoined("both.txt", kBothRow));
    // The window would have asked; the batch takes the default and says so.
    EXPECT_THAT(r.err, HasSubstr("vorla: both.txt: 1 行目は UTF-8 としても読めるため、"
                                 "Shift JIS として読みました"));
    EXPECT_THAT(r.err, HasSubstr("vorla: empty.txt: 値が 1 つもありません。\n"));
    EXPECT_THAT(r.err, HasSubstr("vorla: binary.txt: テキストファイルではありません"));
    EXPECT_THAT(r.err, HasSubstr("vorla: missing.txt: ファイルが見つかりません。\n"));
    EXPECT_THAT(r.err, Not(HasSubstr("QFactoryLoader"))); // no plugin was looked for
}

// Names beyond what a narrow code page holds (é and 😀 are in none of
// Japanese Windows'), from the command line to the file and back to the table.
struct NameCase
{
    const char *name;
    const char *file; // UTF-8
};

class StatsFileNameTest : public StatsCommandTest, public ::testing::WithParamInterface<NameCase>
{
};

TEST_P(StatsFileNameTest, OpensAndNamesTheFileAsGiven)
{
    const NameCase &c = GetParam();
    const QString file = QString::fromUtf8(c.file);
    writeFile(m_dir.filePath(file), "1\r\n2\r\n3\r\n4");
    const Result r = run({"--stats", file});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, kHeader + tabJoined(c.file, kPlainRow));
}

const NameCase kNameCases[] = {
    {"Kanji", "測定値.txt"},
    {"HalfWidthKana", "ｹﾞｰｼﾞ.txt"},
    {"Latin", "café.txt"},
    {"Emoji", "値😀.txt"},
    {"Spaces", "a b  c.txt"},
};
INSTANTIATE_TEST_SUITE_P(Names, StatsFileNameTest, ::testing::ValuesIn(kNameCases), RowName{});

TEST_F(StatsCommandTest, JsonHoldsTheSameTextsEscaped)
{
    // The first item is no number, so it stays the maximum box's text.
    writeFile(path("quoted.txt"), "\"x\\\ty\r\n-1\r\n-3\r\n");
    const Result r = run({"--stats", "--json", "--sigma", "1", "quoted.txt", "plain.txt"});

    ASSERT_EQ(r.status, 0) << r.err;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    const QJsonArray files = document.array();
    ASSERT_EQ(files.size(), 2);
    // At 1σ. "x\\\ty" (0), -1, -3: mean -4/3, σ = sqrt((42/9) / 3) = 1.2472,
    // limits -.0861 and -2.5806, so 0 lies above and -3 below (1 of 3: 33 %).
    // 1..4: mean 2.5, σ 1.118, limits 3.618 and 1.382: 4 above, 1 below (25 %).
    const std::vector<std::pair<const char *, std::vector<std::string>>> rows = {
        {"quoted.txt",
         {"3", "-1.33", "1.2472", "-.0861", "-2.5806", "1", "33", "1", "33", "\"x\\\ty", "-3"}},
        {"plain.txt", {"4", "2.5", "1.118", "3.618", "1.382", "1", "25", "1", "25", "4", "1"}}};
    const char *const fields[] = {"count",      "mean",         "standardDeviation", "upperLimit",
                                  "lowerLimit", "aboveCount",   "abovePercent",      "belowCount",
                                  "belowPercent", "maximum",    "minimum"};
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QJsonObject o = files[i].toObject();
        const auto &[file, texts] = rows[std::size_t(i)];
        EXPECT_EQ(o["file"].toString().toStdString(), file);
        std::vector<std::string> printed;
        for (const char *field : fields)
            printed.push_back(o[QLatin1String(field)].toString().toStdString());
        EXPECT_EQ(printed, texts) << file;
    }
    EXPECT_EQ(files[0].toObject()["maximum"].toString().toStdString(), "\"x\\\ty");
}

TEST_F(StatsCommandTest, NoFileReadableGivesEmptyJsonArray)
{
    const Result r = run({"--json", "--stats", "empty.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "[]\n");
}

struct TableCase
{
    const char *name;
    QStringList args;
    int status;
    const char *file;  // the file of the printed row; nullptr: none
    const char *texts; // that row's eleven texts
    const char *err;   // standard error, whole
};

class StatsTableTest : public StatsCommandTest, public ::testing::WithParamInterface<TableCase>
{
};

TEST_P(StatsTableTest, ReadsOneColumnAndNamesItUnlessGiven)
{
    const TableCase &c = GetParam();
    // Row numbers, then 外径 (Shift JIS), then a verdict.
    writeFile(path("table.csv"), "No,\x8a\x4f\x8c\x61,OK?\r\n1,25.01,OK\r\n2,25.00,OK\r\n"
                                 "3,24.99,NG\r\n");
    writeFile(path("tabbed.csv"), "No,d\r\n1,25.01\r\n2,\"25.00\t1\"\r\n");
    const Result r = run(c.args);
    EXPECT_EQ(r.status, c.status);
    std::string out = kHeader;
    if (c.file != nullptr)
        out += tabJoined(c.file, c.texts);
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.err, c.err);
}

// 25.01, 25.00, 24.99: mean 25, σ = sqrt(0.0002 / 3) = .0082, 25 ± .0245.
const char kDiameterRow[] = "3\t25\t.0082\t25.0245\t24.9755\t0\t0\t0\t0\t25.01\t24.99";
// 1, 2, 3: mean 2, σ = sqrt(2 / 3) = .8165, 2 ± 2.4495.
const char kOneTwoThreeRow[] = "3\t2\t.8165\t4.4495\t-.4495\t0\t0\t0\t0\t3\t1";

const TableCase kTableCases[] = {
    {"PreselectedColumnNamed", {"--stats", "table.csv"}, 0, "table.csv", kDiameterRow,
     "vorla: table.csv: 3 列の表の 2 列目を使いました（ほかの列は --column N で選べます）。\n"},
    {"GivenColumnSilent", {"--stats", "--column", "1", "table.csv"}, 0, "table.csv",
     kOneTwoThreeRow, ""},
    {"ColumnBeyondTable", {"--stats", "--column=4", "table.csv"}, 1, nullptr, nullptr,
     "vorla: table.csv: ファイルの列は 3 列しかありません（--column 4 を指定しました）。\n"},
    {"OneColumnFileSaysNothing", {"--stats", "plain.txt"}, 0, "plain.txt", kPlainRow, ""},
    {"FirstColumnOfOneColumnFile", {"--stats", "--column", "1", "plain.txt"}, 0, "plain.txt",
     kPlainRow, ""},
    {"SecondColumnOfOneColumnFile", {"--stats", "--column", "2", "plain.txt"}, 1, nullptr, nullptr,
     "vorla: plain.txt: ファイルの列は 1 列しかありません（--column 2 を指定しました）。\n"},
    {"TabInChosenValue", {"--stats", "tabbed.csv"}, 1, nullptr, nullptr,
     "vorla: tabbed.csv: 3 行目の値にタブか改行があります（一覧の値には入れられません）。\n"},
};
INSTANTIATE_TEST_SUITE_P(Files, StatsTableTest, ::testing::ValuesIn(kTableCases), RowName{});
struct LooseReadingCase
{
    const char *name;
    QByteArray file;   // the bytes of f.txt
    const char *texts; // its eleven texts
    const char *err;   // all of standard error
};

class StatsLooseReadingTest : public StatsCommandTest,
                              public ::testing::WithParamInterface<LooseReadingCase>
{
};

TEST_P(StatsLooseReadingTest, SaysWhichLinesWereNotReadWhole)
{
    const LooseReadingCase &c = GetParam();
    writeFile(path("f.txt"), c.file);
    const Result r = run({"--stats", "f.txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr(tabJoined("f.txt", c.texts)));
    EXPECT_EQ(r.err, c.err);
}

QByteArray lines(const std::vector<std::string> &items)
{
    QByteArray file;
    for (const std::string &item : items)
        file += QByteArray::fromStdString(item) + "\r\n";
    return file;
}

std::vector<std::string> thirteenWithoutNumber()
{
    std::vector<std::string> items(13, "x");
    items.push_back("5");
    return items;
}

const LooseReadingCase kLooseReadingCases[] = {
    // 1, 2, 300: mean 101, σ = sqrt(59402 / 3) = 140.7148, 101 ± 422.1445.
    {"AllReadWhole", "1\r\n 2 \r\n3e2\r\n",
     "3\t101\t140.7148\t523.1445\t-321.1445\t0\t0\t0\t0\t300\t1", ""},
    // 測定値 in Shift JIS; line 3 is empty and not an item, but lines count it.
    {"HeaderAndUnits",
     "\x91\xaa\x92\xe8\x92\x6c\r\n10\r\n\r\n12.5mm\r\n 20 \r\n1,234.5\r\n",
     // 0, 10, 12.5, 20, 1: mean 8.7, σ = sqrt(278.8 / 5) = 7.4673, 8.7 ± 22.4018.
     "5\t8.7\t7.4673\t31.1018\t-13.7018\t0\t0\t0\t0\t20\t測定値",
     "vorla: f.txt: 数値として読めない値が 1 個あります（0 として計算しました）: 1 行目\n"
     "vorla: f.txt: 数値の後に文字が続く値が 2 個あります（文字の前の数値で計算しました）: 4, 6 行目\n"},
    // Thirteen 0s and a 5: mean 5/14 = 0.36, σ = sqrt(25/14 - (5/14)²) = 1.2877;
    // 5 lies above 4.2202 (1 of 14: 7 %).
    {"ManyListedShort", lines(thirteenWithoutNumber()),
     "14\t0.36\t1.2877\t4.2202\t-3.5059\t1\t7\t0\t0\t5\tx",
     "vorla: f.txt: 数値として読めない値が 13 個あります（0 として計算しました）: "
     "1, 2, 3, 4, 5, 6, 7, 8, 9, 10 行目ほか 3 個\n"},
    // A table's values are named by their rows' lines, the header and the
    // empty line counted.
    // 25.01, 0, 25.00: mean 16.67, σ = 11.7875, 16.67 ± 35.3624.
    {"TableColumnByLine", "No,D\r\n1,25.01\r\n\r\n2,x\r\n3,25.00\r\n",
     "3\t16.67\t11.7875\t52.0324\t-18.6924\t0\t0\t0\t0\t25.01\t0",
     "vorla: f.txt: 2 列の表の 2 列目を使いました（ほかの列は --column N で選べます）。\n"
     "vorla: f.txt: 数値として読めない値が 1 個あります（0 として計算しました）: 4 行目\n"},
    // 10, 20, 30 as the window reads them: mean 20, σ = sqrt(200 / 3) = 8.1650,
    // 20 ± 24.4949; the minimum box keeps item 0's own text.
    {"BlanksInside", "1 0\r\n20\r\n3 0\r\n",
     "3\t20\t8.165\t44.4949\t-4.4949\t0\t0\t0\t0\t30\t1 0",
     "vorla: f.txt: 数字の間に空白がある値が 2 個あります（空白を詰めて読みました）: 1, 3 行目\n"},
};
INSTANTIATE_TEST_SUITE_P(Files, StatsLooseReadingTest, ::testing::ValuesIn(kLooseReadingCases),
                         RowName{});

struct UsageCase
{
    const char *name;
    QStringList args;
    int status;
    const char *out; // part of standard output
    const char *err; // part of standard error
};

class StatsUsageTest : public StatsCommandTest, public ::testing::WithParamInterface<UsageCase>
{
};

TEST_P(StatsUsageTest, AnswersWithoutDisplay)
{
    const UsageCase &c = GetParam();
    const Result r = run(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_THAT(r.out, HasSubstr(c.out));
    EXPECT_THAT(r.err, HasSubstr(c.err));
    EXPECT_THAT(r.err, Not(HasSubstr("QFactoryLoader")));
}

const UsageCase kUsageCases[] = {
    {"Help", {"--help"}, 0, "--stats", ""},
    {"Version", {"--version"}, 0, "vorla 1.", ""},
    {"UnknownOption", {"--stats", "--colour", "plain.txt"}, 2, "", "使い方: vorla"},
    {"WrongSigma", {"--stats", "--sigma", "4", "plain.txt"}, 2, "", "「4」"},
    {"JsonWithoutStats", {"--json", "plain.txt"}, 2, "", "--stats"},
    {"HelpNamesColumn", {"--help"}, 0, "--column N", ""},
    {"HelpNamesStandardInput", {"--help"}, 0, "標準入力から値を読みます", ""},
    {"ColumnZero", {"--stats", "--column", "0", "plain.txt"}, 2, "", "「0」"},
    {"ColumnNegative", {"--stats", "--column", "-2", "plain.txt"}, 2, "", "「-2」"},
    {"ColumnNotNumber", {"--stats", "--column=x", "plain.txt"}, 2, "", "「x」"},
    {"ColumnWithoutStats", {"--column", "2", "plain.txt"}, 2, "", "--stats"},
    // A file that cannot be read sets the status by itself, whatever the others give.
    {"MissingFileBesideGoodOne", {"--stats", "plain.txt", "missing.txt"}, 1, "plain.txt\t4\t",
     "vorla: missing.txt: ファイルが見つかりません。"},
    {"BinaryFileBesideGoodOne", {"--stats", "binary.txt", "plain.txt"}, 1, "plain.txt\t4\t",
     "vorla: binary.txt: テキストファイルではありません"},
    {"LfOnlyLines", {"--stats", "lf.txt"}, 0, "lf.txt\t3\t12.8\t", ""},
    {"CrOnlyLines", {"--stats", "cr.txt"}, 0, "cr.txt\t3\t12.8\t", ""},
    {"MixedLineEnds", {"--stats", "mixed.txt"}, 0, "mixed.txt\t3\t12.8\t", ""},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, StatsUsageTest, ::testing::ValuesIn(kUsageCases),
                         RowName{});

struct StdinCase
{
    const char *name;
    QStringList args;
    QByteArray input; // standard input, whole
    int status;
    const char *out;  // standard output after the header, whole
    const char *err;  // standard error, whole
};

class StatsStdinTest : public StatsCommandTest, public ::testing::WithParamInterface<StdinCase>
{
};

TEST_P(StatsStdinTest, ReadsStandardInputAsAFile)
{
    const StdinCase &c = GetParam();
    writeFile(path("-"), "1\r\n2\r\n3\r\n4"); // a file named "-", reached as ./-
    const Result r = runVorla(c.args, m_dir.path(), c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.status == 2 ? std::string() : kHeader + std::string(c.out));
    EXPECT_EQ(r.err, c.err);
}

// Exactly the cap: 2,097,152 lines of "1\n". The list takes 32,767 of them,
// all 1: σ 0, both limits 1.
QByteArray linesOfOne(qsizetype bytes)
{
    return QByteArray(bytes / 2 * 2, '1').replace("11", "1\n");
}

const StdinCase kStdinCases[] = {
    {"LfValues", {"--stats", "-"}, "1\n2\n3\n", 0, "-\t3\t2\t.8165\t4.4495\t-.4495\t0\t0\t0\t0\t3\t1\n",
     ""},
    // table.csv's bytes, 外径 in Shift JIS; the second column given.
    {"ShiftJisTableColumn", {"--stats", "--column", "2", "-"},
     "No,\x8a\x4f\x8c\x61,OK?\r\n1,25.01,OK\r\n2,25.00,OK\r\n3,24.99,NG\r\n", 0,
     "-\t3\t25\t.0082\t25.0245\t24.9755\t0\t0\t0\t0\t25.01\t24.99\n", ""},
    {"BesideAFile", {"--stats", "plain.txt", "-"}, "5\r\n", 0,
     "plain.txt\t4\t2.5\t1.118\t5.8541\t-.8541\t0\t0\t0\t0\t4\t1\n"
     "-\t1\t5\t.\t5.\t5.\t0\t0\t0\t0\t5\t5\n",
     ""},
    {"DotSlashIsTheFileNamedDash", {"--stats", "./-"}, "9\n", 0,
     "./-\t4\t2.5\t1.118\t5.8541\t-.8541\t0\t0\t0\t0\t4\t1\n", ""},
    {"EmptyIsAnEmptyFile", {"--stats", "-"}, "", 1, "", "vorla: -: 値が 1 つもありません。\n"},
    {"Binary", {"--stats", "-"}, QByteArray("1\r\n\0\r\n", 6), 1, "",
     "vorla: -: テキストファイルではありません（NUL 文字を含んでいます）。\n"},
    {"AtTheCap", {"--stats", "-"}, linesOfOne(4 * 1024 * 1024), 0,
     "-\t32767\t1\t.\t1.\t1.\t0\t0\t0\t0\t1\t1\n",
     "vorla: -: 一覧に入るのは 32,767 個までのため、2,064,385 行は計算に入れていません。\n"},
    {"BeyondTheCap", {"--stats", "-"}, linesOfOne(4 * 1024 * 1024) + "1", 1, "",
     "vorla: -: ファイルが大きすぎます（読み込めるのは 4,194,304 バイトまでです）。\n"},
    {"GivenTwice", {"--stats", "-", "--", "-"}, "1\n", 2, "",
     "vorla: 標準入力（-）を指定できるのは 1 度だけです: 「-」\n"
     "使い方: vorla [ファイル...]\n"
     "        vorla --stats [--sigma 3σ|2σ|1σ] [--column N] [--upper U] [--lower L]\n"
     "              [--json [--type xrs|xbar-r [--subgroup N]]] ファイル...|シート.vorla|-\n"
     "        vorla --chart ファイル|- -o 出力.png|出力.pdf [--type run|xrs|xbar-r]\n"
     "              [--subgroup N] [--upper U] [--lower L] [--sigma K] [--column N]\n"
     "              [--portrait]\n"
     "詳しくは vorla --help か man vorla を見てください。\n"},
};
INSTANTIATE_TEST_SUITE_P(StandardInput, StatsStdinTest, ::testing::ValuesIn(kStdinCases),
                         RowName{});

TEST_F(StatsCommandTest, JsonNamesStandardInputDash)
{
    const Result r = runVorla({"--stats", "--json", "-"}, m_dir.path(), "1\r\n2\r\n3\r\n4");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[\n  {\"file\": \"-\", \"count\": \"4\", \"mean\": \"2.5\", "
                     "\"standardDeviation\": \"1.118\", \"upperLimit\": \"5.8541\", "
                     "\"lowerLimit\": \"-.8541\", \"aboveCount\": \"0\", \"abovePercent\": \"0\", "
                     "\"belowCount\": \"0\", \"belowPercent\": \"0\", \"maximum\": \"4\", "
                     "\"minimum\": \"1\", \"numbers\": {\"count\": 4, \"mean\": 2.5, "
                     "\"standardDeviation\": 1.118033988749895, \"sigmaMultiple\": 3, "
                     "\"upperLimit\": 5.854101966249685, \"lowerLimit\": -0.8541019662496847, "
                     "\"aboveCount\": 0, \"abovePercent\": 0, \"belowCount\": 0, "
                     "\"belowPercent\": 0, \"maximum\": 4, \"minimum\": 1}}\n]\n");
}

struct ControlChartCase
{
    const char *name;
    QStringList args;
    QByteArray input;       // standard input
    int status;
    const char *series;     // "location" or "spread"
    const char *chartName;  // that series' name
    double center, upper;   // its lines, as worked by hand
    std::vector<std::vector<double>> found; // each signal's {test, number, value}
    const char *err;        // standard error, whole
};

class StatsControlChartTest : public StatsCommandTest,
                              public ::testing::WithParamInterface<ControlChartCase>
{
};

TEST_P(StatsControlChartTest, JsonGivesLimitsAndSignalsAsNumbers)
{
    const ControlChartCase &c = GetParam();
    const Result r = runVorla(c.args, m_dir.path(), c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).array();
    ASSERT_EQ(files.size(), 1) << r.out;
    const QJsonValue chart = files[0].toObject()["controlChart"];
    if (c.series == nullptr) {
        EXPECT_TRUE(chart.isNull()) << r.out;
        return;
    }
    const QJsonObject series = chart.toObject()[QLatin1String(c.series)].toObject();
    EXPECT_EQ(series["name"].toString().toStdString(), c.chartName);
    EXPECT_NEAR(series["center"].toDouble(), c.center, 1e-12);
    EXPECT_NEAR(series["upper"].toDouble(), c.upper, 1e-12);
    std::vector<std::vector<double>> found;
    for (const QJsonValue signal : series["signals"].toArray()) {
        const QJsonObject o = signal.toObject();
        found.push_back({o["test"].toDouble(), o["number"].toDouble(), o["value"].toDouble()});
    }
    EXPECT_EQ(found, c.found);
}

const QByteArray kWorkedValues = "10\n12\n11\n13\n12\n14\n";
const QByteArray kSubgroupValues = "5\n15\n5\n15\n5\n15\n5\n15\n5\n15\n40\n51\n";

const ControlChartCase kControlChartCases[] = {
    // x̄ 12, R̄s 1.6: X limits 12 ± 2.660 · 1.6, Rs upper 3.267 · 1.6.
    {"IndividualsLimits", {"--stats", "--json", "--type", "xrs", "-"}, kWorkedValues, 0,
     "location", "X", 12, 16.256, {}, ""},
    {"MovingRangeLimit", {"--stats", "--json", "--type", "xrs", "-"}, kWorkedValues, 0,
     "spread", "Rs", 1.6, 5.2272, {}, ""},
    // x̄ 11.28, R̄s 1.775: 16.3 lies above 16.0015, its range 6.2 above 5.7989.
    {"IndividualsSignal", {"--stats", "--json", "--type", "xrs", "-"},
     "10\n10.2\n9.8\n10.1\n16.3\n", 0, "location", "X", 11.28, 11.28 + 2.66 * 1.775,
     {{1, 5, 16.3}}, ""},
    // Six subgroups of two: x̿ = 191 / 12, R̄ = 61 / 6; subgroup 6's mean 45.5.
    {"SubgroupSignal", {"--stats", "--json", "--type", "xbar-r", "--subgroup", "2", "-"},
     kSubgroupValues, 0, "location", "X̄", 191.0 / 12, 191.0 / 12 + 1.880 * 61 / 6,
     {{1, 6, 45.5}}, ""},
    {"TooFewValues", {"--stats", "--json", "--type", "xrs", "-"}, "5\n", 1, nullptr, nullptr, 0,
     0, {}, "vorla: -: X-Rs 管理図には値が 2 個以上必要です。\n"},
};
INSTANTIATE_TEST_SUITE_P(ControlCharts, StatsControlChartTest,
                         ::testing::ValuesIn(kControlChartCases), RowName{});

TEST_F(StatsCommandTest, JsonNumbersReadBackAsTheSameDoubles)
{
    const Result r = runVorla({"--stats", "--json", "-"}, m_dir.path(), "0.1\n0.2\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonObject numbers = QJsonDocument::fromJson(QByteArray::fromStdString(r.out))
                                    .array()[0].toObject()["numbers"].toObject();
    // (0.1 + 0.2) / 2 is not 0.15 in doubles; the box shows "0.15".
    EXPECT_EQ(numbers["mean"].toDouble(), (0.1 + 0.2) / 2);
    EXPECT_EQ(numbers["standardDeviation"].toDouble(),
              std::sqrt((std::pow(0.1 - (0.1 + 0.2) / 2, 2) + std::pow(0.2 - (0.1 + 0.2) / 2, 2))
                        * (1.0 / 2)));
    EXPECT_EQ(numbers["count"].toInt(), 2);
    EXPECT_EQ(numbers["maximum"].toDouble(), 0.2);
}

struct ChartCase
{
    const char *name;
    QStringList args;
    QByteArray input;   // standard input
    int status;
    const char *output; // the file that must be written; nullptr: none may be
    const char *err;    // part of standard error ("" when it must be empty)
};

class ChartCommandTest : public StatsCommandTest, public ::testing::WithParamInterface<ChartCase>
{
};

/// How many different colours the picture holds, up to `enough`.
int coloursIn(const QImage &image, int enough)
{
    QList<QRgb> seen;
    for (int y = 0; y < image.height() && seen.size() < enough; y += 3)
        for (int x = 0; x < image.width() && seen.size() < enough; x += 3)
            if (!seen.contains(image.pixel(x, y)))
                seen.append(image.pixel(x, y));
    return int(seen.size());
}

TEST_P(ChartCommandTest, DrawsWithoutDisplay)
{
    const ChartCase &c = GetParam();
    writeFile(path("worked.txt"), kWorkedValues);
    const Result r = runVorla(c.args, m_dir.path(), c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, "");
    if (*c.err == '\0') {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_THAT(r.err, HasSubstr(c.err));
    }
#ifdef _WIN32
    // File names on Windows match whatever their case: out.PNG is out.png.
    const Qt::CaseSensitivity names = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity names = Qt::CaseSensitive;
#endif
    for (const char *name : {"out.png", "out.pdf", "out.PNG"}) {
        EXPECT_EQ(QFile::exists(path(name)),
                  c.output != nullptr && QLatin1String(name).compare(QLatin1String(c.output), names) == 0)
            << name;
    }
    if (c.output == nullptr)
        return;
    QFile written(path(c.output));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    if (QByteArray(c.output).toLower().endsWith(".pdf")) {
        EXPECT_TRUE(bytes.startsWith("%PDF-")) << bytes.left(16).toStdString();
        EXPECT_GT(bytes.size(), 5000);
        // The record, on A4 pages: landscape unless --portrait asks.
        EXPECT_TRUE(bytes.contains(c.args.contains(QStringLiteral("--portrait"))
                                       ? "/MediaBox [0 0 595.000000 842.000000]"
                                       : "/MediaBox [0 0 842.000000 595.000000]"));
        return;
    }
    const QImage image = QImage::fromData(bytes, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 400);
    EXPECT_GE(image.height(), 300);
    EXPECT_GE(coloursIn(image, 16), 16); // lines, points, bars and text, not a blank page
}

const ChartCase kChartCases[] = {
    {"RunChartPng", {"--chart", "worked.txt", "-o", "out.png"}, {}, 0, "out.png", ""},
    {"IndividualsPdf", {"--chart", "worked.txt", "-o", "out.pdf", "--type", "xrs"}, {}, 0,
     "out.pdf", ""},
    {"PortraitRecord", {"--chart", "worked.txt", "--portrait", "-o", "out.pdf"}, {}, 0, "out.pdf",
     ""},
    {"PortraitPicture", {"--chart", "worked.txt", "--portrait", "-o", "out.png"}, {}, 2, nullptr,
     "vorla: --portrait は PDF の記録（-o OUT.pdf）と一緒に使います: 「out.png」"},
    {"MeansRangesFromStandardInput",
     {"--chart", "-", "-o", "out.PNG", "--type", "xbar-r", "--subgroup", "2", "--upper", "50",
      "--lower", "0"},
     kSubgroupValues, 0, "out.PNG", ""},
    {"ToleranceAndSigma", {"--chart", "worked.txt", "-o", "out.png", "--upper=15", "--sigma", "2"},
     {}, 0, "out.png", ""},
    {"UnwritableFolder", {"--chart", "worked.txt", "-o", "missing/out.png"}, {}, 1, nullptr,
     "vorla: missing/out.png: 保存できませんでした。"},
    {"BinaryStandardInput", {"--chart", "-", "-o", "out.png"}, QByteArray("1\n\0\n", 4), 1,
     nullptr, "vorla: -: テキストファイルではありません"},
    {"MissingFile", {"--chart", "missing.txt", "-o", "out.png"}, {}, 1, nullptr,
     "vorla: missing.txt: ファイルが見つかりません。"},
    {"EmptyFile", {"--chart", "empty.txt", "-o", "out.png"}, {}, 1, nullptr,
     "vorla: empty.txt: 値が 1 つもありません。"},
    {"NoControlChart", {"--chart", "-", "-o", "out.png", "--type", "xrs"}, "5\n", 1, nullptr,
     "vorla: -: X-Rs 管理図には値が 2 個以上必要です。"},
    {"NoSpread", {"--chart", "-", "-o", "out.pdf", "--type", "xrs"}, "5\n5\n5\n", 1, nullptr,
     "ばらつきがないため管理限界を引けません。"},
    // --subgroup is the chart's: four values form two subgroups of 2, and
    // no chart at the default size of 5.
    {"SubgroupOfTwoForms", {"--chart", "-", "-o", "out.pdf", "--type", "xbar-r", "--subgroup", "2"},
     "5\n15\n5\n15\n", 0, "out.pdf", ""},
    {"DefaultSubgroupCannotForm", {"--chart", "-", "-o", "out.pdf", "--type", "xbar-r"},
     "5\n15\n5\n15\n", 1, nullptr, "X̄-R 管理図には 2 群 (値 10 個) 以上必要です。"},
    // Text is left out of the chart and said so: 5 15 5 15 with 「-」 between.
    {"TextLeftOut", {"--chart", "-", "-o", "out.pdf", "--type", "xbar-r", "--subgroup", "2"},
     "5\n15\n-\n5\n15\n", 0, "out.pdf", "数値でない 1 項目（3 番目）はグラフから除きました。"},
    {"JpegRefused", {"--chart", "worked.txt", "-o", "out.jpg"}, {}, 2, nullptr, "「out.jpg」"},
    {"TwoFiles", {"--chart", "worked.txt", "plain.txt", "-o", "out.png"}, {}, 2, nullptr,
     "「plain.txt」"},
    {"WithStats", {"--chart", "--stats", "worked.txt", "-o", "out.png"}, {}, 2, nullptr,
     "使い方: vorla"},
    {"NoOutput", {"--chart", "worked.txt"}, {}, 2, nullptr, "-o"},
    {"SubgroupOutOfRange", {"--chart", "worked.txt", "-o", "out.png", "--type", "xbar-r",
                            "--subgroup", "11"}, {}, 2, nullptr, "「11」"},
};
INSTANTIATE_TEST_SUITE_P(ChartCommand, ChartCommandTest, ::testing::ValuesIn(kChartCases),
                         RowName{});

} // namespace
