#include "print/QtReportPrinter.h"

#include "print/PdfPage.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBoundaryFinder>

namespace {

const QString kDocumentName = QStringLiteral("Vorla");
// What QPrinter::HighResolution gives a PDF file: the report's PDF keeps
// the scale it had when a QPrinter wrote it.
constexpr int kPdfResolution = 1200;

} // namespace

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
    printer->setDocName(kDocumentName);
    QPrinter *state = printer.get();
    return std::unique_ptr<QtReportPrinter>(new QtReportPrinter(std::move(printer), state));
}

std::unique_ptr<QtReportPrinter> QtReportPrinter::openPdfFile(const QString &path)
{
    // The writer opens its file when painting begins, as a printer spools then.
    auto pdf = std::make_unique<QPdfWriter>(path);
    print::PdfPage a4;
    a4.size = QPageSize(QPageSize::A4);
    a4.resolution = kPdfResolution;
    a4.title = kDocumentName;
    print::setUpPdfPage(*pdf, a4);
    return std::unique_ptr<QtReportPrinter>(new QtReportPrinter(std::move(pdf), nullptr));
}

QtReportPrinter::QtReportPrinter(std::unique_ptr<QPagedPaintDevice> device, QPrinter *printer)
    : m_device(std::move(device)), m_printer(printer)
{
}

QtReportPrinter::~QtReportPrinter() = default;

QFont QtReportPrinter::reportFont()
{
#ifdef Q_OS_WIN
    // Windows' own fixed-pitch Japanese face, under either of its names.
    QFont font(QStringLiteral("MS Gothic"), 10);
    font.setFamilies({QStringLiteral("MS Gothic"), QStringLiteral("ＭＳ ゴシック"),
                      QStringLiteral("Noto Sans Mono CJK JP")});
#else
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"), 10);
#endif
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
    if (!painter.begin(m_device.get()))
        return false; // nothing has been spooled, so nothing is sent
    painter.setFont(reportFont());
    const QFontMetricsF metrics = QFontMetricsF(painter.fontMetrics());
    // Without full-page mode the painter's origin is the top left of the
    // printable area, and the device's size is that area's size.
    const qreal width = m_device->width();
    const qreal height = m_device->height();
    bool paged = true;
    qreal top = 0;
    for (const QString &line : std::as_const(m_lines)) {
        for (const QString &piece : fitToWidth(line, metrics, width)) {
            if (top > 0 && top + metrics.height() > height) {
                paged = m_device->newPage();
                top = 0;
            }
            painter.drawText(QPointF(0, top + metrics.ascent()), piece);
            top += metrics.lineSpacing();
        }
    }
    const bool ended = painter.end();
    return paged && ended && (!m_printer || m_printer->printerState() != QPrinter::Error);
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
