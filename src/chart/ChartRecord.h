#pragma once

// The record of the chart window (印刷, PDF に保存, `vorla --chart FILE -o
// OUT.pdf`): a page laid out for paper from the core's content, which a
// colleague can file. Written on any QPrinter or as a PDF file, without a
// window.

#include "stats/ChartContent.h"

#include <QString>

class QPrinter;

namespace chart {

/// What the record says of the list it was made from.
struct RecordSource
{
    QString fileName;            // the value file; empty for a list never saved
    bool unsavedChanges = false; // the list changed since it was opened or saved
    QString dateTime;            // when the record was made, as it is written
};

/// The record's title in a PDF file and in a printer's queue.
QString recordTitle();

/// Writes the record on the printer's pages; the reason when it could not,
/// empty on success.
QString printRecord(QPrinter &printer, const stats::ChartContent *content,
                    const RecordSource &source);

/// Writes the record as an A4 landscape PDF file; the reason when it could
/// not, empty on success. Nothing is left behind on a failure.
QString saveRecordPdf(const QString &path, const stats::ChartContent *content,
                      const RecordSource &source);

} // namespace chart
