#include "sheet/SheetAnalysis.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using sheet::LimitSource;
using sheet::Phase;
using sheet::Sheet;

constexpr double kClose = 1e-6;

Sheet sheetOf(int n, const std::vector<std::vector<std::string>> &rows, bool stdDevs = false)
{
    Sheet s;
    s.header.subgroupSize = n;
    s.header.standardDeviations = stdDevs;
    for (const auto &values : rows)
        s.rows.push_back({"", values, "", false, ""});
    return s;
}

// Rows of one value each.
Sheet individuals(const std::vector<double> &values)
{
    std::vector<std::vector<std::string>> rows;
    for (const double v : values) {
        std::string text = std::to_string(v);
        rows.push_back({text});
    }
    return sheetOf(1, rows);
}

Phase phaseAt(std::size_t row, LimitSource source)
{
    Phase phase;
    phase.firstRow = row;
    phase.source = source;
    return phase;
}

Phase given(std::size_t row, sheet::LimitTexts location, sheet::LimitTexts spread)
{
    Phase phase = phaseAt(row, LimitSource::Given);
    phase.location = std::move(location);
    phase.spread = std::move(spread);
    return phase;
}

const sheet::ChartLimits &limitsOf(const sheet::SheetAnalysis &a, std::size_t phase)
{
    static const sheet::ChartLimits none;
    if (phase >= a.phases.size() || !a.phases[phase].limits) {
        ADD_FAILURE() << "phase " << phase << " has no limits: "
                      << (phase < a.phases.size() ? a.phases[phase].reason : "no phase");
        return none;
    }
    return *a.phases[phase].limits;
}

// ---- a worked example for each kind of chart -----------------------------------------

struct WorkedRow
{
    const char *name;
    Sheet sheet;
    double center, upper, lower;
    double spreadCenter, spreadUpper;
    std::optional<double> spreadLower;
};

const WorkedRow kWorkedRows[] = {
    // x̄ 12, R̄s = (2+1+2+1+2)/5 = 1.6; 12 ± 2.660·1.6; 3.267·1.6.
    {"IndividualsMovingRange", individuals({10, 12, 11, 13, 12, 14}), 12, 16.256, 7.744, 1.6,
     5.2272, std::nullopt},
    // Means 11, 13, 12 -> 12; ranges 2, 2, 3 -> 7/3; 12 ± 1.023·7/3; 2.574·7/3.
    {"MeansRanges",
     sheetOf(3, {{"10", "12", "11"}, {"13", "12", "14"}, {"11", "11", "14"}}), 12, 14.387, 9.613,
     7.0 / 3, 6.006, std::nullopt},
    // n 4 by choice: means 2.5, 3.5, 3 -> 3; s √(5/3), √(5/3), √(20/3) -> s̄ 1.7213259;
    // 3 ± 1.628·s̄; B4 2.266·s̄, B3 0.
    {"MeansStdDevsChosen",
     sheetOf(4, {{"1", "2", "3", "4"}, {"2", "3", "4", "5"}, {"0", "2", "4", "6"}}, true), 3,
     5.8023186, 0.1976814, 1.7213259, 3.9005245, std::nullopt},
    // n 11: 0..10 and 1..11, means 5 and 6, s √11 each; 5.5 ± 0.927·√11;
    // B4 1.679·√11, B3 0.321·√11.
    {"MeansStdDevsFromEleven",
     sheetOf(11, {{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
                  {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}}),
     5.5, 8.5745112, 2.4254888, 3.3166248, 5.5686130, 1.0646366},
};

class WorkedTest : public ::testing::TestWithParam<WorkedRow> {};

TEST_P(WorkedTest, LimitsFromEveryRow)
{
    const WorkedRow &r = GetParam();
    const sheet::SheetAnalysis a = sheet::analyzeSheet(r.sheet);
    ASSERT_EQ(a.phases.size(), 1u);
    EXPECT_EQ(a.phases[0].title, "解析用");
    const sheet::ChartLimits &l = limitsOf(a, 0);
    EXPECT_NEAR(l.location.center, r.center, kClose);
    EXPECT_NEAR(l.location.upper, r.upper, kClose);
    ASSERT_TRUE(l.location.lower.has_value());
    EXPECT_NEAR(*l.location.lower, r.lower, kClose);
    EXPECT_NEAR(l.spread.center, r.spreadCenter, kClose);
    EXPECT_NEAR(l.spread.upper, r.spreadUpper, kClose);
    ASSERT_EQ(l.spread.lower.has_value(), r.spreadLower.has_value());
    if (r.spreadLower) {
        EXPECT_NEAR(*l.spread.lower, *r.spreadLower, kClose);
    }
    EXPECT_TRUE(a.signals.empty());
}

INSTANTIATE_TEST_SUITE_P(Sheet, WorkedTest, ::testing::ValuesIn(kWorkedRows), RowName{});

// ---- the phase rules ------------------------------------------------------------------

TEST(SheetPhase, BaselineFixesLimitsForLaterRows)
{
    Sheet s = sheetOf(3, {{"10", "12", "11"}, {"13", "12", "14"}, {"11", "11", "14"},
                          {"20", "21", "22"}, {"12", "12", "12"}});
    Phase control = phaseAt(3, LimitSource::Baseline);
    control.baselineFirst = 0;
    control.baselineLast = 2;
    s.phases = {phaseAt(0, LimitSource::OwnRows), control};
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    ASSERT_EQ(a.phases.size(), 2u);
    EXPECT_EQ(a.phases[1].title, "管理用");
    EXPECT_EQ(a.phases[1].rowsUsed, 3u);
    EXPECT_NEAR(limitsOf(a, 1).location.upper, 14.387, kClose);
    EXPECT_NEAR(limitsOf(a, 0).location.upper, 14.387, kClose); // analysis of rows 1-3 alone
    // Row 4's mean 21 is beyond the fixed limit; its range 2 is not.
    ASSERT_EQ(a.signals.size(), 1u);
    EXPECT_EQ(a.signals[0], (sheet::SheetSignal{false, 3, 1, 21.0}));
    // Row 5's range 0 lies below R̄ but has no lower limit to cross.
    EXPECT_EQ(a.points[4].phase, 1u);
}

struct StandardRow
{
    const char *name;
    int n;
    const char *mean, *sigma;
    double center, upper, lower, spreadCenter, spreadUpper;
    std::optional<double> spreadLower;
};

const StandardRow kStandardRows[] = {
    // 10 ± 3·0.1/√5; R: d2 2.326, D2 4.918 (D1 0).
    {"MeansRanges", 5, "10", "0.1", 10, 10.1341641, 9.8658359, 0.2326, 0.4918, std::nullopt},
    // n 7: D1 0.204 gives the R chart a lower line.
    {"MeansRangesSeven", 7, "0", "1", 0, 1.1338934, -1.1338934, 2.704, 5.204, 0.204},
    // X-Rs: 50 ± 3·2; Rs 1.128·2 and 3.686·2.
    {"Individuals", 1, "50", "2", 50, 56, 44, 2.256, 7.372, std::nullopt},
    // X̄-s n 16: c4 0.9835, B6 = c4 + 3√(1 - c4²) = 1.52622…, B5 0.44078…
    {"MeansStdDevs", 16, "5", "0.4", 5, 5.3, 4.7, 0.3934, 0.6104898, 0.1763102},
    // Full-width standard values read as the entry box reads them.
    {"FullWidthTexts", 5, "１０", "０．１", 10, 10.1341641, 9.8658359, 0.2326, 0.4918, std::nullopt},
};

class StandardTest : public ::testing::TestWithParam<StandardRow> {};

TEST_P(StandardTest, LimitsFromStandardValues)
{
    const StandardRow &r = GetParam();
    Sheet s = sheetOf(r.n, {});
    Phase phase = phaseAt(0, LimitSource::Standard);
    phase.standardMean = r.mean;
    phase.standardSigma = r.sigma;
    s.phases = {phase};
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    const sheet::ChartLimits &l = limitsOf(a, 0);
    EXPECT_NEAR(l.location.center, r.center, kClose);
    EXPECT_NEAR(l.location.upper, r.upper, kClose);
    EXPECT_NEAR(*l.location.lower, r.lower, kClose);
    EXPECT_NEAR(l.spread.center, r.spreadCenter, kClose);
    EXPECT_NEAR(l.spread.upper, r.spreadUpper, kClose);
    ASSERT_EQ(l.spread.lower.has_value(), r.spreadLower.has_value());
    if (r.spreadLower) {
        EXPECT_NEAR(*l.spread.lower, *r.spreadLower, kClose);
    }
}

INSTANTIATE_TEST_SUITE_P(Sheet, StandardTest, ::testing::ValuesIn(kStandardRows), RowName{});

TEST(SheetPhase, RevisionJudgesItsRowsByItsOwnLimits)
{
    // Rows 1-6 around 12, rows 7-12 around 112: the revision's baseline is
    // rows 7-12, so the shifted rows signal in the first control phase only.
    Sheet s = individuals({10, 12, 11, 13, 12, 14, 110, 112, 111, 113, 112, 114});
    Phase control = phaseAt(0, LimitSource::Baseline);
    control.baselineFirst = 0;
    control.baselineLast = 5;
    Phase revision = phaseAt(6, LimitSource::Baseline);
    revision.baselineFirst = 6;
    revision.baselineLast = 11;
    s.phases = {control, revision};
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    EXPECT_EQ(a.phases[1].title, "改訂 1");
    EXPECT_NEAR(limitsOf(a, 1).location.center, 112, kClose);
    EXPECT_NEAR(limitsOf(a, 1).location.upper, 116.256, kClose);
    // The jump from 14 to 110 is the Rs of row 7, a pair across the phases:
    // drawn, never judged.
    EXPECT_NEAR(*a.points[6].spread, 96, kClose);
    EXPECT_FALSE(a.points[6].spreadCounted);
    EXPECT_TRUE(a.signals.empty());
}

TEST(SheetPhase, GivenLimitsAreCheckedForOrder)
{
    Sheet s = individuals({1, 2, 3});
    s.phases = {given(0, {"10", "9", "11"}, {"1", "3", ""})};
    EXPECT_EQ(sheet::analyzeSheet(s).phases[0].reason, "ばらつきがないため管理限界を引けません");
    s.phases = {given(0, {"10", "11", "abc"}, {"1", "3", ""})};
    EXPECT_EQ(sheet::analyzeSheet(s).phases[0].reason, "入力された管理線が数値ではありません");
    s.phases = {given(0, {"10", "11", "9"}, {"1", "3", ""})};
    EXPECT_TRUE(sheet::analyzeSheet(s).phases[0].limits.has_value());
}

// ---- runs, phases and exclusions ------------------------------------------------------

std::vector<std::size_t> rowsOfTest(const sheet::SheetAnalysis &a, int test)
{
    std::vector<std::size_t> rows;
    for (const sheet::SheetSignal &signal : a.signals)
        if (!signal.spread && signal.test == test)
            rows.push_back(signal.row);
    return rows;
}

TEST(SheetTests, RunsDoNotCrossPhases)
{
    // Nine points above the centre line, five in one phase and four in the next.
    Sheet s = individuals({1, 1, 1, 1, 1, 1, 1, 1, 1});
    s.phases = {given(0, {"0", "10", "-10"}, {"1", "3", ""})};
    EXPECT_EQ(rowsOfTest(sheet::analyzeSheet(s), 2), (std::vector<std::size_t>{8}));
    s.phases.push_back(given(5, {"0", "10", "-10"}, {"1", "3", ""}));
    EXPECT_TRUE(rowsOfTest(sheet::analyzeSheet(s), 2).empty());
}

TEST(SheetTests, ExcludedRowsTakeNoPart)
{
    // Ten rows above the centre line, the fifth far out and excluded: it is
    // not beyond the limit as far as the tests go, and the run of nine
    // counted points ends at the tenth row.
    Sheet s = individuals({1, 2, 1, 2, 100, 1, 2, 1, 2, 1});
    s.rows[4].excluded = true;
    s.rows[4].exclusionReason = "治具の取り付け不良";
    s.phases = {given(0, {"0", "10", "-10"}, {"1", "3", ""})};
    sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    EXPECT_TRUE(rowsOfTest(a, 1).empty());
    EXPECT_EQ(rowsOfTest(a, 2), (std::vector<std::size_t>{9}));
    EXPECT_TRUE(a.points[4].excluded);
    EXPECT_FALSE(a.points[4].counted);
    EXPECT_NEAR(*a.points[4].location, 100, kClose); // still drawn where it is
    // Neither Rs that touches the excluded row is judged.
    EXPECT_FALSE(a.points[4].spreadCounted);
    EXPECT_FALSE(a.points[5].spreadCounted);
    // And it takes no part in limits computed from the rows.
    s.phases.clear();
    a = sheet::analyzeSheet(s);
    EXPECT_NEAR(limitsOf(a, 0).location.center, 13.0 / 9, kClose);
}

TEST(SheetTests, SwitchesOffTestsTheSheetTurnsOff)
{
    Sheet s = individuals({1, 1, 1, 1, 1, 1, 1, 1, 1, 20});
    s.phases = {given(0, {"0", "10", "-10"}, {"1", "3", ""})};
    s.tests = stats::SpecialCauseTests::only(2);
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    EXPECT_EQ(rowsOfTest(a, 2), (std::vector<std::size_t>{8, 9}));
    EXPECT_TRUE(rowsOfTest(a, 1).empty());
    for (const sheet::SheetSignal &signal : a.signals)
        EXPECT_FALSE(signal.spread); // the Rs of 19 is over 3, but test 1 is off
}

// ---- values that are no numbers --------------------------------------------------------

TEST(SheetValues, RowWithoutNumberIsMarkedNotCountedAsZero)
{
    Sheet s = sheetOf(3, {{"10", "12", "11"}, {"13", "欠測", "14"}, {"11", "11", "14"},
                          {"１３", "１２", "１４"}, {"12", ""}, {"1", "2", "3", "4"}});
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    using Kind = sheet::RowProblem::Kind;
    EXPECT_EQ(a.problems, (std::vector<sheet::RowProblem>{
                              {1, 1, Kind::NoNumber}, {4, 1, Kind::Missing},
                              {4, 2, Kind::Missing}, {5, 4, Kind::TooMany}}));
    EXPECT_FALSE(a.points[1].location.has_value());
    // Means 11, 12 (full-width), 13: the row with 欠測 is not read as 0.
    EXPECT_NEAR(limitsOf(a, 0).location.center, 12, kClose);
    EXPECT_EQ(sheet::rowProblemText(a.problems[0], 3), "第 2 群 2 番目の値に数値がありません");
    EXPECT_EQ(sheet::rowProblemText(a.problems[1], 3), "第 5 群 2 番目の値がありません");
    EXPECT_EQ(sheet::rowProblemText(a.problems[3], 3), "第 6 群: 値が 4 個です (3 個まで)");
}

TEST(SheetValues, NoChartOutsideTheSubgroupSizes)
{
    const sheet::SheetAnalysis a = sheet::analyzeSheet(sheetOf(26, {}));
    EXPECT_FALSE(a.kind.has_value());
    EXPECT_EQ(a.reason, "群の大きさ n は 1 から 25 までです");
}

TEST(SheetValues, TooFewRowsGiveAReason)
{
    const sheet::SheetAnalysis a = sheet::analyzeSheet(sheetOf(3, {{"1", "2", "3"}}));
    EXPECT_EQ(a.phases[0].reason, "管理限界を計算できる群が 2 つ未満です");
    EXPECT_TRUE(a.signals.empty());
}

TEST(SheetValues, SignalTextNamesGroupAndLabel)
{
    Sheet s = individuals({1, 2});
    s.rows[1].label = "12/03 10:00";
    EXPECT_EQ(sheet::sheetSignalText(s, sheet::ChartKind::IndividualsMovingRange,
                                     {false, 1, 1, 16.3}),
              "X 管理図 第 2 群 (12/03 10:00) 16.3: 判定 1 管理限界の外");
    EXPECT_EQ(sheet::sheetSignalText(s, sheet::ChartKind::MeansStdDevs, {true, 0, 1, 0.5}),
              "s 管理図 第 1 群 .5: 判定 1 管理限界の外");
}

} // namespace
