#include "PdfText.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

std::optional<QString> runPdftotext(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

std::optional<QString> pdfText(const QString &pdfPath)
{
    // Without a fixed pitch, pdftotext's layout reads the grid of entries as
    // separate columns of text and prints them one after the other.
    return runPdftotext({QStringLiteral("-layout"), QStringLiteral("-fixed"),
                         QStringLiteral("5"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                         pdfPath, QStringLiteral("-")});
}

QStringList squeezedLines(const QString &text)
{
    static const QRegularExpression kWhite(QStringLiteral("\\s+"));
    QStringList out;
    for (const QString &raw :
         text.normalized(QString::NormalizationForm_KC).split(QRegularExpression("[\\n\\f]"))) {
        const QString line = QString(raw).replace(kWhite, QStringLiteral(" ")).trimmed();
        if (!line.isEmpty())
            out << line;
    }
    return out;
}

std::optional<QList<QList<PdfWord>>> firstPageWords(const QString &pdfPath)
{
    const std::optional<QString> html =
        runPdftotext({QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                      QStringLiteral("-l"), QStringLiteral("1"), pdfPath, QStringLiteral("-")});
    if (!html)
        return std::nullopt;
    static const QRegularExpression kWord(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    // Words of one printed line share their top edge; a tenth of a point
    // absorbs rounding in the coordinates.
    QMap<long, QList<PdfWord>> byTop;
    for (const auto &word : kWord.globalMatch(*html)) {
        const long top = std::lround(word.captured(2).toDouble() * 10);
        byTop[top].append({word.captured(3).normalized(QString::NormalizationForm_KC),
                           word.captured(1).toDouble()});
    }
    QList<QList<PdfWord>> lines;
    for (QList<PdfWord> &words : byTop) {
        std::sort(words.begin(), words.end(),
                  [](const PdfWord &a, const PdfWord &b) { return a.left < b.left; });
        lines.append(words);
    }
    return lines;
}
