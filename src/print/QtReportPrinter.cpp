#include "print/QtReportPrinter.h"

#include "print/PdfPage.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

/// The columns a character (one grapheme: a base and its combining marks)
/// takes on the report's grid: those of its first code point, at least one,
/// and more where the face that draws it sets it wider (the Japanese face
/// draws Greek letters and signs such as ± at full width), so no character
/// runs into the next.
int columnsOf(const QString &character, const QFontMetricsF &metrics, qreal cell)
{
    const QList<uint> codePoints = character.toUcs4();
    if (codePoints.isEmpty())
        return 0;
    const int columns = std::max(1, report::codePointColumns(static_cast<char32_t>(codePoints.front())));
    if (codePoints.front() < 0x80)
        return columns;
    const int drawn = static_cast<int>(std::lround(metrics.horizontalAdvance(character) / cell));
    return std::max(columns, drawn);
}

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
            drawOnGrid(painter, piece, metrics, top + metrics.ascent());
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
    // Each character takes its columns on the grid drawOnGrid sets it on.
    const qreal cell = metrics.horizontalAdvance(QLatin1Char('0'));
    for (qsizetype end = characters.toNextBoundary(); end != -1;
         end = characters.toNextBoundary()) {
        const QString character = line.mid(start, end - start);
        start = end;
        const qreal advance = columnsOf(character, metrics, cell) * cell;
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

void QtReportPrinter::drawOnGrid(QPainter &painter, const QString &piece,
                                 const QFontMetricsF &metrics, qreal baseline)
{
    // A full-width character starts two columns after the character before
    // it, whatever advance the face that draws it gives: a character the
    // report's font lacks comes from a fallback face with advances of its
    // own, and would push every column after it out of line. Runs of ASCII
    // are drawn in one go; the fixed-pitch face sets them one column apart.
    const qreal cell = metrics.horizontalAdvance(QLatin1Char('0'));
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, piece);
    qsizetype start = 0;
    qsizetype runStart = 0;
    int column = 0;
    int runColumn = 0;
    const auto flushRun = [&](qsizetype runEnd) {
        if (runEnd > runStart)
            painter.drawText(QPointF(runColumn * cell, baseline), piece.mid(runStart, runEnd - runStart));
    };
    for (qsizetype end = characters.toNextBoundary(); end != -1;
         end = characters.toNextBoundary()) {
        const QString character = piece.mid(start, end - start);
        const bool ascii = character.size() == 1 && character.front().unicode() < 0x80;
        if (!ascii) {
            flushRun(start);
            painter.drawText(QPointF(column * cell, baseline), character);
            runStart = end;
            runColumn = column + columnsOf(character, metrics, cell);
        }
        column += columnsOf(character, metrics, cell);
        start = end;
    }
    flushRun(piece.size());
}
