#pragma once

#include <QMarginsF>
#include <QPageSize>
#include <QString>

#include <optional>

class QPdfWriter;

namespace print {

/// The kind of page a PDF file is drawn on.
struct PdfPage
{
    QPageSize size;
    int resolution = 72;              // the painter's dots per inch
    QString title;                    // the document's title in the file
    QString creator;                  // empty leaves the writer's own
    std::optional<QMarginsF> margins; // in points; none leaves the writer's own
};

/// Sets a PDF writer up for pages of this kind, before a QPainter begins on
/// it: the painter then draws on the first page, its origin at the top left
/// of the area inside the margins.
void setUpPdfPage(QPdfWriter &writer, const PdfPage &page);

} // namespace print
