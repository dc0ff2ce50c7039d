#pragma once

// The picture of the charts that 画像を保存 and `vorla --chart FILE -o
// OUT.png` write: the charts on the left, the figures and the signals on the
// right, under a line naming the file and the date. It is painted from the
// core's content alone, so no window needs to exist for it.

#include "stats/ChartContent.h"

#include <QImage>
#include <QString>

namespace chart {

/// What the picture says of its source above the charts.
struct PictureSource
{
    QString fileName; // the value file; empty for a list never saved
    QString dateTime; // when the picture was made, as it is written
};

/// The picture's size in device-independent pixels.
QSize pictureSize();

/// The picture of the content (nullptr: the empty charts) at the device
/// pixel ratio given.
QImage chartPicture(const stats::ChartContent *content, const PictureSource &source,
                    qreal pixelRatio = 1.0);

/// Writes the picture as a PNG image or as a PDF page of its own size (one
/// point to a pixel), by the path's suffix; the reason when it could not,
/// empty on success. Nothing is left behind on a failure.
QString savePicture(const QString &path, const QImage &picture);

/// The date and time as the picture and the record write them: "2024/05/01 09:30".
QString writtenNow();

} // namespace chart
