#include "app/ScratchPaths.h"
#include "app/Startup.h"
#include "app/Translations.h"
#include "app/Vorla.h"
#include "cli/ChartCommand.h"
#include "cli/CommandLine.h"
#include "cli/GivenFiles.h"
#include "cli/StatsCommand.h"

#include <QApplication>

#ifdef _WIN32
#include "app/WindowsConsole.h"
#endif

#include <iostream>
#include <string>
#include <vector>

namespace {

// Standard error of a batch holds vorla's own lines only; Qt's notes about
// the session it runs in (no runtime folder, no display) are left out.
void keepQtQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

// --chart draws with Qt but shows nothing: the offscreen platform, unless the
// caller named one, lets it run with no display at all.
int drawChart(const cli::CommandLine &command, char *argv[])
{
#ifndef _WIN32
    // (Windows draws off screen with its own platform: nothing is shown.)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qInstallMessageHandler(keepQtQuiet);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    installJapaneseTranslations(app);
    return cli::runChart(command, std::cerr);
}

} // namespace

int main(int argc, char *argv[])
{
    // Read before any Qt application exists: --stats, --help and --version
    // create none, so they run without a display and load no platform plugin.
#ifdef _WIN32
    windows::useBinaryStandardStreams();
    const cli::CommandLine command = cli::parseCommandLine(windows::utf8Arguments());
    if (command.mode != cli::Mode::Window)
        windows::useParentConsole();
#else
    const cli::CommandLine command =
        cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
#endif
    switch (command.mode) {
    case cli::Mode::Help:
        std::cout << cli::helpText();
        return 0;
    case cli::Mode::Version:
        std::cout << "vorla " VORLA_VERSION "\n";
        return 0;
    case cli::Mode::Error:
        std::cerr << "vorla: " << command.error << '\n' << cli::usageText();
        return 2;
    case cli::Mode::Stats:
        return cli::runStats(command, std::cout, std::cerr);
    case cli::Mode::Chart:
        return drawChart(command, argv);
    case cli::Mode::Window:
        break;
    }

    // Qt is shown no argument of the user's: a file named like one of Qt's
    // own options (-style) is still a file to open.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // Names the program's data folder, where the scratch files live.
    QCoreApplication::setApplicationName(QStringLiteral("vorla"));
    keepSettingsWithData();
    // Ties the windows to the installed desktop entry, so desktops show its
    // name and icon for them.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vorla.Vorla"));
    installJapaneseTranslations(app);
    const std::unique_ptr<Vorla> window = startMainWindow(scratchDirectory(), dataDirectory());
    for (const QString &path : cli::absolutePaths(command.files))
        window->openValueFile(path);
    return app.exec();
}
