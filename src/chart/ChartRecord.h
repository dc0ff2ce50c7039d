#pragma once

// The record of the chart window (印刷, PDF に保存, `vorla --chart FILE -o
// OUT.pdf`): pages laid out for paper with QPainter from the core's content,
// in vector text so every figure can be read back from the file. The first
// page holds the title, a binder sheet's header with its stamp boxes, the
// charts and the figures; the signals and every row of data follow, on
// numbered continuation pages where they do not fit. No text is set below
// 7 points, and none is cut off: a text wider than its place wraps.

#include "chart/RecordText.h"
#include "stats/ChartContent.h"

#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRect;

namespace chart {

/// The record's title in a PDF file and in a printer's queue.
QString recordTitle();

/// Paints a record's charts into their area of the first page, in points.
using ChartsPainter = std::function<void(QPainter &, const QRect &)>;

/// Lays any record out on the device's pages (see below), its charts painted
/// by `charts`.
int paintRecordPages(QPagedPaintDevice &device, const RecordInput &record,
                     const ChartsPainter &charts);
/// The same on a printer and as a PDF file, on A4 (landscape by default);
/// the reason when it could not, empty on success.
QString printRecord(QPrinter &printer, const RecordInput &record, const ChartsPainter &charts,
                    QPageLayout::Orientation orientation = QPageLayout::Landscape);
QString saveRecordPdf(const QString &path, const RecordInput &record, const ChartsPainter &charts,
                      QPageLayout::Orientation orientation = QPageLayout::Landscape);

/// Lays the record out on the device's pages, which must be set to 72 dots
/// per inch (one unit a point); returns the number of pages, 0 when the
/// painter could not begin.
int paintRecordPages(QPagedPaintDevice &device, const RecordInput &record,
                     const stats::ChartContent *content);

/// Writes the record of the list on the printer's pages, A4 (landscape by
/// default); the reason when it could not, empty on success.
QString printRecord(QPrinter &printer, const stats::ChartContent *content,
                    const RecordSource &source,
                    QPageLayout::Orientation orientation = QPageLayout::Landscape);

/// Writes the record of the list as an A4 PDF file (landscape by default);
/// the reason when it could not, empty on success. Nothing is left behind on
/// a failure.
QString saveRecordPdf(const QString &path, const stats::ChartContent *content,
                      const RecordSource &source,
                      QPageLayout::Orientation orientation = QPageLayout::Landscape);

} // namespace chart
