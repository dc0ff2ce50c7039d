// The sheet window over a sheet of 2,000 subgroups of five, offscreen: a
// value typed that completes a new row, with everything it sets going (the
// table's analysis, the charts, the capability and 「異常の判定」) and the
// charts painted, beside the core's analysis of the same sheet alone.
// Target: an accepted row redraws its chart in under 30 ms.
//
// And the journal's cost: a value typed into the same sheet's document with
// its journal on (the row's record written and fdatasync'ed in a temporary
// folder) beside the same without a journal. The record is one row's bytes
// however long the sheet; what it costs is mostly the disk's sync.

#include "Figures.h"
#include "TypicalValues.h"

#include "doc/JournalFile.h"
#include "sheetwin/SheetChartView.h"
#include "sheetwin/SheetWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kSubgroup = 5;

sheetwin::SheetWindow &window()
{
    static sheetwin::SheetWindow *shown = [] {
        QStringList texts;
        for (const std::string &item : bench::typicalValues(2000 * kSubgroup))
            texts << QString::fromStdString(item);
        sheetwin::SheetWindow *w = sheetwin::SheetWindow::fromValues(texts, kSubgroup);
        w->resize(1400, 860);
        QApplication::processEvents();
        return w;
    }();
    return *shown;
}

void BM_AnalyzeSheetAlone(benchmark::State &state)
{
    const sheet::Sheet &s = window().document().sheet();
    for (auto _ : state) {
        auto analysis = sheet::analyzeSheet(s);
        benchmark::DoNotOptimize(analysis);
    }
}
BENCHMARK(BM_AnalyzeSheetAlone)->Unit(benchmark::kMillisecond);

void BM_AcceptedRowRedrawsChart(benchmark::State &state)
{
    sheetwin::SheetWindow &w = window();
    sheetwin::SheetDocument &doc = w.document();
    const std::size_t row = doc.sheet().rows.size();
    for (std::size_t i = 0; i + 1 < kSubgroup; ++i)
        doc.setValue(row, i, "50");
    for (auto _ : state) {
        doc.setValue(row, kSubgroup - 1, "51"); // the row's last value: it becomes a point
        w.chart()->repaint();
        state.PauseTiming();
        doc.undoStack()->undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AcceptedRowRedrawsChart)->Unit(benchmark::kMillisecond);

// A document of the window's sheet, with or without a journal; each round
// types one value into its last row and undoes it (the undo is journaled too,
// outside the timing).
void typeIntoDocument(benchmark::State &state, bool journaled)
{
    QTemporaryDir folder;
    sheetwin::SheetDocument doc;
    doc.appendRows(window().document().sheet().rows);
    if (journaled)
        doc.setJournal(JournalFile::atPath(folder.filePath(QStringLiteral("bench.vjl"))));
    const std::size_t row = doc.sheet().rows.size();
    doc.setValue(row, 0, "50"); // the journal, if any, now holds the sheet
    for (auto _ : state) {
        doc.setValue(row, 1, "51.5");
        state.PauseTiming();
        doc.undoStack()->undo();
        state.ResumeTiming();
    }
}

void BM_TypedValueNoJournal(benchmark::State &state)
{
    typeIntoDocument(state, false);
}
BENCHMARK(BM_TypedValueNoJournal)->Unit(benchmark::kMillisecond);

void BM_TypedValueJournaled(benchmark::State &state)
{
    typeIntoDocument(state, true);
}
BENCHMARK(BM_TypedValueJournaled)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (!message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using bench::Figure;
    const int status = bench::runWithFigures(
        argc, argv,
        {{"accepted row of 2,000 redraws the sheet chart", "BM_AcceptedRowRedrawsChart",
          "BM_AnalyzeSheetAlone", Figure::Milliseconds, 30.0},
         {"value typed into a 2,000-row sheet, journal on (synced)", "BM_TypedValueJournaled",
          "BM_TypedValueNoJournal", Figure::Milliseconds, 5.0}});
    window().document().undoStack()->setClean();
    window().close();
    return status;
}
