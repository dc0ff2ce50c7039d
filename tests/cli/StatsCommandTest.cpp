// Runs the built program the way a shell or a script would, on a machine with
// no display: no DISPLAY, no WAYLAND_DISPLAY, no QT_QPA_PLATFORM. The printed
// results are checked against stats::calculateStatistics over the items each
// file holds.

#include "stats/Statistics.h"

#include "RowName.h"
#include "TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

/// The program with these arguments, in `folder`, with no display at all.
/// QT_DEBUG_PLUGINS makes any search for a Qt plugin show on standard error.
Result runVorla(const QStringList &args, const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VORLA_BINARY), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

std::string tabJoined(const std::string &file, const stats::StatisticsTexts &t)
{
    std::string line = file;
    for (const std::string *text :
         {&t.count, &t.mean, &t.standardDeviation, &t.upperLimit, &t.lowerLimit, &t.aboveCount,
          &t.abovePercent, &t.belowCount, &t.belowPercent, &t.maximum, &t.minimum})
        line += "\t" + *text;
    return line + "\n";
}

stats::StatisticsTexts expected(const std::vector<std::string> &items, const char *sigma)
{
    const auto outcome = stats::calculateStatistics(items, sigma);
    EXPECT_TRUE(std::holds_alternative<stats::StatisticsTexts>(outcome));
    return std::holds_alternative<stats::StatisticsTexts>(outcome)
               ? std::get<stats::StatisticsTexts>(outcome)
               : stats::StatisticsTexts{};
}

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
    EXPECT_EQ(r.out, "ファイル\tデータ数\t平均\t標準偏差\t上限\t下限\t上限超え個数\t上限超え%\t"
                     "下限超え個数\t下限超え%\t最大値\t最小値\n"
                         + tabJoined("shiftjis.txt", expected({"測定値", "10", "20", "30"}, "3σ"))
                         + tabJoined("plain.txt", expected({"1", "2", "3", "4"}, "3σ"))
                         + tabJoined("both.txt", expected({"ﾂｱ0.1"}, "3σ")));
    // The window would have asked; the batch takes the default and says so.
    EXPECT_THAT(r.err, HasSubstr("vorla: both.txt: 1 行目は UTF-8 としても読めるため、"
                                 "Shift JIS として読みました"));
    EXPECT_THAT(r.err, HasSubstr("vorla: empty.txt: 値が 1 つもありません。\n"));
    EXPECT_THAT(r.err, HasSubstr("vorla: binary.txt: テキストファイルではありません"));
    EXPECT_THAT(r.err, HasSubstr("vorla: missing.txt: ファイルが見つかりません。\n"));
    EXPECT_THAT(r.err, Not(HasSubstr("QFactoryLoader"))); // no plugin was looked for
}

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
    const std::vector<std::pair<const char *, std::vector<std::string>>> inputs = {
        {"quoted.txt", {"\"x\\\ty", "-1", "-3"}}, {"plain.txt", {"1", "2", "3", "4"}}};
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QJsonObject o = files[i].toObject();
        const stats::StatisticsTexts t = expected(inputs[std::size_t(i)].second, "1σ");
        EXPECT_EQ(o["file"].toString().toStdString(), inputs[std::size_t(i)].first);
        const stats::StatisticsTexts printed = {
            o["count"].toString().toStdString(),        o["mean"].toString().toStdString(),
            o["standardDeviation"].toString().toStdString(),
            o["upperLimit"].toString().toStdString(),   o["lowerLimit"].toString().toStdString(),
            o["aboveCount"].toString().toStdString(),   o["abovePercent"].toString().toStdString(),
            o["belowCount"].toString().toStdString(),   o["belowPercent"].toString().toStdString(),
            o["maximum"].toString().toStdString(),      o["minimum"].toString().toStdString()};
        EXPECT_EQ(printed, t) << o["file"].toString().toStdString();
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
    const char *file;               // the file of the printed row; nullptr: none
    std::vector<std::string> items; // what that row is calculated over
    const char *err;                // standard error, whole
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
    std::string out = "ファイル\tデータ数\t平均\t標準偏差\t上限\t下限\t上限超え個数\t上限超え%\t"
                      "下限超え個数\t下限超え%\t最大値\t最小値\n";
    if (c.file != nullptr)
        out += tabJoined(c.file, expected(c.items, "3σ"));
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.err, c.err);
}

const TableCase kTableCases[] = {
    {"PreselectedColumnNamed", {"--stats", "table.csv"}, 0, "table.csv",
     {"25.01", "25.00", "24.99"},
     "vorla: table.csv: 3 列の表の 2 列目を使いました（ほかの列は --column N で選べます）。\n"},
    {"GivenColumnSilent", {"--stats", "--column", "1", "table.csv"}, 0, "table.csv",
     {"1", "2", "3"}, ""},
    {"ColumnBeyondTable", {"--stats", "--column=4", "table.csv"}, 1, nullptr, {},
     "vorla: table.csv: ファイルの列は 3 列しかありません（--column 4 を指定しました）。\n"},
    {"OneColumnFileSaysNothing", {"--stats", "plain.txt"}, 0, "plain.txt", {"1", "2", "3", "4"},
     ""},
    {"FirstColumnOfOneColumnFile", {"--stats", "--column", "1", "plain.txt"}, 0, "plain.txt",
     {"1", "2", "3", "4"}, ""},
    {"SecondColumnOfOneColumnFile", {"--stats", "--column", "2", "plain.txt"}, 1, nullptr, {},
     "vorla: plain.txt: ファイルの列は 1 列しかありません（--column 2 を指定しました）。\n"},
    {"TabInChosenValue", {"--stats", "tabbed.csv"}, 1, nullptr, {},
     "vorla: tabbed.csv: 3 行目の値にタブか改行があります（一覧の値には入れられません）。\n"},
};
INSTANTIATE_TEST_SUITE_P(Files, StatsTableTest, ::testing::ValuesIn(kTableCases), RowName{});
struct LooseReadingCase
{
    const char *name;
    QByteArray file;                // the bytes of f.txt
    std::vector<std::string> items; // what the list holds of it
    const char *err;                // all of standard error
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
    EXPECT_THAT(r.out, HasSubstr(tabJoined("f.txt", expected(c.items, "3σ"))));
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
    {"AllReadWhole", "1\r\n 2 \r\n3e2\r\n", {"1", " 2 ", "3e2"}, ""},
    // 測定値 in Shift JIS; line 3 is empty and not an item, but lines count it.
    {"HeaderAndUnits",
     "\x91\xaa\x92\xe8\x92\x6c\r\n10\r\n\r\n12.5mm\r\n 20 \r\n1,234.5\r\n",
     {"測定値", "10", "12.5mm", " 20 ", "1,234.5"},
     "vorla: f.txt: 数値として読めない値が 1 個あります（0 として計算しました）: 1 行目\n"
     "vorla: f.txt: 数値の後に文字が続く値が 2 個あります（文字の前の数値で計算しました）: 4, 6 行目\n"},
    {"ManyListedShort", lines(thirteenWithoutNumber()), thirteenWithoutNumber(),
     "vorla: f.txt: 数値として読めない値が 13 個あります（0 として計算しました）: "
     "1, 2, 3, 4, 5, 6, 7, 8, 9, 10 行目ほか 3 個\n"},
    // A table's values are named by their rows' lines, the header and the
    // empty line counted.
    {"TableColumnByLine", "No,D\r\n1,25.01\r\n\r\n2,x\r\n3,25.00\r\n", {"25.01", "x", "25.00"},
     "vorla: f.txt: 2 列の表の 2 列目を使いました（ほかの列は --column N で選べます）。\n"
     "vorla: f.txt: 数値として読めない値が 1 個あります（0 として計算しました）: 4 行目\n"},
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

} // namespace
