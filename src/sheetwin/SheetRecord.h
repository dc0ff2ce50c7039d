#pragma once

// The sheet's record (印刷 and PDF に保存 of the sheet window, `vorla
// --chart SHEET.vorla -o OUT.pdf`): the chart window's record laid out over
// a sheet. Its header is the sheet's; its figures are each phase's lines,
// the capability of the current phase with its intervals, bands and the
// normality check, the expected and the observed share outside and the
// tests; the signals are numbered beside their points; every row follows,
// each phase's rows under its name.

#include "chart/ChartRecord.h"
#include "chart/RecordText.h"
#include "sheetwin/SheetChartView.h"

#include <QPageLayout>
#include <QString>

class QPrinter;

namespace sheetwin {

/// What the record says of the sheet (no Qt in here).
chart::RecordInput sheetRecord(const sheet::Sheet &sheet, const sheet::SheetAnalysis &analysis,
                               const chart::RecordSource &source);

/// The numbers of the record's signal lines beside each row's point, as
/// sheetRecord numbers them: location and spread of a row in turn, rows in
/// order.
SheetChartMarks sheetSignalMarks(const sheet::SheetAnalysis &analysis);

/// The sheet's record as an A4 PDF file (landscape by default); the reason
/// when it could not, empty on success.
QString saveSheetRecordPdf(const QString &path, const sheet::Sheet &sheet,
                           const sheet::SheetAnalysis &analysis, const chart::RecordSource &source,
                           QPageLayout::Orientation orientation = QPageLayout::Landscape);

/// The same on the printer's pages.
QString printSheetRecord(QPrinter &printer, const sheet::Sheet &sheet,
                         const sheet::SheetAnalysis &analysis, const chart::RecordSource &source,
                         QPageLayout::Orientation orientation = QPageLayout::Landscape);

} // namespace sheetwin
