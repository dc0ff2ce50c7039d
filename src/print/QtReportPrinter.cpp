#include "print/QtReportPrinter.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBoundaryFinder>

std::unique_ptr<QtReportPrinter> QtReportPrinter::openDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    // Constructed from the printer's own description, QPrinter takes the
    // printer's default paper, orientation and margins; the command sets none.
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid())
        return nullptr;
    return std::unique_ptr<QtReportPrinter>(new QtReportPrinter(std::move(printer)));
}

std::unique_ptr<QtReportPrinter> QtReportPrinter::openPdfFile(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return std::unique_ptr<QtReportPrinter>(new QtReportPrinter(std::move(printer)));
}

QtReportPrinter::QtReportPrinter(std::unique_ptr<QPrinter> printer)
    : m_printer(std::move(printer))
{
    m_printer->setDocName(QStringLiteral("Vorla"));
}

QtReportPrinter::~QtReportPrinter() = default;

QFont QtReportPrinter::reportFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void QtReportPrinter::printText(std::string_view text)
{
    m_current += QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void QtReportPrinter::endLine()
{
    m_lines << m_current;
    m_current.clear();
}

bool QtReportPrinter::endDocument()
{
    if (m_ended)
        return false;
    m_ended = true;
    if (!m_current.isEmpty())
        endLine(); // text of an unfinished line still goes on paper

    QPainter painter;
    if (!painter.begin(m_printer.get()))
        return false; // nothing has been spooled, so nothing is sent
    painter.setFont(reportFont());
    const QFontMetricsF metrics = QFontMetricsF(painter.fontMetrics());
    // Without full-page mode the painter's origin is the top left of the
    // printable area, and the device's size is that area's size.
    const qreal width = m_printer->width();
    const qreal height = m_printer->height();
    bool paged = true;
    qreal top = 0;
    for (const QString &line : std::as_const(m_lines)) {
        for (const QString &piece : fitToWidth(line, metrics, width)) {
            if (top > 0 && top + metrics.height() > height) {
                paged = m_printer->newPage();
                top = 0;
            }
            painter.drawText(QPointF(0, top + metrics.ascent()), piece);
            top += metrics.lineSpacing();
        }
    }
    const bool ended = painter.end();
    return paged && ended && m_printer->printerState() != QPrinter::Error;
}

QStringList QtReportPrinter::fitToWidth(const QString &line, const QFontMetricsF &metrics,
                                        qreal width)
{
    QStringList pieces;
    QString piece;
    qreal pieceWidth = 0;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    qsizetype start = 0;
    // Adding up each character's advance keeps this linear for very long
    // scratch lines; the fixed-pitch font has no kerning to lose.
    for (qsizetype end = characters.toNextBoundary(); end != -1;
         end = characters.toNextBoundary()) {
        const QString character = line.mid(start, end - start);
        start = end;
        const qreal advance = metrics.horizontalAdvance(character);
        if (!piece.isEmpty() && pieceWidth + advance > width) {
            pieces << piece;
            piece.clear();
            pieceWidth = 0;
        }
        piece += character;
        pieceWidth += advance;
    }
    if (pieces.isEmpty() || !piece.trimmed().isEmpty())
        pieces << piece;
    return pieces;
}
