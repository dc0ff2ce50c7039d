#include "cli/CommandLine.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using stats::ChartType;
using cli::Format;
using cli::Mode;

struct LineCase
{
    const char *name;
    std::vector<std::string> args;
    Mode mode;
    std::vector<std::string> files;
    const char *sigma = "3σ";
    Format format = Format::Table;
    std::size_t column = 0;
    ChartType type = ChartType::Run;
    int subgroup = 5;
    const char *output = "";
    std::optional<double> upper = std::nullopt;
    std::optional<double> lower = std::nullopt;
};

class ParseCommandLineTest : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(ParseCommandLineTest, ReadsModeFilesAndOptions)
{
    const LineCase &c = GetParam();
    const cli::CommandLine line = cli::parseCommandLine(c.args);
    EXPECT_EQ(line.mode, c.mode) << line.error;
    EXPECT_EQ(line.files, c.files);
    EXPECT_EQ(line.sigma, c.sigma);
    EXPECT_EQ(line.format, c.format);
    EXPECT_EQ(line.column, c.column);
    EXPECT_EQ(line.chartType, c.type);
    EXPECT_EQ(line.subgroupSize, c.subgroup);
    EXPECT_EQ(line.output, c.output);
    EXPECT_EQ(line.upper, c.upper);
    EXPECT_EQ(line.lower, c.lower);
}

const LineCase kLineCases[] = {
    {"NothingOpensWindow", {}, Mode::Window, {}},
    {"FilesOpenInOrder", {"b.txt", "a.txt", "測定 値.txt"}, Mode::Window, {"b.txt", "a.txt", "測定 値.txt"}},
    {"LoneDashIsFile", {"-"}, Mode::Window, {"-"}},
    {"DoubleDashEndsOptions", {"--", "--stats", "-h"}, Mode::Window, {"--stats", "-h"}},
    {"StatsDefaultsToThreeSigmaTable", {"--stats", "a.txt"}, Mode::Stats, {"a.txt"}},
    {"OptionsAfterFiles", {"a.txt", "--json", "b.txt", "--stats"}, Mode::Stats, {"a.txt", "b.txt"}, "3σ", Format::Json},
    {"SigmaAsNextArgument", {"--stats", "--sigma", "2", "a.txt"}, Mode::Stats, {"a.txt"}, "2σ"},
    {"SigmaWithSign", {"--stats", "--sigma", "1σ", "a.txt"}, Mode::Stats, {"a.txt"}, "1σ"},
    {"SigmaAfterEquals", {"--stats", "--sigma=2σ", "a.txt"}, Mode::Stats, {"a.txt"}, "2σ"},
    {"LastSigmaWins", {"--stats", "--sigma=1", "--sigma", "3", "a.txt"}, Mode::Stats, {"a.txt"}, "3σ"},
    {"HelpWinsOverLaterError", {"--help", "--bogus"}, Mode::Help, {}},
    {"ShortHelp", {"a.txt", "-h"}, Mode::Help, {}},
    {"Version", {"--version"}, Mode::Version, {}},
    {"UnknownOption", {"--bogus", "--help"}, Mode::Error, {}},
    {"UnknownShortOption", {"-style", "a.txt"}, Mode::Error, {}},
    {"StatsWithoutFiles", {"--stats"}, Mode::Error, {}},
    {"StatsWithOnlyOptions", {"--stats", "--json", "--"}, Mode::Error, {}},
    {"JsonWithoutStats", {"--json", "a.txt"}, Mode::Error, {}},
    {"SigmaWithoutStats", {"--sigma", "2", "a.txt"}, Mode::Error, {}},
    {"SigmaMissingValue", {"--stats", "a.txt", "--sigma"}, Mode::Error, {}},
    {"StatsTakesNoValue", {"--stats=yes", "a.txt"}, Mode::Error, {}},
    {"DoubleDashTakesNoValue", {"--=x", "a.txt"}, Mode::Error, {}},
    {"ColumnAsNextArgument", {"--stats", "--column", "2", "a.txt"}, Mode::Stats, {"a.txt"}, "3σ", Format::Table, 2},
    {"ColumnAfterEquals", {"a.txt", "--column=12", "--stats"}, Mode::Stats, {"a.txt"}, "3σ", Format::Table, 12},
    {"ColumnZero", {"--stats", "--column", "0", "a.txt"}, Mode::Error, {}},
    {"ColumnNegative", {"--stats", "--column", "-1", "a.txt"}, Mode::Error, {}},
    {"ColumnNotNumber", {"--stats", "--column=two", "a.txt"}, Mode::Error, {}},
    {"ColumnMissingValue", {"--stats", "a.txt", "--column"}, Mode::Error, {}},
    {"ColumnWithoutStats", {"--column", "2", "a.txt"}, Mode::Error, {}},
    {"StandardInputForStats", {"--stats", "a.txt", "-"}, Mode::Stats, {"a.txt", "-"}},
    {"StandardInputTwice", {"--stats", "-", "a.txt", "-"}, Mode::Error, {}},
    {"StandardInputTwiceAfterDoubleDash", {"--stats", "-", "--", "-"}, Mode::Error, {}},
    {"DashesAreFilesToTheWindow", {"-", "-"}, Mode::Window, {"-", "-"}},
    {"DotSlashDashIsAnotherFile", {"--stats", "-", "./-"}, Mode::Stats, {"-", "./-"}},
    // The control charts: --type with --stats' JSON, and --chart.
    {"StatsJsonIndividuals", {"--stats", "--json", "--type", "xrs", "a.txt"}, Mode::Stats,
     {"a.txt"}, "3σ", Format::Json, 0, ChartType::IndividualsMovingRange},
    {"StatsJsonMeansRanges", {"--stats", "--json", "--type=xbar-r", "--subgroup", "10", "a.txt"},
     Mode::Stats, {"a.txt"}, "3σ", Format::Json, 0, ChartType::MeansRanges, 10},
    {"StatsTypeWithoutJson", {"--stats", "--type", "xrs", "a.txt"}, Mode::Error, {}},
    {"StatsTypeRun", {"--stats", "--json", "--type", "run", "a.txt"}, Mode::Error, {}},
    {"TypeWithoutBatch", {"--type", "xrs", "a.txt"}, Mode::Error, {}},
    {"TypeUnknown", {"--chart", "a.txt", "-o", "a.png", "--type", "foo"}, Mode::Error, {}},
    {"TypeInCapitals", {"--chart", "a.txt", "-o", "a.png", "--type", "XRS"}, Mode::Error, {}},
    {"ChartRunByDefault", {"--chart", "a.txt", "-o", "a.png"}, Mode::Chart, {"a.txt"}, "3σ",
     Format::Table, 0, ChartType::Run, 5, "a.png"},
    {"ChartEveryOption",
     {"-o", "Out.PDF", "--chart", "--type", "xbar-r", "--subgroup=2", "--upper", "150",
      "--lower=12mm", "--sigma", "2", "--column", "3", "-"},
     Mode::Chart, {"-"}, "2σ", Format::Table, 3, ChartType::MeansRanges, 2, "Out.PDF", 150.0,
     12.0},
    {"ChartBlankLimitIsNone", {"--chart", "a.txt", "-o", "a.png", "--upper", "9", "--upper", " "},
     Mode::Chart, {"a.txt"}, "3σ", Format::Table, 0, ChartType::Run, 5, "a.png"},
    {"ChartIndividuals", {"--chart", "--type", "xrs", "a.txt", "-o", "a.png"}, Mode::Chart,
     {"a.txt"}, "3σ", Format::Table, 0, ChartType::IndividualsMovingRange, 5, "a.png"},
    {"UpperNotNumber", {"--chart", "a.txt", "-o", "a.png", "--upper", "abc"}, Mode::Error, {}},
    {"LowerBeyondDoubles", {"--chart", "a.txt", "-o", "a.png", "--lower", "1e999"}, Mode::Error, {}},
    {"UpperMissingValue", {"--chart", "a.txt", "-o", "a.png", "--upper"}, Mode::Error, {}},
    {"SubgroupOne", {"--chart", "a.txt", "-o", "a.png", "--type", "xbar-r", "--subgroup", "1"},
     Mode::Error, {}},
    {"SubgroupEleven", {"--chart", "a.txt", "-o", "a.png", "--type", "xbar-r", "--subgroup=11"},
     Mode::Error, {}},
    {"SubgroupNotNumber", {"--chart", "a.txt", "-o", "a.png", "--type", "xbar-r", "--subgroup", "abc"},
     Mode::Error, {}},
    {"SubgroupWithoutMeansRanges", {"--chart", "a.txt", "-o", "a.png", "--subgroup", "3"},
     Mode::Error, {}},
    {"SubgroupWithIndividuals", {"--stats", "--json", "--type", "xrs", "--subgroup", "3", "a.txt"},
     Mode::Error, {}},
    {"ChartOutputMissing", {"--chart", "a.txt"}, Mode::Error, {}},
    {"ChartOutputValueMissing", {"--chart", "a.txt", "-o"}, Mode::Error, {}},
    {"ChartOutputJpeg", {"--chart", "a.txt", "-o", "a.jpg"}, Mode::Error, {}},
    {"ChartOutputSuffixOnly", {"--chart", "a.txt", "-o", ".png"}, Mode::Error, {}},
    {"ChartTwoFiles", {"--chart", "a.txt", "b.txt", "-o", "a.png"}, Mode::Error, {}},
    {"ChartNoFile", {"--chart", "-o", "a.png"}, Mode::Error, {}},
    {"ChartWithStats", {"--chart", "--stats", "a.txt", "-o", "a.png"}, Mode::Error, {}},
    {"ChartWithJson", {"--chart", "--json", "a.txt", "-o", "a.png"}, Mode::Error, {}},
    {"OutputWithStats", {"--stats", "a.txt", "-o", "a.png"}, Mode::Error, {}},
    // A tolerance asks --stats for the capability too.
    {"UpperWithStats", {"--stats", "a.txt", "--upper", "3"}, Mode::Stats, {"a.txt"}, "3σ",
     Format::Table, 0, ChartType::Run, 5, "", 3.0},
    {"LimitsWithStatsJson", {"--stats", "--json", "s.vorla", "--upper=25.05", "--lower", "２４．９５"},
     Mode::Stats, {"s.vorla"}, "3σ", Format::Json, 0, ChartType::Run, 5, "", 25.05, 24.95},
    {"LowerWithoutBatch", {"a.txt", "--lower", "3"}, Mode::Error, {}},
    {"OutputWithoutBatch", {"a.txt", "-o", "a.png"}, Mode::Error, {}},
    {"ChartTakesNoValue", {"--chart=a.txt", "-o", "a.png"}, Mode::Error, {}},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, ParseCommandLineTest, ::testing::ValuesIn(kLineCases),
                         RowName{});

struct ErrorCase
{
    const char *name;
    std::vector<std::string> args;
    const char *said; // part of the message
};

class CommandLineErrorTest : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(CommandLineErrorTest, SaysWhatIsWrong)
{
    const cli::CommandLine line = cli::parseCommandLine(GetParam().args);
    EXPECT_EQ(line.mode, Mode::Error);
    EXPECT_NE(line.error.find(GetParam().said), std::string::npos) << line.error;
}

const ErrorCase kErrorCases[] = {
    {"SubgroupValue", {"--chart", "a", "-o", "a.png", "--type", "xbar-r", "--subgroup", "11"}, "「11」"},
    {"TypeValue", {"--chart", "a", "-o", "a.png", "--type", "foo"}, "「foo」"},
    {"OutputValue", {"--chart", "a", "-o", "a.jpg"}, "「a.jpg」"},
    {"UpperValue", {"--chart", "a", "-o", "a.png", "--upper", "abc"}, "「abc」"},
    {"SecondChartFile", {"--chart", "a", "b", "-o", "a.png"}, "「b」"},
    {"ChartWithStats", {"--chart", "--stats", "a", "-o", "a.png"}, "--stats と --chart"},
    {"JsonWithChart", {"--chart", "--json", "a", "-o", "a.png"}, "--json は --stats と"},
    {"OutputWithStats", {"--stats", "a", "-o", "a.png"}, "-o は --chart と"},
    {"SigmaAlone", {"--sigma", "2", "a"}, "--sigma は --stats か --chart と"},
    {"TypeWithTable", {"--stats", "--type", "xrs", "a"}, "--json と一緒に"},
    {"SubgroupWithRun", {"--chart", "a", "-o", "a.png", "--subgroup", "3"}, "--type xbar-r"},
    {"NoOutput", {"--chart", "a"}, "-o"},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, CommandLineErrorTest, ::testing::ValuesIn(kErrorCases),
                         RowName{});

struct OutputPathCase
{
    const char *name;
    const char *path;
    bool charted;
};

class ChartOutputPathTest : public ::testing::TestWithParam<OutputPathCase>
{
};

TEST_P(ChartOutputPathTest, TakesPngAndPdfInAnyCase)
{
    EXPECT_EQ(cli::isChartOutputPath(GetParam().path), GetParam().charted);
}

const OutputPathCase kOutputPathCases[] = {
    {"Png", "a.png", true},          {"Pdf", "dir/a.pdf", true},     {"Capitals", "A.PnG", true},
    {"Jpeg", "a.jpg", false},        {"SuffixOnly", ".pdf", false},  {"NoDot", "apng", false},
    {"PngThenMore", "a.png.txt", false}, {"Empty", "", false},      {"Svg", "a.svg", false},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, ChartOutputPathTest, ::testing::ValuesIn(kOutputPathCases),
                         RowName{});

TEST(CommandLine, ChartKindNamesReadBack)
{
    for (const ChartType kind :
         {ChartType::Run, ChartType::IndividualsMovingRange, ChartType::MeansRanges})
        EXPECT_EQ(cli::chartKind(cli::chartKindName(kind)), kind);
    EXPECT_EQ(cli::chartKindName(ChartType::MeansRanges), "xbar-r");
    EXPECT_EQ(cli::chartKind("xbar"), std::nullopt);
}

TEST(CommandLine, ErrorNamesTheWrongArgument)
{
    EXPECT_NE(cli::parseCommandLine({"--stats", "--colour", "a.txt"}).error.find("--colour"),
              std::string::npos);
    EXPECT_NE(cli::parseCommandLine({"--stats", "--sigma", "4", "a.txt"}).error.find("「4」"),
              std::string::npos);
    EXPECT_NE(cli::parseCommandLine({"--stats", "--column", "-1", "a.txt"}).error.find("「-1」"),
              std::string::npos);
}

struct ColumnCase
{
    const char *name;
    const char *text;
    std::size_t column;
};

class ColumnNumberTest : public ::testing::TestWithParam<ColumnCase>
{
};

TEST_P(ColumnNumberTest, TakesPositiveWholeNumbersOnly)
{
    EXPECT_EQ(cli::columnNumber(GetParam().text), GetParam().column);
}

const ColumnCase kColumnCases[] = {
    {"One", "1", 1},          {"LeadingZero", "02", 2},     {"Cap", "1000000", 1000000},
    {"Zero", "0", 0},         {"Negative", "-1", 0},        {"Plus", "+2", 0},
    {"Decimal", "2.0", 0},    {"Blank", " 2", 0},           {"Empty", "", 0},
    {"Word", "two", 0},       {"FullWidth", "２", 0},       {"BeyondCap", "1000001", 0},
    {"Huge", "99999999999999999999999", 0},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, ColumnNumberTest, ::testing::ValuesIn(kColumnCases),
                         RowName{});

struct SigmaCase
{
    const char *name;
    const char *text;
    const char *choice;
};

class SigmaChoiceTest : public ::testing::TestWithParam<SigmaCase>
{
};

TEST_P(SigmaChoiceTest, MapsToDropDownText)
{
    EXPECT_EQ(cli::sigmaChoice(GetParam().text), GetParam().choice);
}

const SigmaCase kSigmaCases[] = {
    {"Three", "3", "3σ"},
    {"TwoWithSign", "2σ", "2σ"},
    {"One", "1", "1σ"},
    {"Zero", "0", ""},
    {"Four", "4σ", ""},
    {"SignAlone", "σ", ""},
    {"DoubleSign", "3σσ", ""},
    // The forms the window's drop-down takes, read the same way.
    {"CapitalSigma", "3Σ", "3σ"},
    {"FullWidthWithSign", "２σ", "2σ"},
    {"FullWidthAlone", "３", "3σ"},
    {"IdeographicBlankBeforeSign", "1　σ", "1σ"},
    {"BlankAfterSign", "3σ ", ""},
    {"LatinS", "3s", ""},
    {"Blank", " 3", ""},
    {"Empty", "", ""},
    {"Decimal", "3.0", ""},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, SigmaChoiceTest, ::testing::ValuesIn(kSigmaCases),
                         RowName{});

} // namespace
