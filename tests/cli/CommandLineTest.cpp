#include "cli/CommandLine.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
};
INSTANTIATE_TEST_SUITE_P(CommandLine, ParseCommandLineTest, ::testing::ValuesIn(kLineCases),
                         RowName{});

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
    {"CapitalSigma", "3Σ", ""},
    {"LatinS", "3s", ""},
    {"Blank", " 3", ""},
    {"Empty", "", ""},
    {"Decimal", "3.0", ""},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, SigmaChoiceTest, ::testing::ValuesIn(kSigmaCases),
                         RowName{});

} // namespace
