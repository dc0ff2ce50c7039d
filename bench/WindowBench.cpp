// The main window driven as a user drives it, on the offscreen platform:
// a calculation over a full list, one more entry into a nearly full list,
// and reading a value file of 32,767 lines into the list. Each stands
// beside a baseline from the same run: the bare core calculation, the same
// entry into an empty list, the same lines appended without a file.

#include "Figures.h"
#include "TypicalValues.h"

#include "app/Vorla.h"
#include "files/TextCodec.h"
#include "files/ValueLines.h"
#include "stats/Statistics.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

// A shown main window whose scratch folder is a fresh temporary one.
struct ShownWindow
{
    QTemporaryDir scratch;
    std::unique_ptr<Vorla> window;
    QListWidget *list = nullptr;
    QLineEdit *entry = nullptr;
    QPushButton *start = nullptr;

    ShownWindow()
        : window(std::make_unique<Vorla>(scratch.path()))
    {
        list = window->findChild<QListWidget *>(QStringLiteral("List1"));
        entry = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
        start = window->findChild<QPushButton *>(QStringLiteral("Command1"));
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was never exposed");
    }

    void fill(std::size_t count)
    {
        const auto &values = bench::typicalValues(count);
        QStringList texts;
        for (const std::string &v : values)
            texts.append(QString::fromStdString(v));
        list->addItems(texts);
        QCoreApplication::processEvents();
    }
};

void BM_CoreCalculationBaseline(benchmark::State &state)
{
    const auto items = bench::typicalValues(bench::kFullList);
    for (auto _ : state) {
        auto outcome = stats::calculateStatistics(items, "3σ");
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_CoreCalculationBaseline)->Unit(benchmark::kMillisecond);

// Command1_Click reads every item of List1, calculates and writes the eleven
// boxes; the repaint that follows is counted too.
void BM_WindowCalculation(benchmark::State &state)
{
    ShownWindow w;
    w.fill(bench::kFullList);
    for (auto _ : state) {
        w.start->click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_WindowCalculation)->Unit(benchmark::kMillisecond);

// One typed value accepted with Enter (Text1_KeyPress) while `listed` items
// are already there. The new item is taken away again outside the timing.
void enterOneValue(benchmark::State &state, std::size_t listed)
{
    ShownWindow w;
    w.fill(listed);
    for (auto _ : state) {
        w.entry->setText(QStringLiteral("12.345"));
        QTest::keyClick(w.entry, Qt::Key_Return);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (static_cast<std::size_t>(w.list->count()) != listed + 1)
            state.SkipWithError("the entry was not accepted");
        delete w.list->takeItem(w.list->count() - 1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_EntryIntoEmptyList(benchmark::State &state) { enterOneValue(state, 0); }
BENCHMARK(BM_EntryIntoEmptyList)->Unit(benchmark::kMicrosecond);

void BM_EntryIntoFullList(benchmark::State &state) { enterOneValue(state, bench::kFullList - 1); }
BENCHMARK(BM_EntryIntoFullList)->Unit(benchmark::kMicrosecond);

// Reading a value file of 32,767 Shift JIS lines into an empty List1 by way
// of the reader the open command uses (read the bytes, decode, split by the
// line rule, append each non-empty line). This is the reading path only;
// the window-level benchmark BM_OpenValueFile, which goes through the open
// command f11_Click itself, belongs here once that command is in the window.
void BM_ReadValueFileIntoList(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("values.txt"));
    {
        std::string text;
        for (const std::string &v : bench::typicalValues(bench::kFullList))
            text += v + "\r\n";
        text += "\r\n";
        const auto bytes = files::encodeShiftJis(QString::fromStdString(text));
        QFile file(path);
        if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size()) {
            state.SkipWithError("cannot write the value file");
            return;
        }
    }
    ShownWindow w;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot read the value file");
            break;
        }
        const auto decoded = files::decodeText(file.readAll());
        if (!decoded) {
            state.SkipWithError("the value file was refused");
            break;
        }
        for (const std::string &line : files::splitValueLines(decoded->text.toStdString()))
            if (!line.empty())
                w.list->addItem(QString::fromStdString(line));
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (w.list->count() != static_cast<int>(bench::kFullList))
            state.SkipWithError("the list does not show every line");
        w.list->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadValueFileIntoList)->Unit(benchmark::kMillisecond);

// The same lines appended to the list without any file: what reading costs
// on top of the list itself.
void BM_AppendLinesBaseline(benchmark::State &state)
{
    const auto values = bench::typicalValues(bench::kFullList);
    ShownWindow w;
    for (auto _ : state) {
        for (const std::string &v : values)
            w.list->addItem(QString::fromStdString(v));
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.list->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendLinesBaseline)->Unit(benchmark::kMillisecond);

// Start-up inside one process: build the window and show it until it is
// exposed. One-time costs of the process (Qt's start, the font files) fall
// outside; vorla_bench_startup measures whole processes.
template <typename MakeWindow>
void showWindow(benchmark::State &state, MakeWindow make)
{
    QTemporaryDir scratch;
    for (auto _ : state) {
        std::unique_ptr<QWidget> window = make(scratch.path());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            state.SkipWithError("the window was never exposed");
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_ShowBareWindow(benchmark::State &state)
{
    showWindow(state, [](const QString &) {
        auto window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLineEdit(window.get()));
        return std::unique_ptr<QWidget>(std::move(window));
    });
}
BENCHMARK(BM_ShowBareWindow)->Unit(benchmark::kMillisecond);

void BM_ShowVorla(benchmark::State &state)
{
    showWindow(state, [](const QString &scratch) {
        return std::unique_ptr<QWidget>(std::make_unique<Vorla>(scratch));
    });
}
BENCHMARK(BM_ShowVorla)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The offscreen platform warns on every shown window that it cannot
    // pass size hints on; that says nothing about Vorla.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (!message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using bench::Figure;
    return bench::runWithFigures(
        argc, argv,
        {{"Command1_Click on 32,767 items", "BM_WindowCalculation", "BM_CoreCalculationBaseline",
          Figure::Milliseconds, 20},
         {"Entry with 32,766 items listed", "BM_EntryIntoFullList", "BM_EntryIntoEmptyList",
          Figure::Milliseconds, 2},
         {"Entry: full list vs empty list", "BM_EntryIntoFullList", "BM_EntryIntoEmptyList",
          Figure::Scale, 0},
         {"Value file of 32,767 lines read into List1", "BM_ReadValueFileIntoList",
          "BM_AppendLinesBaseline", Figure::Milliseconds, 150},
         {"Build and show in process, Vorla vs bare", "BM_ShowVorla", "BM_ShowBareWindow",
          Figure::Scale, 0}});
}
