// Start-up time and peak memory of whole processes, offscreen.
//
// This program is its own child: started with "--child <kind> <fd>" it
// creates the QApplication as main.cpp does, builds one window, shows it,
// waits until the window is exposed, writes the CLOCK_MONOTONIC time of that
// moment to the pipe <fd> and ends at once. The parent takes the time just
// before it spawns the child, so a figure is "process spawned to window
// shown": loading Qt, the platform plugin, the fonts and building the window
// all count; tearing down does not. Peak memory is the child's max RSS as
// wait4 reports it.
//
// Kinds: "bare" is a QMainWindow holding one QLineEdit; "bare-japanese" is
// a QMainWindow showing one Japanese label in Vorla's font, the fairer floor
// (most of an empty Vorla's cost over "bare" is opening the Japanese font);
// "vorla" is the main window as the program starts it; "vorla-full" is the
// main window with 32,767 values typed in and one calculation done;
// "vorla-chart" is that and the chart window opened over it. "vorla" starts
// as the program does (startMainWindow: the data folder is looked at for
// journals left behind, and every change is journaled from then on);
// "vorla-restore" starts over a data folder holding a journal of 32,767
// values that a killed run left, and its time ends when the restore
// question shows.

#include "Figures.h"
#include "TypicalValues.h"

#include "app/Startup.h"
#include "app/Translations.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"
#include "journal/JournalFormat.h"
#include "doc/ValueListModel.h"
#include "app/Vorla.h"
#include "ui/DefaultFont.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::int64_t monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The restore question's showing ends the figure: its time goes to the pipe.
void answerRestoreQuestionAt(int fd)
{
    auto *watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, [fd] {
        if (qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) == nullptr)
            return;
        const std::int64_t shown = monotonicNanoseconds();
        if (write(fd, &shown, sizeof shown) != static_cast<ssize_t>(sizeof shown))
            _exit(3);
        _exit(0);
    });
    watch->start(0);
}

// A journal of 32,767 values typed one at a time, left by a killed run.
void writeLeftJournal(const QString &dataDir)
{
    QDir().mkpath(recovery::journalFolder(dataDir));
    std::string bytes = journal::header();
    bench::forEachTypicalValue(bench::kFullList, [&bytes](const std::string &v) {
        bytes += journal::appendRecord({v});
    });
    bytes += journal::stateRecord({{}, "", "Pellary", true, false});
    QFile file(QDir(recovery::journalFolder(dataDir)).filePath(QStringLiteral("left.vjl")));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

int runChild(int argc, char **argv)
{
    const std::string kind = argv[2];
    const int fd = std::atoi(argv[3]);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    std::unique_ptr<QMainWindow> window;
    if (kind == "bare") {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLineEdit(window.get()));
    } else if (kind == "bare-japanese") {
        window = std::make_unique<QMainWindow>();
        window->setFont(vorlaDefaultFont());
        window->setCentralWidget(new QLabel(QStringLiteral("データ"), window.get()));
    } else {
        // As main.cpp starts the program, Qt's Japanese texts included.
        QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vorla.Vorla"));
        installJapaneseTranslations(app);
        if (kind == "vorla-restore")
            answerRestoreQuestionAt(fd);
        const QString data = kind == "vorla-restore" ? qEnvironmentVariable("VORLA_BENCH_DATA")
                                                     : scratch.path();
        window = startMainWindow(scratch.path(), data);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 2;
    QCoreApplication::processEvents();
    const std::int64_t shown = monotonicNanoseconds();

    if (kind == "vorla-full" || kind == "vorla-chart") {
        ValueListDocument *document = static_cast<Vorla *>(window.get())->document();
        // Entered 64 at a time with the event loop turning in between, as
        // pasting them would, journaled as entries are (a file's values
        // come in one insertion).
        std::vector<std::string> batch;
        bench::forEachTypicalValue(bench::kFullList, [document, &batch](const std::string &v) {
            batch.push_back(v);
            if (batch.size() == 64) {
                document->enter(std::exchange(batch, {}));
                QCoreApplication::processEvents();
            }
        });
        document->enter(std::move(batch));
        QCoreApplication::processEvents();
        window->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QCoreApplication::processEvents();
    }
    if (kind == "vorla-chart") {
        window->findChild<QAction *>(QStringLiteral("v12"))->trigger();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("ChartWindow")
                && !QTest::qWaitForWindowExposed(top))
                return 2;
        QCoreApplication::processEvents();
    }
    if (write(fd, &shown, sizeof shown) != static_cast<ssize_t>(sizeof shown))
        return 3;
    std::fflush(nullptr);
    _exit(0); // the figure ends at the shown window; skip the teardown
}

struct ChildResult
{
    double secondsToShown = 0;
    double maxRssMiB = 0;
    bool ok = false;
};

ChildResult spawnChild(const char *kind)
{
    ChildResult result;
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    const std::string fd = std::to_string(fds[1]);
    std::string self = "/proc/self/exe";
    char *args[] = {self.data(), const_cast<char *>("--child"), const_cast<char *>(kind),
                    const_cast<char *>(fd.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::int64_t start = monotonicNanoseconds();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::int64_t shown = 0;
    const ssize_t got = spawned == 0 ? read(fds[0], &shown, sizeof shown) : -1;
    close(fds[0]);
    if (spawned != 0)
        return result;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.ok = got == static_cast<ssize_t>(sizeof shown) && WIFEXITED(status)
                && WEXITSTATUS(status) == 0;
    result.secondsToShown = static_cast<double>(shown - start) / 1e9;
    result.maxRssMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    return result;
}

void measureChild(benchmark::State &state, const char *kind)
{
    double peak = 0;
    for (auto _ : state) {
        const ChildResult child = spawnChild(kind);
        if (!child.ok) {
            state.SkipWithError("the child process failed");
            break;
        }
        state.SetIterationTime(child.secondsToShown);
        peak = std::max(peak, child.maxRssMiB);
    }
    state.counters["maxrss_MiB"] = peak;
}

void BM_StartupBareWindow(benchmark::State &state) { measureChild(state, "bare"); }
BENCHMARK(BM_StartupBareWindow)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_StartupJapaneseLabel(benchmark::State &state) { measureChild(state, "bare-japanese"); }
BENCHMARK(BM_StartupJapaneseLabel)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_StartupVorla(benchmark::State &state) { measureChild(state, "vorla"); }
BENCHMARK(BM_StartupVorla)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_StartupToRestoreQuestion(benchmark::State &state)
{
    // The journal is never taken: each child stops at the question.
    QTemporaryDir data;
    writeLeftJournal(data.path());
    qputenv("VORLA_BENCH_DATA", data.path().toLocal8Bit());
    measureChild(state, "vorla-restore");
}
BENCHMARK(BM_StartupToRestoreQuestion)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_MemoryFullList(benchmark::State &state) { measureChild(state, "vorla-full"); }
BENCHMARK(BM_MemoryFullList)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_MemoryFullListChart(benchmark::State &state) { measureChild(state, "vorla-chart"); }
BENCHMARK(BM_MemoryFullListChart)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    using bench::Figure;
    return bench::runWithFigures(
        argc, argv,
        {{"Start-up to shown window, Vorla vs bare", "BM_StartupVorla", "BM_StartupBareWindow",
          Figure::Ratio, 1.5},
         {"Start-up to shown window, Vorla vs Japanese label", "BM_StartupVorla",
          "BM_StartupJapaneseLabel", Figure::Ratio, 1.25},
         {"Start-up to the restore question, 32,767 values", "BM_StartupToRestoreQuestion",
          "BM_StartupVorla", Figure::Milliseconds, 300},
         {"Peak memory, full list vs Japanese label", "BM_MemoryFullList",
          "BM_StartupJapaneseLabel", Figure::ExtraMiB, 8},
         {"Peak memory, full list vs bare window", "BM_MemoryFullList", "BM_StartupBareWindow",
          Figure::ExtraMiB, 8},
         {"Peak memory, chart window open vs full list", "BM_MemoryFullListChart", "BM_MemoryFullList",
          Figure::ExtraMiB, 10}});
}
