#include "cli/SheetOutput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

sheet::Sheet workedSheet()
{
    // Three subgroups of three (x̿ 12, R̄ 7/3) fix the limits; the fourth's mean 21 is out.
    sheet::Sheet s;
    s.header.subgroupSize = 3;
    s.header.upperLimit = "20";
    s.header.lowerLimit = "4";
    s.rows = {{"08:00", {"10", "12", "11"}, "", false, ""},
              {"09:00", {"13", "12", "14"}, "", false, ""},
              {"10:00", {"11", "11", "14"}, "", false, ""},
              {"11:00", {"20", "21", "22"}, "刃具交換", false, ""},
              {"12:00", {"12", "欠測", "12"}, "", false, ""}};
    sheet::Phase control;
    control.firstRow = 3;
    control.source = sheet::LimitSource::Baseline;
    control.baselineLast = 2;
    s.phases = {sheet::Phase{}, control};
    return s;
}

TEST(SheetOutput, PhasesSignalsProblemsAndCapability)
{
    const sheet::Sheet s = workedSheet();
    const sheet::Json json = cli::sheetJson(s, sheet::analyzeSheet(s), sheet::toleranceOf(s.header));
    EXPECT_EQ(json["chart"], "xbar-r");
    ASSERT_EQ(json["phases"].size(), 2u);
    EXPECT_EQ(sheet::jsonLine(json["phases"][1]),
              R"({"title": "管理用", "firstGroup": 4, "lastGroup": 5, "source": "baseline", )"
              R"("rowsUsed": 3, "location": {"name": "X̄", "center": 12, "upper": 14.387, )"
              R"("lower": 9.613}, "spread": {"name": "R", "center": 2.3333333333333335, )"
              R"("upper": 6.006, "lower": null}, "reason": null})");
    EXPECT_EQ(sheet::jsonLine(json["signals"]),
              R"([{"chart": "X̄", "group": 4, "label": "11:00", "test": 1, "value": 21, )"
              R"("phase": 2, "text": "X̄ 管理図 第 4 群 (11:00) 21.: 判定 1 管理限界の外"}])");
    EXPECT_EQ(sheet::jsonLine(json["problems"]),
              R"([{"group": 5, "text": "第 5 群 2 番目の値に数値がありません"}])");
    // The capability speaks of the phase that holds the last counted row: the
    // control phase, whose one counted row gives three values.
    EXPECT_EQ(json["capability"]["phase"], 2);
    EXPECT_EQ(json["capability"]["count"], 3);
}

TEST(SheetOutput, NoChartGivesTheReason)
{
    sheet::Sheet s;
    s.header.subgroupSize = 30;
    EXPECT_EQ(sheet::jsonLine(cli::sheetJson(s, sheet::analyzeSheet(s), {})),
              R"({"reason": "群の大きさ n は 1 から 25 までです"})");
}

TEST(SheetOutput, CapabilityCellsShowTruncatedIndices)
{
    const sheet::CapabilityReport report =
        sheet::capabilityOf({9, 10, 11, 10}, sheet::WithinSigma{0.5, 20, "R̄/d₂"}, {12.0, 8.0});
    EXPECT_EQ(cli::capabilityCells(report), "\t1.33\t1.33\t0.81\t0.81\t14,306 ppm");
    const sheet::CapabilityReport none = sheet::capabilityOf({9}, std::nullopt, {12.0, 8.0});
    EXPECT_EQ(cli::capabilityCells(none), "\t—\t—\t—\t—\t—");
    EXPECT_EQ(cli::capabilityHeaderCells(), "\tCp\tCpk\tPp\tPpk\t推定不良率");
}

} // namespace
