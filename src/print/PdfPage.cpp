#include "print/PdfPage.h"

#include <QPdfWriter>

namespace print {

void setUpPdfPage(QPdfWriter &writer, const PdfPage &page)
{
    writer.setTitle(page.title);
    if (!page.creator.isEmpty())
        writer.setCreator(page.creator);
    writer.setResolution(page.resolution);
    writer.setPageSize(page.size);
    if (page.margins)
        writer.setPageMargins(*page.margins);
}

} // namespace print
