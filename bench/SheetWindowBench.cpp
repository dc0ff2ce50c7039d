// The sheet window over a sheet of 2,000 subgroups of five, offscreen: a
// value typed that completes a new row, with everything it sets going (the
// table's analysis, the charts, the capability and 「異常の判定」) and the
// charts painted, beside the core's analysis of the same sheet alone.
// Target: an accepted row redraws its chart in under 30 ms.

#include "Figures.h"
#include "TypicalValues.h"

#include "sheetwin/SheetChartView.h"
#include "sheetwin/SheetWindow.h"

#include <QApplication>

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
          "BM_AnalyzeSheetAlone", Figure::Milliseconds, 30.0}});
    window().document().undoStack()->setClean();
    window().close();
    return status;
}
