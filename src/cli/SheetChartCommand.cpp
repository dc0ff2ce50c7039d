#include "cli/SheetChartCommand.h"

#include "cli/ChartCommand.h"
#include "cli/GivenFiles.h"
#include "chart/ChartPicture.h"
#include "sheetwin/SheetChartView.h"
#include "sheetwin/SheetRecord.h"


#include "sheet/SheetFile.h"

#include <ostream>
#include <variant>

namespace cli {

int runSheetChart(const CommandLine &command, std::ostream &errors)
{
    const std::string &argument = command.files.front();
    const std::string name = argumentPath(argument).toStdString();
    auto bytes = readArgumentBytes(argument, sheet::kMaxSheetFileBytes);
    if (const auto *failure = std::get_if<files::ReadFailure>(&bytes)) {
        errors << "vorla: " << name << ": " << files::readProblemText(*failure).toStdString() << '\n';
        return 1;
    }
    const sheet::SheetReadOutcome read = sheet::readSheet(std::get<std::string>(bytes));
    if (const auto *failure = std::get_if<sheet::SheetReadFailure>(&read)) {
        errors << "vorla: " << name << ": " << sheet::sheetFailureText(*failure) << '\n';
        return 1;
    }
    const sheet::Sheet &sheet = std::get<sheet::Sheet>(read);
    const sheet::SheetAnalysis analysis = sheet::analyzeSheet(sheet);
    const QString output = argumentPath(command.output);
    QString failure;
    if (isRecordPath(command.output)) {
        // A sheet read afresh has no changes that are not saved.
        failure = sheetwin::saveSheetRecordPdf(output, sheet, analysis,
                                               {name, false, chart::writtenNow().toStdString()},
                                               recordOrientation(command));
    } else {
        sheetwin::SheetChartView view;
        view.setAnalysis(analysis);
        failure = view.saveImage(output);
    }
    if (!failure.isEmpty()) {
        errors << "vorla: " << argumentPath(command.output).toStdString()
               << ": 保存できませんでした。" << failure.toStdString() << '\n';
        return 1;
    }
    return 0;
}

} // namespace cli
