#include "chart/RecordPaper.h"

#include <QString>

namespace chart {

namespace {

const QString kOrientationKey = QStringLiteral("record/portrait");

} // namespace

QSettings vorlaSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vorla"),
                     QStringLiteral("vorla"));
}

QPageLayout::Orientation savedRecordOrientation()
{
    return vorlaSettings().value(kOrientationKey, false).toBool() ? QPageLayout::Portrait
                                                                  : QPageLayout::Landscape;
}

void saveRecordOrientation(QPageLayout::Orientation orientation)
{
    QSettings settings = vorlaSettings();
    settings.setValue(kOrientationKey, orientation == QPageLayout::Portrait);
}

} // namespace chart
