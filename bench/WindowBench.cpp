// The main window driven as a user drives it, on the offscreen platform:
// a calculation over a full list, one more entry into a nearly full list,
// and opening a value file of 32,767 lines into the list. Each stands
// beside a baseline from the same run: the bare core calculation, the same
// entry into an empty list, the same lines appended without a file.

#include "Figures.h"
#include "TypicalValues.h"

#include "doc/ValueListModel.h"
#include "chart/ChartWindow.h"
#include "app/Vorla.h"
#include "doc/JournalFile.h"
#include "doc/JournalRecovery.h"
#include "doc/ValueListDocument.h"
#include "files/TextCodec.h"
#include "stats/Statistics.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace {

// A shown main window whose scratch folder is a fresh temporary one.
struct ShownWindow
{
    QTemporaryDir scratch;
    std::unique_ptr<Vorla> window;
    ValueListModel *list = nullptr;
    QLineEdit *entry = nullptr;
    QPushButton *start = nullptr;

    ShownWindow()
        : window(std::make_unique<Vorla>(scratch.path()))
    {
        // Journaled, as the program runs.
        window->document()->setJournal(
            JournalFile::atPath(recovery::newJournalPath(scratch.path())));
        list = static_cast<ValueListModel *>(
            window->findChild<QListView *>(QStringLiteral("List1"))->model());
        entry = window->findChild<QLineEdit *>(QStringLiteral("Text1"));
        start = window->findChild<QPushButton *>(QStringLiteral("Command1"));
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the main window was never exposed");
    }

    void fill(std::size_t count)
    {
        list->append(bench::typicalValues(count));
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

// calculate() reads every item of the value list, works out and writes the eleven
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

// One typed value accepted with Return (enterTypedValue()) while `listed` items
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
        w.list->take(w.list->count() - 1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_EntryIntoEmptyList(benchmark::State &state) { enterOneValue(state, 0); }
BENCHMARK(BM_EntryIntoEmptyList)->Unit(benchmark::kMicrosecond);

void BM_EntryIntoFullList(benchmark::State &state) { enterOneValue(state, bench::kFullList - 1); }
BENCHMARK(BM_EntryIntoFullList)->Unit(benchmark::kMicrosecond);

// Opening a value file of 32,767 Shift JIS lines into an empty List1 through
// the open command itself: f11 is chosen, the file dialog is answered with
// the file's path as soon as it shows, and openValueFileFromDialog() reads, decodes and
// appends the lines. The dialog's own start counts too, as a user waits for
// it as well.
void BM_OpenValueFile(benchmark::State &state)
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
    QAction *open = w.window->findChild<QAction *>(QStringLiteral("f11"));
    for (auto _ : state) {
        QTimer::singleShot(0, [&path] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        open->trigger();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (w.list->count() != static_cast<int>(bench::kFullList))
            state.SkipWithError("the list does not show every line");
        w.list->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenValueFile)->Unit(benchmark::kMillisecond);

// The same lines appended to the list without any file: what reading costs
// on top of the list itself.
void BM_AppendLinesBaseline(benchmark::State &state)
{
    const auto values = bench::typicalValues(bench::kFullList);
    ShownWindow w;
    for (auto _ : state) {
        w.list->append(values); // in one go, as the open command appends a file
        QCoreApplication::processEvents();
        state.PauseTiming();
        w.list->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendLinesBaseline)->Unit(benchmark::kMillisecond);

// Opening a window from the menu over a calculated full list: the chart
// window (v12) draws all 32,767 values, the information window (mnu_J2) is
// the baseline of a menu item that opens a modeless window. Closing and
// deleting the window fall outside the timing.
QWidget *topLevel(const char *name)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(name))
            return top;
    return nullptr;
}

void openFromMenu(benchmark::State &state, const char *item, const char *windowName)
{
    ShownWindow w;
    w.fill(bench::kFullList);
    w.start->click();
    QCoreApplication::processEvents();
    QAction *open = w.window->findChild<QAction *>(QLatin1String(item));
    for (auto _ : state) {
        open->trigger();
        QWidget *opened = topLevel(windowName);
        if (opened == nullptr || !QTest::qWaitForWindowExposed(opened)) {
            state.SkipWithError("the window was never exposed");
            break;
        }
        QCoreApplication::processEvents();
        state.PauseTiming();
        opened->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_OpenInfoWindowBaseline(benchmark::State &state) { openFromMenu(state, "mnu_J2", "form1"); }
BENCHMARK(BM_OpenInfoWindowBaseline)->Unit(benchmark::kMillisecond);

void BM_OpenChartWindow(benchmark::State &state) { openFromMenu(state, "v12", "ChartWindow"); }
BENCHMARK(BM_OpenChartWindow)->Unit(benchmark::kMillisecond);

// calculate() with the chart window open: the calculation, the boxes, and
// the chart data worked out again and both charts repainted. Beside
// BM_WindowCalculation, the same click with no chart window.
void BM_CalculationWithChartOpen(benchmark::State &state)
{
    ShownWindow w;
    w.fill(bench::kFullList);
    w.window->findChild<QAction *>(QStringLiteral("v12"))->trigger();
    QWidget *chart = topLevel("ChartWindow");
    if (chart == nullptr || !QTest::qWaitForWindowExposed(chart)) {
        state.SkipWithError("the chart window was never exposed");
        return;
    }
    for (auto _ : state) {
        w.start->click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_CalculationWithChartOpen)->Unit(benchmark::kMillisecond);

// The chart window alone over 32,767 values: the figures of one
// calculation set again (chart data worked out, both charts repainted), and
// beside it a switch of 「グラフの種類」 to the next type, which forms the
// control chart and its signals and repaints.
struct ShownChart
{
    ChartWindow window;

    ShownChart()
    {
        auto figures = stats::calculateFigures(bench::typicalValues(bench::kFullList), "3σ");
        window.setFigures(std::make_shared<const stats::StatisticsFigures>(
            std::get<stats::StatisticsFigures>(std::move(figures))));
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the chart window was never exposed");
    }
};

void BM_ChartSetFigures(benchmark::State &state)
{
    ShownChart chart;
    auto figures = std::make_shared<const stats::StatisticsFigures>(std::get<stats::StatisticsFigures>(
        stats::calculateFigures(bench::typicalValues(bench::kFullList), "3σ")));
    for (auto _ : state) {
        chart.window.setFigures(figures);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ChartSetFigures)->Unit(benchmark::kMillisecond);

void BM_SwitchChartType(benchmark::State &state)
{
    ShownChart chart;
    const stats::ChartType types[] = {stats::ChartType::IndividualsMovingRange,
                                      stats::ChartType::MeansRanges, stats::ChartType::Run};
    std::size_t next = 0;
    for (auto _ : state) {
        chart.window.setChartType(types[next++ % 3]);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchChartType)->Unit(benchmark::kMillisecond);

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
        {{"calculate() on 32,767 items", "BM_WindowCalculation", "BM_CoreCalculationBaseline",
          Figure::Milliseconds, 20},
         {"calculate() vs the core alone", "BM_WindowCalculation",
          "BM_CoreCalculationBaseline", Figure::Ratio, 1.3},
         {"Entry with 32,766 items listed, journaled", "BM_EntryIntoFullList",
          "BM_EntryIntoEmptyList", Figure::Milliseconds, 1},
         {"Entry: full list vs empty list, journaled", "BM_EntryIntoFullList",
          "BM_EntryIntoEmptyList", Figure::Ratio, 1.5},
         {"Value file of 32,767 lines opened into List1", "BM_OpenValueFile",
          "BM_AppendLinesBaseline", Figure::Milliseconds, 150},
         {"Chart window opened over 32,767 values", "BM_OpenChartWindow",
          "BM_OpenInfoWindowBaseline", Figure::Milliseconds, 100},
         {"calculate() on 32,767 items, chart open", "BM_CalculationWithChartOpen",
          "BM_WindowCalculation", Figure::Milliseconds, 100},
         {"Chart type switched over 32,767 values", "BM_SwitchChartType", "BM_ChartSetFigures",
          Figure::Milliseconds, 50},
         {"Build and show in process, Vorla vs bare", "BM_ShowVorla", "BM_ShowBareWindow",
          Figure::Scale, 0}});
}
