#include "sheet/Sheet.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace {

using sheet::ChartKind;

// ---- the factors ------------------------------------------------------------------

// Each column of the table against the others and against c4's closed form,
// so that a mistyped entry shows as a broken identity.
TEST(SheetFactors, TableAgreesWithItsDefinitions)
{
    for (int n = 2; n <= sheet::kLargestSubgroup; ++n) {
        SCOPED_TRACE("n = " + std::to_string(n));
        const auto f = sheet::factorsFor(n);
        ASSERT_TRUE(f.has_value());
        const double m = n;
        const double c4 = std::sqrt(2 / (m - 1)) * std::exp(std::lgamma(m / 2) - std::lgamma((m - 1) / 2));
        EXPECT_NEAR(f->c4, c4, 6e-5);
        EXPECT_NEAR(f->a3, 3 / (f->c4 * std::sqrt(m)), 2e-3);
        const double width = 3 * std::sqrt(1 - f->c4 * f->c4) / f->c4;
        EXPECT_NEAR(f->b4, 1 + width, 2e-3);
        EXPECT_NEAR(f->b3, std::max(0.0, 1 - width), 2e-3);
        if (n > sheet::kLargestRangeSubgroup)
            continue;
        EXPECT_NEAR(f->a2, 3 / (f->d2 * std::sqrt(m)), 2e-3);
        // D3 = 1 - 3d3/d2 and D4 = 1 + 3d3/d2, so D3 + D4 = 2 where D3 is not cut to 0,
        // and D1 = d2·D3, D2 = d2·D4.
        if (f->d3 > 0.0) {
            EXPECT_NEAR(f->d3 + f->d4, 2.0, 2e-3);
        }
        EXPECT_NEAR(f->bigD2, f->d2 * f->d4, 1e-2);
        EXPECT_NEAR(f->d1, f->d2 * f->d3, 5e-3);
    }
}

struct FactorRow
{
    const char *name;
    int n;
    double a2, d2, d3, d4, a3, c4, b3, b4;
};

// Rows of the printed table.
const FactorRow kFactorRows[] = {
    {"Two", 2, 1.880, 1.128, 0.0, 3.267, 2.659, 0.7979, 0.0, 3.267},
    {"Five", 5, 0.577, 2.326, 0.0, 2.114, 1.427, 0.9400, 0.0, 2.089},
    {"Seven", 7, 0.419, 2.704, 0.076, 1.924, 1.182, 0.9594, 0.118, 1.882},
    {"Ten", 10, 0.308, 3.078, 0.223, 1.777, 0.975, 0.9727, 0.284, 1.716},
    {"TwentyFive", 25, 0.0, 3.931, 0.0, 0.0, 0.606, 0.9896, 0.565, 1.435},
};

class FactorRowTest : public ::testing::TestWithParam<FactorRow> {};

TEST_P(FactorRowTest, MatchesPrintedTable)
{
    const FactorRow &r = GetParam();
    const auto f = sheet::factorsFor(r.n);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->a2, r.a2);
    EXPECT_EQ(f->d2, r.d2);
    EXPECT_EQ(f->d3, r.d3);
    EXPECT_EQ(f->d4, r.d4);
    EXPECT_EQ(f->a3, r.a3);
    EXPECT_EQ(f->c4, r.c4);
    EXPECT_EQ(f->b3, r.b3);
    EXPECT_EQ(f->b4, r.b4);
}

INSTANTIATE_TEST_SUITE_P(Sheet, FactorRowTest, ::testing::ValuesIn(kFactorRows), RowName{});

TEST(SheetFactors, NoneOutsideTwoToTwentyFive)
{
    EXPECT_FALSE(sheet::factorsFor(1).has_value());
    EXPECT_FALSE(sheet::factorsFor(26).has_value());
}

// ---- the chart a subgroup size gives ------------------------------------------------

struct KindRow
{
    const char *name;
    int n;
    bool standardDeviations;
    std::optional<ChartKind> kind;
};

const KindRow kKindRows[] = {
    {"OneIsIndividuals", 1, false, ChartKind::IndividualsMovingRange},
    {"OneIgnoresTheChoice", 1, true, ChartKind::IndividualsMovingRange},
    {"TwoRanges", 2, false, ChartKind::MeansRanges},
    {"TwoStdDevsWhenAsked", 2, true, ChartKind::MeansStdDevs},
    {"TenRanges", 10, false, ChartKind::MeansRanges},
    {"ElevenAlwaysStdDevs", 11, false, ChartKind::MeansStdDevs},
    {"TwentyFive", 25, false, ChartKind::MeansStdDevs},
    {"Zero", 0, false, std::nullopt},
    {"TwentySix", 26, true, std::nullopt},
    {"Negative", -3, false, std::nullopt},
};

class KindTest : public ::testing::TestWithParam<KindRow> {};

TEST_P(KindTest, FollowsSubgroupSize)
{
    const KindRow &r = GetParam();
    EXPECT_EQ(sheet::chartKindFor(r.n, r.standardDeviations), r.kind);
}

INSTANTIATE_TEST_SUITE_P(Sheet, KindTest, ::testing::ValuesIn(kKindRows), RowName{});

// ---- reading typed values ----------------------------------------------------------

struct ValueRow
{
    const char *name;
    const char *text;
    sheet::ValueState state;
    double value;
};

const ValueRow kValueRows[] = {
    {"Plain", "10.02", sheet::ValueState::Number, 10.02},
    {"FullWidth", "１０。０２", sheet::ValueState::Number, 10.02},
    {"InputMethodMinus", "ー３。５", sheet::ValueState::Number, -3.5},
    {"Zero", "0", sheet::ValueState::Number, 0.0},
    {"UnitAfter", "12.5mm", sheet::ValueState::Number, 12.5},
    {"Blank", "  ", sheet::ValueState::Empty, 0.0},
    {"IdeographicSpace", "\xE3\x80\x80", sheet::ValueState::Empty, 0.0},
    {"Nothing", "", sheet::ValueState::Empty, 0.0},
    {"Word", "欠測", sheet::ValueState::NoNumber, 0.0},
    {"Dash", "-", sheet::ValueState::NoNumber, 0.0},
    {"PlusMinus", "±0.1", sheet::ValueState::NoNumber, 0.0},
    {"Huge", "1e999", sheet::ValueState::OutOfRange, 0.0},
};

class ValueTest : public ::testing::TestWithParam<ValueRow> {};

TEST_P(ValueTest, ReadsAsEntryBoxButNeverAsZero)
{
    const ValueRow &r = GetParam();
    const sheet::ValueCheck check = sheet::readValue(r.text);
    EXPECT_EQ(check.state, r.state);
    EXPECT_NEAR(check.value, r.value, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Sheet, ValueTest, ::testing::ValuesIn(kValueRows), RowName{});

// ---- phases --------------------------------------------------------------------------

sheet::Phase phaseAt(std::size_t row, sheet::LimitSource source)
{
    sheet::Phase phase;
    phase.firstRow = row;
    phase.source = source;
    return phase;
}

TEST(SheetPhases, TitlesCountRevisionsAfterTheFirstControlPhase)
{
    using sheet::LimitSource;
    const std::vector<sheet::Phase> phases = {
        phaseAt(0, LimitSource::OwnRows), phaseAt(25, LimitSource::Baseline),
        phaseAt(80, LimitSource::Standard), phaseAt(90, LimitSource::Given)};
    EXPECT_EQ(sheet::phaseTitle(phases, 0), "解析用");
    EXPECT_EQ(sheet::phaseTitle(phases, 1), "管理用");
    EXPECT_EQ(sheet::phaseTitle(phases, 2), "改訂 1");
    EXPECT_EQ(sheet::phaseTitle(phases, 3), "改訂 2");
    EXPECT_EQ(sheet::phaseOfRow(phases, 0), 0u);
    EXPECT_EQ(sheet::phaseOfRow(phases, 24), 0u);
    EXPECT_EQ(sheet::phaseOfRow(phases, 25), 1u);
    EXPECT_EQ(sheet::phaseOfRow(phases, 89), 2u);
    EXPECT_EQ(sheet::phaseOfRow(phases, 5000), 3u);
}

struct PhaseProblemRow
{
    const char *name;
    std::vector<std::size_t> starts;
    const char *problem;
};

const PhaseProblemRow kPhaseProblemRows[] = {
    {"Rising", {0, 26, 80}, ""},
    {"None", {}, ""},
    {"NotFromFirstRow", {1, 26}, "期 1 が第 1 群から始まっていません"},
    {"SameStart", {0, 26, 26}, "期 3 の開始 (第 27 群) が期 2 の開始の後にありません"},
    {"Falling", {0, 30, 20}, "期 3 の開始 (第 21 群) が期 2 の開始の後にありません"},
};

class PhaseProblemTest : public ::testing::TestWithParam<PhaseProblemRow> {};

TEST_P(PhaseProblemTest, SaysWhichPhase)
{
    std::vector<sheet::Phase> phases;
    for (const std::size_t start : GetParam().starts)
        phases.push_back(phaseAt(start, sheet::LimitSource::OwnRows));
    EXPECT_EQ(sheet::phasesProblem(phases), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Sheet, PhaseProblemTest, ::testing::ValuesIn(kPhaseProblemRows), RowName{});

TEST(SheetPhases, BaselineEndingBeforeItStartsIsAProblem)
{
    sheet::Phase phase = phaseAt(0, sheet::LimitSource::Baseline);
    phase.baselineFirst = 5;
    phase.baselineLast = 4;
    EXPECT_EQ(sheet::phasesProblem({phase}), "期 1 の基準の群の範囲が逆です");
}

} // namespace
