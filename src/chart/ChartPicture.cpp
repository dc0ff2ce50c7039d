#include "chart/ChartPicture.h"

#include "chart/ChartTexts.h"
#include "chart/ChartViews.h"
#include "print/PdfPage.h"
#include "ui/DefaultFont.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace chart {

namespace {

constexpr int kGap = 8;
constexpr int kSideWidth = 330;

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

/// The run chart, or the control chart with its note, over the histogram.
void paintCharts(QPainter &painter, const QRect &area, const stats::ChartContent *content)
{
    const QRect top(area.topLeft(), QSize(area.width(), (area.height() - kGap) / 2));
    const QRect bottom(QPoint(area.left(), top.bottom() + 1 + kGap), area.bottomRight());
    painter.fillRect(top, Qt::white);
    painter.fillRect(bottom, Qt::white);
    if (!content) {
        drawEmptyChart(painter, top, runChartTitle(), emptyChartText());
        drawEmptyChart(painter, bottom, QStringLiteral("ヒストグラム"), emptyChartText());
        return;
    }
    paintHistogram(painter, bottom, *content);
    if (!content->control) {
        paintRunChart(painter, top, content->data);
        return;
    }
    const stats::ControlChart *chart = content->controlChart();
    if (!chart) {
        drawEmptyChart(painter, top, fromUtf8(chartTypeName(content->request.type)),
                       fromUtf8(content->refusal()->reason));
        return;
    }
    QRect charts = top;
    if (!chart->leftOutNote.empty()) {
        const int noteHeight = painter.fontMetrics().height() + 4;
        painter.setPen(Qt::black);
        painter.drawText(QRect(top.left() + 6, top.top(), top.width() - 6, noteHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, fromUtf8(chart->leftOutNote));
        charts.setTop(top.top() + noteHeight);
    }
    const int locationHeight = charts.height() * 3 / 5;
    paintControlSeries(painter, QRect(charts.topLeft(), QSize(charts.width(), locationHeight)),
                       chart->location, content->toleranceLines);
    paintControlSeries(painter,
                       QRect(QPoint(charts.left(), charts.top() + locationHeight),
                             charts.bottomRight()),
                       chart->spread, {});
}

/// The figures, a caption over each value, and the note under them; returns
/// where the list of signals may start.
int paintFigures(QPainter &painter, const QRect &area, const stats::ChartContent *content)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    int y = area.top();
    for (const FigureText &figure : figureTexts(content)) {
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(area.left(), y, area.width(), line), Qt::AlignLeft,
                         fromUtf8(figure.caption));
        painter.setPen(Qt::black);
        const QRect valueBox(area.left() + area.width() / 3, y, area.width() * 2 / 3, 3 * line);
        const QRect used = painter.boundingRect(valueBox, Qt::AlignRight | Qt::TextWordWrap,
                                                fromUtf8(figure.value));
        painter.drawText(valueBox, Qt::AlignRight | Qt::TextWordWrap, fromUtf8(figure.value));
        y += std::max(line, used.height()) + 2;
    }
    const QString note = fromUtf8(figureNote(content));
    const QRect noteBox(area.left(), y + 4, area.width(), 4 * line);
    painter.setPen(Qt::darkGray);
    const QRect used = painter.boundingRect(noteBox, Qt::TextWordWrap, note);
    painter.drawText(noteBox, Qt::TextWordWrap, note);
    return used.bottom() + kGap;
}

/// 「異常の判定」: as many of the signals as there is room for, then how many more.
void paintSignals(QPainter &painter, const QRect &area, const stats::ChartContent *content)
{
    const stats::ControlChart *chart = content ? content->controlChart() : nullptr;
    if (!chart)
        return;
    const int line = painter.fontMetrics().height();
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft,
                     QStringLiteral("異常の判定"));
    const std::vector<std::string> lines = specialCauseLines(*chart);
    const auto room = static_cast<std::size_t>(std::max(1, area.height() / line - 1));
    const std::size_t shown = lines.size() <= room ? lines.size() : room - 1;
    int y = area.top() + line;
    for (std::size_t i = 0; i < shown; ++i, y += line)
        painter.drawText(QRect(area.left() + 6, y, area.width() - 6, line), Qt::AlignLeft,
                         painter.fontMetrics().elidedText(fromUtf8(lines[i]), Qt::ElideRight,
                                                          area.width() - 6));
    if (shown < lines.size())
        painter.drawText(QRect(area.left() + 6, y, area.width() - 6, line), Qt::AlignLeft,
                         QStringLiteral("ほか %1 件").arg(lines.size() - shown));
}

bool writePdfPage(QIODevice &file, const QImage &image)
{
    const QSizeF size = image.deviceIndependentSize();
    QPdfWriter pdf(&file);
    print::setUpPdfPage(pdf, {.size = QPageSize(size, QPageSize::Point, QString(),
                                                QPageSize::ExactMatch),
                              .resolution = 72,
                              .title = QStringLiteral("グラフ"),
                              .creator = QStringLiteral("Vorla"),
                              .margins = QMarginsF(0, 0, 0, 0)});
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
    painter.end(); // a failed write shows in the file's commit
    return true;
}

} // namespace

QSize pictureSize()
{
    return {1000, 720};
}

QString writtenNow()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QImage chartPicture(const stats::ChartContent *content, const PictureSource &source,
                    qreal pixelRatio)
{
    const QSize size = pictureSize();
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setFont(ui::vorlaDefaultFont());
    const int top = painter.fontMetrics().height() + kGap;
    painter.setPen(Qt::black);
    painter.drawText(QRect(6, 0, size.width() - 12, top), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("ファイル: %1　　日時: %2")
                         .arg(source.fileName.isEmpty() ? QStringLiteral("未保存")
                                                        : source.fileName,
                              source.dateTime));
    const int chartsWidth = size.width() - kSideWidth - 2 * kGap;
    paintCharts(painter, QRect(kGap, top, chartsWidth, size.height() - top - kGap), content);
    const QRect side(chartsWidth + 2 * kGap, top, kSideWidth - kGap, size.height() - top - kGap);
    const int signalsTop = paintFigures(painter, side, content);
    paintSignals(painter, QRect(QPoint(side.left(), signalsTop), side.bottomRight()), content);
    return image;
}

QString savePicture(const QString &path, const QImage &picture)
{
    const QString type = QFileInfo(path).suffix().toLower();
    if (type != QLatin1String("png") && type != QLatin1String("pdf"))
        return QStringLiteral("ファイルの種類は .png か .pdf にしてください。");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (type == QLatin1String("png")) {
        if (!picture.save(&file, "PNG"))
            return QStringLiteral("画像を書き出せませんでした。");
    } else if (!writePdfPage(file, picture)) {
        return QStringLiteral("PDF を書き出せませんでした。");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace chart
