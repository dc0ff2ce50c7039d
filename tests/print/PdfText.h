#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// The text of a PDF file as `pdftotext -layout` extracts it, with a fixed
/// character pitch of half the report font's size, so that each half-width
/// column of the report is one column of text (pages end in a form feed).
/// nullopt when pdftotext cannot be run or fails.
std::optional<QString> pdfText(const QString &pdfPath);

/// The lines of the text in compatibility form (NFKC), with every run of white
/// space shrunk to one space and the ends trimmed; blank lines left out. NFKC
/// turns ideographic spaces into spaces and undoes a quirk of the PDF's text
/// map: Noto CJK draws 大 and the Kangxi radical ⼤ with one glyph, and
/// pdftotext may give back the radical.
QStringList squeezedLines(const QString &text);

/// A word on a page and its left edge in points.
struct PdfWord
{
    QString text;
    double left = 0;
};

/// The words of the first page grouped into printed lines, top to bottom and
/// left to right, as `pdftotext -bbox` places them; nullopt when it fails.
std::optional<QList<QList<PdfWord>>> firstPageWords(const QString &pdfPath);
