#include "chart/ChartRecord.h"

#include "chart/ChartPicture.h"
#include "chart/ChartTexts.h"
#include "print/PdfPage.h"
#include "ui/DefaultFont.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace chart {

namespace {

/// The record's lines at the top of the page, the picture scaled into the
/// rest of it.
void paintRecord(QPainter &painter, const QRectF &page, const stats::ChartContent *content,
                 const RecordSource &source)
{
    RecordFacts facts;
    facts.sourceName = source.fileName.toStdString();
    facts.dateTime = source.dateTime.toStdString();
    if (content) {
        facts.count = content->count;
        facts.k = content->k;
        facts.tolerance = content->request.tolerance;
        facts.chartName = recordChartName(content->request);
    }
    QFont text = ui::vorlaDefaultFont();
    text.setPointSizeF(10);
    painter.setFont(text);
    const qreal lineHeight = QFontMetricsF(text, painter.device()).height();
    qreal y = page.top();
    for (const std::string &line : recordLines(facts)) {
        painter.drawText(QRectF(page.left(), y, page.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(line));
        y += lineHeight;
    }
    const QImage image = chartPicture(content, {source.fileName, source.dateTime}, 2.0);
    const QRectF room(page.left(), y + lineHeight / 2, page.width(),
                      page.bottom() - y - lineHeight / 2);
    const QSizeF fitted = image.deviceIndependentSize().scaled(room.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRectF(room.topLeft(), fitted), image);
}

} // namespace

QString recordTitle()
{
    return QStringLiteral("グラフの記録");
}

QString printRecord(QPrinter &printer, const stats::ChartContent *content,
                    const RecordSource &source)
{
    printer.setDocName(recordTitle());
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("プリンターに送れませんでした。");
    // The painter's origin is the printable area's top left.
    paintRecord(painter,
                QRectF(QPointF(0, 0),
                       printer.pageLayout().paintRectPixels(printer.resolution()).size()),
                content, source);
    return QString();
}

QString saveRecordPdf(const QString &path, const stats::ChartContent *content,
                      const RecordSource &source)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter pdf(&file);
        print::setUpPdfPage(pdf, {.size = QPageSize(QPageSize::A4),
                                  .resolution = 300,
                                  .title = recordTitle(),
                                  .creator = QStringLiteral("Vorla"),
                                  .margins = QMarginsF(36, 36, 36, 36)});
        pdf.setPageOrientation(QPageLayout::Landscape);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("PDF を書き出せませんでした。");
        paintRecord(painter, QRectF(QPointF(0, 0), pdf.pageLayout().paintRectPixels(300).size()),
                    content, source);
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace chart
