#include "cli/SheetChartCommand.h"

#include "cli/GivenFiles.h"
#include "sheetwin/SheetChartView.h"

#pragma push_macro("signals")
#undef signals
#include "sheet/SheetFile.h"
#pragma pop_macro("signals")

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
    sheetwin::SheetChartView view;
    view.setAnalysis(sheet::analyzeSheet(std::get<sheet::Sheet>(read)));
    const QString failure = view.saveImage(argumentPath(command.output));
    if (!failure.isEmpty()) {
        errors << "vorla: " << argumentPath(command.output).toStdString()
               << ": 保存できませんでした。" << failure.toStdString() << '\n';
        return 1;
    }
    return 0;
}

} // namespace cli
