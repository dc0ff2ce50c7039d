#pragma once

#include <QString>

class QWidget;
class ValueListDocument;

/// At start, before the main window shows: journals left by runs that did not
/// end normally are looked at. One that is not this program's, or damaged, is
/// reported and kept; for one that holds values never saved the user is
/// asked 「復元」 or 「破棄」 (Enter restores). A restored list goes into the
/// document with its journal taken over; otherwise the document starts a
/// journal of its own. Discarded journals stay 30 days as dated files.
void restoreOrStartJournal(ValueListDocument &document, const QString &dataDir,
                           QWidget *parent = nullptr);
