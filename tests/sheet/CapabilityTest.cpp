#include "sheet/Capability.h"

#include "RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

// ---- never rounded up ------------------------------------------------------------------

struct TextRow
{
    const char *name;
    double value;
    const char *text;
    const char *band; // for "Cpk"
};

const TextRow kTextRows[] = {
    {"JustBelowOne", 0.9954, "0.99", "Cpk < 1.00"},
    {"JustBelowOneThirtyThree", 1.3299, "1.32", "1.00 ≤ Cpk < 1.33"},
    {"JustBelowOneSixtySeven", 1.6699, "1.66", "1.33 ≤ Cpk < 1.67"},
    {"ExactlyOne", 1.0, "1.00", "1.00 ≤ Cpk < 1.33"},
    {"ExactlyOneThirtyThree", 1.33, "1.33", "1.33 ≤ Cpk < 1.67"},
    {"ExactlyOneSixtySeven", 1.67, "1.67", "Cpk ≥ 1.67"},
    {"StoredJustBelow", 0.57, "0.57", "Cpk < 1.00"}, // 0.56999999999999995
    {"Two", 2.0, "2.00", "Cpk ≥ 1.67"},
    {"Third", 1.0 / 3, "0.33", "Cpk < 1.00"},
    {"NegativeGoesDown", -0.123, "-0.13", "Cpk < 1.00"},
    {"Zero", 0.0, "0.00", "Cpk < 1.00"},
    {"Large", 12345.678, "12345.67", "Cpk ≥ 1.67"},
};

class IndexTextTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(IndexTextTest, TruncatesAndNamesBand)
{
    const TextRow &r = GetParam();
    EXPECT_EQ(sheet::indexText(r.value), r.text);
    EXPECT_EQ(sheet::bandText("Cpk", r.value), r.band);
}

INSTANTIATE_TEST_SUITE_P(Capability, IndexTextTest, ::testing::ValuesIn(kTextRows), RowName{});

// ---- the intervals ---------------------------------------------------------------------

struct ChiRow
{
    const char *name;
    double cp, freedom;
    double lower, upper; // from the printed chi-square table (three decimals)
};

const ChiRow kChiRows[] = {
    // χ²(0.025; 24) = 12.401, χ²(0.975; 24) = 39.364
    {"TwentyFour", 1.33, 24, 0.956036, 1.703318},
    // χ²(0.025; 9) = 2.700, χ²(0.975; 9) = 19.023
    {"Nine", 1.0, 9, 0.547723, 1.453845},
    // χ²(0.025; 3) = 0.216, χ²(0.975; 3) = 9.348
    {"Three", 0.8164966, 3, 0.219089, 1.441296},
};

class ChiTest : public ::testing::TestWithParam<ChiRow> {};

TEST_P(ChiTest, MatchesTable)
{
    const ChiRow &r = GetParam();
    const auto interval = sheet::cpInterval(r.cp, r.freedom);
    ASSERT_TRUE(interval.has_value());
    // The table's three decimals carry through the square root at about 1e-4.
    EXPECT_NEAR(interval->lower, r.lower, 2e-4);
    EXPECT_NEAR(interval->upper, r.upper, 2e-4);
}

INSTANTIATE_TEST_SUITE_P(Capability, ChiTest, ::testing::ValuesIn(kChiRows), RowName{});

TEST(CapabilityInterval, BissellApproximation)
{
    // 1.2 ± 1.959964·√(1/450 + 1.44/98)
    const auto interval = sheet::cpkInterval(1.2, 50, 49);
    ASSERT_TRUE(interval.has_value());
    EXPECT_NEAR(interval->lower, 0.9450833, 1e-6);
    EXPECT_NEAR(interval->upper, 1.4549167, 1e-6);
    EXPECT_FALSE(sheet::cpkInterval(1.2, 1, 49).has_value());
    EXPECT_FALSE(sheet::cpkInterval(1.2, 50, 0).has_value());
    EXPECT_FALSE(sheet::cpInterval(1.2, 0.5).has_value());
}

// ---- the indices ------------------------------------------------------------------------

TEST(CapabilityIndices, WorkedExampleBothLimits)
{
    // 9, 10, 11, 10: x̄ 10, s √(2/3) = 0.8164966; within σ 0.5 on 20 degrees.
    // Cp = Cpk = 4/3; Pp = Ppk = 4/(6·0.8164966) = 0.8164966.
    const sheet::CapabilityReport r =
        sheet::capabilityOf({9, 10, 11, 10}, sheet::WithinSigma{0.5, 20, "R̄/d₂"}, {12.0, 8.0});
    ASSERT_TRUE(r.cp && r.cpk && r.pp && r.ppk) << r.reason;
    EXPECT_NEAR(r.cp->value, 4.0 / 3, 1e-12);
    EXPECT_EQ(r.cp->text, "1.33");
    EXPECT_EQ(r.cp->band, "1.33 ≤ Cp < 1.67");
    // χ²(0.025; 20) = 9.591, χ²(0.975; 20) = 34.170
    EXPECT_NEAR(r.cp->interval->lower, 0.923327, 2e-4);
    EXPECT_NEAR(r.cp->interval->upper, 1.742795, 2e-4);
    // Bissell with N 4 and ν 20.
    EXPECT_NEAR(r.cpk->interval->lower, 0.8066088, 1e-6);
    EXPECT_NEAR(r.cpk->interval->upper, 1.8600578, 1e-6);
    EXPECT_EQ(r.cpk->intervalText, "0.80 – 1.86");
    EXPECT_NEAR(r.pp->value, 0.8164966, 1e-7);
    EXPECT_EQ(r.pp->text, "0.81");
    EXPECT_EQ(r.ppk->band, "Ppk < 1.00");
    EXPECT_NEAR(r.pp->interval->lower, 0.219089, 2e-4); // ν = N - 1 = 3
    EXPECT_EQ(r.cpk->side, "");
}

struct OneSidedRow
{
    const char *name;
    stats::Tolerance tolerance;
    const char *side;
    double cpk, ppk;
};

const OneSidedRow kOneSidedRows[] = {
    {"UpperOnly", {12.0, std::nullopt}, "上限", 2.0 / 1.5, 2 / (3 * 0.81649658)},
    {"LowerOnly", {std::nullopt, 9.5}, "下限", 0.5 / 1.5, 0.5 / (3 * 0.81649658)},
};

class OneSidedTest : public ::testing::TestWithParam<OneSidedRow> {};

TEST_P(OneSidedTest, GivesOnlyTheOneSidedIndex)
{
    const OneSidedRow &c = GetParam();
    const sheet::CapabilityReport r =
        sheet::capabilityOf({9, 10, 11, 10}, sheet::WithinSigma{0.5, 20, "R̄/d₂"}, c.tolerance);
    EXPECT_FALSE(r.cp.has_value());
    EXPECT_FALSE(r.pp.has_value());
    ASSERT_TRUE(r.cpk && r.ppk);
    EXPECT_EQ(r.cpk->side, c.side);
    EXPECT_NEAR(r.cpk->value, c.cpk, 1e-7);
    EXPECT_NEAR(r.ppk->value, c.ppk, 1e-7);
}

INSTANTIATE_TEST_SUITE_P(Capability, OneSidedTest, ::testing::ValuesIn(kOneSidedRows), RowName{});

struct RefusalRow
{
    const char *name;
    std::vector<double> values;
    stats::Tolerance tolerance;
    const char *reason;
};

const RefusalRow kRefusalRows[] = {
    {"NoLimit", {1, 2, 3}, {}, "規格が入力されていません"},
    {"LimitsCrossed", {1, 2, 3}, {1.0, 2.0}, "規格上限が規格下限以下です"},
    {"LimitsEqual", {1, 2, 3}, {2.0, 2.0}, "規格上限が規格下限以下です"},
    {"OneValue", {1}, {5.0, 0.0}, "データが2個未満です"},
    {"NoSpread", {2, 2, 2}, {5.0, 0.0}, "ばらつきがありません (s = 0)"},
};

class RefusalTest : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(RefusalTest, GivesNoIndex)
{
    const RefusalRow &c = GetParam();
    const sheet::CapabilityReport r =
        sheet::capabilityOf(c.values, sheet::WithinSigma{0.5, 20, "R̄/d₂"}, c.tolerance);
    EXPECT_EQ(r.reason, c.reason);
    EXPECT_FALSE(r.cp || r.cpk || r.pp || r.ppk);
}

INSTANTIATE_TEST_SUITE_P(Capability, RefusalTest, ::testing::ValuesIn(kRefusalRows), RowName{});

// ---- normality ----------------------------------------------------------------------------

struct NormalityRow
{
    const char *name;
    std::vector<double> values;
    double a2, adjusted, p; // worked by hand from the definition
    bool rejected;
};

const NormalityRow kNormalityRows[] = {
    {"SkewedRejected", {2.1, 2.4, 2.2, 2.9, 2.5, 2.3, 3.8, 2.6, 2.2, 2.0}, 0.7511595, 0.8243976,
     0.0333684, true},
    {"OutlierRejected", {1, 1, 1, 1, 1, 1, 1, 1, 1, 10}, 3.2080568, 3.5208424, 8.6e-9, true},
    {"Symmetric", {4.9, 5.1, 5.0, 4.8, 5.2, 5.0, 5.1, 4.9, 5.0, 5.3, 4.7, 5.0}, 0.2596792,
     0.2799667, 0.6446198, false},
};

class NormalityTest : public ::testing::TestWithParam<NormalityRow> {};

TEST_P(NormalityTest, AndersonDarling)
{
    const NormalityRow &c = GetParam();
    const sheet::Normality n = sheet::andersonDarling(c.values);
    ASSERT_TRUE(n.statistic && n.adjusted && n.pValue) << n.reason;
    EXPECT_NEAR(*n.statistic, c.a2, 1e-6);
    EXPECT_NEAR(*n.adjusted, c.adjusted, 1e-6);
    EXPECT_NEAR(*n.pValue, c.p, 1e-6);
    EXPECT_EQ(n.rejected, c.rejected);
    EXPECT_EQ(n.warning.empty(), !c.rejected);
}

INSTANTIATE_TEST_SUITE_P(Capability, NormalityTest, ::testing::ValuesIn(kNormalityRows), RowName{});

TEST(CapabilityNormality, NeedsEightValuesWithSpread)
{
    EXPECT_EQ(sheet::andersonDarling({1, 2, 3, 4, 5, 6, 7}).reason,
              "正規性の検定にはデータが 8 個以上必要です");
    EXPECT_EQ(sheet::andersonDarling(std::vector<double>(8, 3.0)).reason,
              "ばらつきがないため正規性を検定できません");
}

TEST(CapabilityNormality, ProbabilityPlotUsesMedianRanks)
{
    const auto points = sheet::probabilityPlot({3, 1, 2});
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].value, 1);
    EXPECT_NEAR(points[0].position, 0.7 / 3.4, 1e-12);
    EXPECT_NEAR(points[0].quantile, -0.8207921, 1e-6);
    EXPECT_NEAR(points[1].quantile, 0.0, 1e-12);
    EXPECT_NEAR(points[2].quantile, 0.8207921, 1e-6);
    EXPECT_TRUE(sheet::probabilityPlot({1}).empty());
}

TEST(CapabilityLines, IndicesWithIntervalsBandsAndNormality)
{
    const std::vector<double> values = {4.9, 5.1, 5.0, 4.8, 5.2, 5.0, 5.1, 4.9, 5.0, 5.3, 4.7, 5.0};
    const sheet::CapabilityReport r =
        sheet::capabilityOf(values, sheet::WithinSigma{0.1, 24, "R̄/d₂"}, {std::nullopt, 4.7});
    const std::vector<std::string> lines = sheet::capabilityLines(r);
    ASSERT_EQ(lines.size(), 5u);
    // x̄ 5, (5 - 4.7)/0.3 = 1.00 exactly on the band's edge: 1.00 ≤ Cpk.
    EXPECT_EQ(lines[0].substr(0, lines[0].find(" (")), "Cpk 下限 1.00");
    EXPECT_TRUE(lines[0].ends_with(") 1.00 ≤ Cpk < 1.33")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("Ppk 下限 ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("σ 群内 (R̄/d₂) .1、全体 s ")) << lines[2];
    EXPECT_TRUE(lines[2].ends_with("データ 12 個")) << lines[2];
    EXPECT_EQ(lines[3], "正規性 (Anderson-Darling): A² .2597、p .6446");
    EXPECT_TRUE(lines[4].starts_with("推定不良率 ")) << lines[4];
}

TEST(CapabilityLines, WarningStandsRightAfterTheIndices)
{
    const std::vector<double> values = {1, 1, 1, 1, 1, 1, 1, 1, 1, 10};
    const sheet::CapabilityReport r = sheet::capabilityOf(values, std::nullopt, {20.0, 0.0});
    const std::vector<std::string> lines = sheet::capabilityLines(r);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("Pp ")) << lines[0]; // no within σ: no Cp, no Cpk
    EXPECT_TRUE(lines[1].starts_with("Ppk ")) << lines[1];
    EXPECT_EQ(lines[2], r.normality.warning);
    EXPECT_EQ(sheet::capabilityLines(sheet::capabilityOf(values, std::nullopt, {})),
              (std::vector<std::string>{"工程能力: 規格が入力されていません"}));
}

// ---- from a sheet ---------------------------------------------------------------------------

TEST(CapabilitySheet, WithinSigmaFollowsTheChart)
{
    sheet::Sheet s;
    s.header.subgroupSize = 3;
    s.header.upperLimit = "20";
    s.header.lowerLimit = "４";
    s.rows = {{"", {"10", "12", "11"}, "", false, ""},
              {"", {"13", "12", "14"}, "", false, ""},
              {"", {"11", "11", "14"}, "", false, ""},
              {"", {"50", "50", "50"}, "", true, "測定ミス"}};
    const sheet::SheetAnalysis a = sheet::analyzeSheet(s);
    const auto within = sheet::withinSigmaOf(s, a, 0);
    ASSERT_TRUE(within.has_value());
    EXPECT_NEAR(within->sigma, (7.0 / 3) / 1.693, 1e-12); // R̄/d2
    EXPECT_EQ(within->degreesOfFreedom, 6);               // 3 groups of 3
    EXPECT_EQ(within->basis, "R̄/d₂");
    const sheet::CapabilityReport r = sheet::phaseCapability(s, a, 0);
    EXPECT_EQ(r.count, 9u); // the excluded row's values are left out
    EXPECT_NEAR(r.mean, 12, 1e-12);
    ASSERT_TRUE(r.cp.has_value());
    EXPECT_NEAR(r.cp->value, 16 / (6 * within->sigma), 1e-12);
    EXPECT_EQ(sheet::currentPhase(a), std::optional<std::size_t>(0));
}

} // namespace
