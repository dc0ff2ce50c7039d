#include "cli/ChartCommand.h"

#include "chart/ChartWindow.h"
#include "chart/QtControlChart.h"
#include "cli/GivenFiles.h"
#include "cli/SheetChartCommand.h"
#include "cli/StatsCommand.h"
#include "sheet/SheetFile.h"

#include <memory>
#include <ostream>
#include <variant>

namespace cli {

namespace {

ChartType windowChartType(ChartKind kind)
{
    switch (kind) {
    case ChartKind::IndividualsMovingRange: return ChartType::IndividualsMovingRange;
    case ChartKind::MeansRanges: return ChartType::MeansRanges;
    case ChartKind::Run: break;
    }
    return ChartType::Run;
}

// Sets the window as the user would: figures, chart type, subgroup size and
// tolerance, in the order the window offers them.
void setUpWindow(ChartWindow &window, const CommandLine &command,
                 stats::StatisticsFigures figures, const QString &name)
{
    window.setSourceName(name);
    window.setFigures(std::make_shared<const stats::StatisticsFigures>(std::move(figures)));
    window.setChartType(windowChartType(command.chartType));
    window.setSubgroupSize(command.subgroupSize);
    window.setTolerance({command.upper, command.lower});
}

// Why the control chart asked for cannot be drawn; empty when it can (or
// when the run chart was asked for).
std::string refusedChart(const ChartWindow &window)
{
    const auto &outcome = window.controlChart();
    if (!outcome)
        return {};
    if (const auto *refusal = std::get_if<stats::NoControlChart>(&*outcome))
        return refusal->reason + "。";
    return {};
}

} // namespace

int runChart(const CommandLine &command, std::ostream &errors)
{
    const std::string &argument = command.files.front();
    if (sheet::isSheetFileName(argument))
        return runSheetChart(command, errors);
    const QString path = argumentPath(argument);
    const std::string name = path.toStdString();
    std::optional<stats::StatisticsFigures> figures = readFigures(argument, name, command, errors);
    if (!figures)
        return 1;
    ChartWindow window;
    setUpWindow(window, command, std::move(*figures), path);
    if (const std::string reason = refusedChart(window); !reason.empty()) {
        errors << "vorla: " << name << ": " << reason << '\n';
        return 1;
    }
    const QString failure = window.saveImage(argumentPath(command.output));
    if (!failure.isEmpty()) {
        errors << "vorla: " << argumentPath(command.output).toStdString()
               << ": 保存できませんでした。" << failure.toStdString() << '\n';
        return 1;
    }
    return 0;
}

} // namespace cli
