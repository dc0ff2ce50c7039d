#pragma once

// The paper of the records (印刷 and PDF に保存 of the chart window and of
// the sheet window): A4, landscape until the user chooses portrait in either
// window. The choice is kept between runs in Vorla's settings file, beside
// the chart window's tests, so both windows and the next start share it.

#include <QPageLayout>
#include <QSettings>

namespace chart {

/// Vorla's settings file (vorla.ini in the user's settings folder).
QSettings vorlaSettings();

/// The orientation last chosen; landscape when none was.
QPageLayout::Orientation savedRecordOrientation();

/// Keeps the orientation for both windows and later runs.
void saveRecordOrientation(QPageLayout::Orientation orientation);

} // namespace chart
