#include "cli/ChartCommand.h"

#include "chart/ChartPicture.h"
#include "chart/ChartRecord.h"
#include "cli/GivenFiles.h"
#include "cli/SheetChartCommand.h"
#include "cli/StatsCommand.h"
#include "stats/ChartContent.h"

#include "sheet/SheetFile.h"

#include <ostream>

namespace cli {

namespace {

// The choices the chart window would be given: chart type, subgroup size
// and tolerance, with every test for special causes.
stats::ChartRequest chartRequest(const CommandLine &command)
{
    stats::ChartRequest request;
    request.type = command.chartType;
    request.subgroupSize = command.subgroupSize;
    request.tolerance = {command.upper, command.lower};
    return request;
}

} // namespace

QPageLayout::Orientation recordOrientation(const CommandLine &command)
{
    return command.portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
}

int runChart(const CommandLine &command, std::ostream &errors)
{
    const std::string &argument = command.files.front();
    if (sheet::isSheetFileName(argument))
        return runSheetChart(command, errors);
    const QString path = argumentPath(argument);
    const std::string name = path.toStdString();
    std::vector<std::size_t> withoutNumber;
    const std::optional<stats::StatisticsFigures> figures =
        readFigures(argument, name, command, errors, &withoutNumber);
    if (!figures)
        return 1;
    const stats::ChartContent content =
        stats::chartContent(*figures, chartRequest(command), withoutNumber);
    if (!content.withoutNumberNote.empty())
        errors << "vorla: " << name << ": " << content.withoutNumberNote << "。\n";
    if (const stats::NoControlChart *refusal = content.refusal()) {
        errors << "vorla: " << name << ": " << refusal->reason << "。\n";
        return 1;
    }
    const QString output = argumentPath(command.output);
    // A file read afresh has no changes that are not saved.
    const QString failure =
        isRecordPath(command.output)
            ? chart::saveRecordPdf(output, &content,
                                  {name, false, chart::writtenNow().toStdString()},
                                  recordOrientation(command))
            : chart::savePicture(output,
                                 chart::chartPicture(&content, {path, chart::writtenNow()}));
    if (!failure.isEmpty()) {
        errors << "vorla: " << output.toStdString() << ": 保存できませんでした。"
               << failure.toStdString() << '\n';
        return 1;
    }
    return 0;
}

} // namespace cli
