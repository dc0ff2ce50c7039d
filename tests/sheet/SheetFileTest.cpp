#include "sheet/SheetFile.h"

#include "sheet/SheetAnalysis.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <variant>

namespace {

using sheet::SheetRefusal;

std::string sampleBytes()
{
    std::ifstream in(VORLA_TEST_DATA_DIR "/sheet/sample-sheet.vorla", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

sheet::Sheet read(const std::string &bytes)
{
    const sheet::SheetReadOutcome outcome = sheet::readSheet(bytes);
    if (const auto *failure = std::get_if<sheet::SheetReadFailure>(&outcome)) {
        ADD_FAILURE() << sheet::sheetFailureText(*failure);
        return {};
    }
    return std::get<sheet::Sheet>(outcome);
}

// A sheet with every kind of phase and texts that need escaping.
sheet::Sheet everyKind()
{
    sheet::Sheet s;
    s.header = {"シャフト \"A\"", "SH-1\\2", "外径", "mm", "マイクロメータ", "旋盤 L-3", "山田",
                "25.05", "", "２５．００", 3, true};
    s.rows = {{"12/07 08:00", {"25.01", "２５．０２", "欠測"}, "原因: 摩耗\n処置: 交換", false, ""},
              {"lot 7", {"1"}, "", true, "校正切れ \x01 😀"},
              {"", {}, "", false, ""}};
    sheet::Phase analysis;
    sheet::Phase baseline;
    baseline.firstRow = 1;
    baseline.source = sheet::LimitSource::Baseline;
    baseline.baselineFirst = 0;
    baseline.baselineLast = 1;
    sheet::Phase standard;
    standard.firstRow = 2;
    standard.source = sheet::LimitSource::Standard;
    standard.standardMean = "25";
    standard.standardSigma = "0.01";
    standard.note = "改訂";
    sheet::Phase given;
    given.firstRow = 7;
    given.source = sheet::LimitSource::Given;
    given.location = {"25", "25.03", "24.97"};
    given.spread = {"0.02", "0.05", ""};
    s.phases = {analysis, baseline, standard, given};
    s.tests = stats::SpecialCauseTests::only(1);
    s.tests.add(5);
    return s;
}

TEST(SheetFile, SampleOpensAndSavesToTheSameBytes)
{
    const std::string bytes = sampleBytes();
    ASSERT_FALSE(bytes.empty());
    const sheet::Sheet s = read(bytes);
    EXPECT_EQ(sheet::writeSheet(s), bytes);
    // What the guides show of it: a week of hourly subgroups of five with a
    // baseline, a revision, an excluded row and notes.
    EXPECT_EQ(s.header.subgroupSize, 5);
    EXPECT_EQ(s.rows.size(), 40u);
    ASSERT_EQ(s.phases.size(), 3u);
    EXPECT_EQ(s.phases[1].source, sheet::LimitSource::Baseline);
    EXPECT_EQ(s.phases[2].source, sheet::LimitSource::Standard);
    EXPECT_TRUE(s.rows[8].excluded);
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    EXPECT_TRUE(a.problems.empty());
    for (const sheet::PhaseOutcome &phase : a.phases)
        EXPECT_TRUE(phase.limits.has_value()) << phase.title << ": " << phase.reason;
    EXPECT_EQ(a.phases[2].title, "改訂 1");
}

TEST(SheetFile, EveryFieldRoundTrips)
{
    const sheet::Sheet s = everyKind();
    const std::string bytes = sheet::writeSheet(s);
    const sheet::Sheet back = read(bytes);
    EXPECT_EQ(back, s);
    EXPECT_EQ(sheet::writeSheet(back), bytes);
    EXPECT_NE(bytes.find(R"("note": "原因: 摩耗\n処置: 交換")"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(R"("reason": "校正切れ \u0001 😀")"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(R"("tests": [1, 5],)"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(R"("values": ["25.01", "２５．０２", "欠測"])"), std::string::npos);
}

TEST(SheetFile, EmptySheetRoundTrips)
{
    const sheet::Sheet s;
    const std::string bytes = sheet::writeSheet(s);
    EXPECT_NE(bytes.find("\"phases\": [],\n  \"rows\": []\n}\n"), std::string::npos) << bytes;
    EXPECT_EQ(read(bytes), s);
}

TEST(SheetFile, MissingOptionalMembersTakeDefaults)
{
    const sheet::Sheet s = read(R"({"format": "vorla-sheet", "version": 1,
        "header": {"subgroupSize": 2}, "rows": [{"values": ["1", "2"]}, {}]})");
    EXPECT_EQ(s.header.subgroupSize, 2);
    EXPECT_EQ(s.tests, stats::SpecialCauseTests::all());
    EXPECT_TRUE(s.phases.empty());
    ASSERT_EQ(s.rows.size(), 2u);
    EXPECT_EQ(s.rows[0].values, (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(s.rows[1].values.empty());
}

// ---- refused files -------------------------------------------------------------------------

struct RefusedRow
{
    const char *name;
    const char *bytes;
    SheetRefusal refusal;
    const char *text;
};

#define SHEET_START R"({"format": "vorla-sheet", "version": 1, )"
#define HEADER R"("header": {"subgroupSize": 3}, )"

const RefusedRow kRefusedRows[] = {
    {"ValueFile", "25.01\r\n25.02\r\n", SheetRefusal::NotASheet,
     "管理図シートのファイルではありません (2 行 5 文字目)。"},
    {"Empty", "", SheetRefusal::NotASheet, "管理図シートのファイルではありません (1 行 1 文字目)。"},
    {"OtherJson", R"({"name": "x"})", SheetRefusal::NotASheet,
     "管理図シートのファイルではありません。"},
    {"OtherFormat", R"({"format": "vorla-list", "version": 1})", SheetRefusal::NotASheet,
     "管理図シートのファイルではありません。"},
    {"JsonArray", "[1, 2]", SheetRefusal::NotASheet, "管理図シートのファイルではありません。"},
    {"LaterVersion", R"({"format": "vorla-sheet", "version": 2, "rows": []})",
     SheetRefusal::LaterVersion,
     "このシートは版 2 で書かれています。この Vorla が読めるのは版 1 までです。"},
    {"CutShort", "{\n  \"format\": \"vorla-sheet\",\n  \"version\": 1,\n  \"rows\": [",
     SheetRefusal::Damaged, "シートが壊れています (4 行 12 文字目): JSON として読めません。"},
    {"BadUtf8", "{\"format\": \"vorla-sheet\", \"x\": \"\xff\"}", SheetRefusal::Damaged,
     "シートが壊れています (1 行 33 文字目): JSON として読めません。"},
    // A number beyond the double range: the JSON reader refuses it in a way
    // of its own (a fuzz find: it ended the program).
    {"NumberBeyondDoubles", R"({"format": "vorla-sheet", "version": 1e99999})",
     SheetRefusal::Damaged, "シートが壊れています (1 行 1 文字目): JSON として読めません。"},
    {"VersionText", R"({"format": "vorla-sheet", "version": "1"})", SheetRefusal::Damaged,
     "シートが壊れています (/version): 1 から 2147483647 までの整数ではありません。"},
    {"NoVersion", R"({"format": "vorla-sheet"})", SheetRefusal::Damaged,
     "シートが壊れています (/): 「version」がありません。"},
    {"NoHeader", SHEET_START R"("rows": []})", SheetRefusal::Damaged,
     "シートが壊れています (/): 「header」がありません。"},
    {"SubgroupTooLarge", SHEET_START R"("header": {"subgroupSize": 26}, "rows": []})",
     SheetRefusal::Damaged,
     "シートが壊れています (/header/subgroupSize): 1 から 25 までの整数ではありません。"},
    {"SubgroupFraction", SHEET_START R"("header": {"subgroupSize": 2.5}, "rows": []})",
     SheetRefusal::Damaged,
     "シートが壊れています (/header/subgroupSize): 1 から 25 までの整数ではありません。"},
    {"NoRows", SHEET_START HEADER R"("tests": []})", SheetRefusal::Damaged,
     "シートが壊れています (/): 「rows」がありません。"},
    {"ValueNumber", SHEET_START HEADER R"("rows": [{}, {"values": ["1", 2]}]})",
     SheetRefusal::Damaged, "シートが壊れています (/rows/1/values/1): 文字列ではありません。"},
    {"ValueWithLineBreak", SHEET_START HEADER R"("rows": [{"values": ["1\n2"]}]})",
     SheetRefusal::Damaged, "シートが壊れています (/rows/0/values/0): タブか改行があります。"},
    {"TooManyValues", SHEET_START HEADER R"("rows": [{"values": ["1", "2", "3", "4"]}]})",
     SheetRefusal::Damaged,
     "シートが壊れています (/rows/0/values): 値が 4 個あります (群の大きさは 3)。"},
    {"ExcludedText", SHEET_START HEADER R"("rows": [{"excluded": "yes"}]})",
     SheetRefusal::Damaged, "シートが壊れています (/rows/0/excluded): true か false ではありません。"},
    {"TestNine", SHEET_START HEADER R"("tests": [1, 9], "rows": []})", SheetRefusal::Damaged,
     "シートが壊れています (/tests/1): 1 から 8 までの整数ではありません。"},
    {"PhaseUnknownLimits", SHEET_START HEADER R"("phases": [{"start": 1, "limits": "guess"}], "rows": []})",
     SheetRefusal::Damaged,
     "シートが壊れています (/phases/0/limits): rows、baseline、standard、given のどれでもありません。"},
    {"PhaseStartZero", SHEET_START HEADER R"("phases": [{"start": 0, "limits": "rows"}], "rows": []})",
     SheetRefusal::Damaged,
     "シートが壊れています (/phases/0/start): 1 から 100000000 までの整数ではありません。"},
    {"PhasesOutOfOrder",
     SHEET_START HEADER R"("phases": [{"start": 1, "limits": "rows"}, {"start": 1, "limits": "rows"}], "rows": []})",
     SheetRefusal::Damaged,
     "シートが壊れています (/phases): 期 2 の開始 (第 1 群) が期 1 の開始の後にありません。"},
    {"BaselineOneNumber",
     SHEET_START HEADER R"("phases": [{"start": 1, "limits": "baseline", "baseline": [3]}], "rows": []})",
     SheetRefusal::Damaged,
     "シートが壊れています (/phases/0/baseline): [最初の群, 最後の群] ではありません。"},
    {"GivenWithoutSpread",
     SHEET_START HEADER R"("phases": [{"start": 1, "limits": "given", "location": {}}], "rows": []})",
     SheetRefusal::Damaged, "シートが壊れています (/phases/0): 「spread」がありません。"},
};

class RefusedTest : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedTest, SaysWhichAndWhere)
{
    const RefusedRow &r = GetParam();
    const sheet::SheetReadOutcome outcome = sheet::readSheet(r.bytes);
    const auto *failure = std::get_if<sheet::SheetReadFailure>(&outcome);
    ASSERT_NE(failure, nullptr) << "read as a sheet";
    EXPECT_EQ(failure->refusal, r.refusal);
    EXPECT_EQ(sheet::sheetFailureText(*failure), r.text);
}

INSTANTIATE_TEST_SUITE_P(SheetFile, RefusedTest, ::testing::ValuesIn(kRefusedRows), RowName{});

struct NameRow
{
    const char *name;
    const char *file;
    bool sheet;
};

const NameRow kNameRows[] = {
    {"Plain", "a.vorla", true},        {"Upper", "週報.VORLA", true},
    {"OnlyExtension", ".vorla", false}, {"ValueFile", "a.txt", false},
    {"Inside", "a.vorla.txt", false},   {"Empty", "", false},
};

class SheetNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(SheetNameTest, EndsInVorla)
{
    EXPECT_EQ(sheet::isSheetFileName(GetParam().file), GetParam().sheet);
}

INSTANTIATE_TEST_SUITE_P(SheetFile, SheetNameTest, ::testing::ValuesIn(kNameRows), RowName{});

} // namespace
