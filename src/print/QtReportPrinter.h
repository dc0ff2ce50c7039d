#pragma once

#include "print/Report.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>

class QFontMetricsF;
class QPainter;
class QPagedPaintDevice;
class QPrinter;

/// The report printer on QPrinter/QPainter. Lines are gathered as they come
/// and drawn in one go by endDocument(), so a report given up half way (or a
/// printer that cannot be opened) never sends a partial document: Qt's CUPS
/// engine spools to a file and submits it only when painting ends.
///
/// The text is drawn from the top left of the printable area in a fixed-pitch
/// Japanese font, one report line below the other. A line wider than the
/// printable area continues on the next printed line; a report longer than a
/// page continues on a new page.
class QtReportPrinter : public report::ReportPrinter
{
public:
    /// The system's default printer, with the printer's own paper size,
    /// orientation and margins. nullptr when the system has no default printer.
    static std::unique_ptr<QtReportPrinter> openDefaultPrinter();
    /// A PDF file on A4 paper instead of a printer, e.g. to look at the result.
    /// The file is written only when the report ends.
    static std::unique_ptr<QtReportPrinter> openPdfFile(const QString &path);

    ~QtReportPrinter() override;

    void printText(std::string_view text) override;
    void endLine() override;
    bool endDocument() override;

    /// "Noto Sans Mono CJK JP" ("MS Gothic" on Windows), 10 point: a full-width character is exactly
    /// twice as wide as a half-width one, so the padded labels line up.
    static QFont reportFont();

    /// Splits a line into printed lines no wider than width, each character
    /// counted at its columns (report::codePointColumns) times the width of
    /// a half-width one, breaking between
    /// characters (never inside a surrogate pair or a combining sequence). A
    /// character wider than the whole width still gets a line of its own.
    /// Spaces that would spill past the right edge alone are dropped: they
    /// would only print as blank lines. An empty line stays one empty line.
    static QStringList fitToWidth(const QString &line, const QFontMetricsF &metrics,
                                  qreal width);

    /// Draws a printed line with each character at its column: a full-width
    /// one takes two, a half-width one (half-width katakana too) one, so the
    /// report's columns stand where the composed text puts them.
    static void drawOnGrid(QPainter &painter, const QString &piece,
                           const QFontMetricsF &metrics, qreal baseline);

private:
    /// printer is the device itself when it is a printer, nullptr for a PDF file.
    QtReportPrinter(std::unique_ptr<QPagedPaintDevice> device, QPrinter *printer);

    std::unique_ptr<QPagedPaintDevice> m_device;
    QPrinter *m_printer = nullptr; // m_device when it is a printer, for its state
    QStringList m_lines;
    QString m_current;
    bool m_ended = false;
};
