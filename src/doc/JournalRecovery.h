#pragma once

// Journals on disk between runs. Each running Vorla writes its own journal
// in <data folder>/journal/ and deletes it when it ends normally; one found
// there at start that no live process holds was left by a run that did not
// end normally (a crash, a kill, a power cut), and its list can be restored.

#include "journal/JournalFormat.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace recovery {

/// The folder of the journals in the data folder.
QString journalFolder(const QString &dataDir);
/// A name for this run's journal, unlike any other's.
QString newJournalPath(const QString &dataDir);

/// A journal that no live process holds, replayed.
struct LeftJournal
{
    QString path;
    QDateTime lastChange; // when it was last written
    journal::Replay replay;

    /// Whether it holds values that were never saved.
    bool worthRestoring() const;
};

/// The journals left behind in the data folder, newest first. Journals a
/// live Vorla holds are passed over.
std::vector<LeftJournal> leftJournals(const QString &dataDir, std::size_t maxItems);

/// Keeps the journal as a dated file beside it, out of the way of the next
/// start: "<kind>-<yyyyMMdd-HHmmss>-<name>". Returns the new path (empty when
/// it could not be renamed, and the journal stays where it was).
QString setAside(const QString &path, const QString &kind, const QDateTime &now);
/// Copies a damaged journal aside before its good part is taken over.
QString copyAside(const QString &path, const QString &kind, const QDateTime &now);

/// Deletes journals discarded more than 30 days before `now`; damaged or
/// foreign files set aside stay.
void pruneDiscarded(const QString &dataDir, const QDateTime &now);

inline const QString kDiscarded = QStringLiteral("discarded");
inline const QString kKept = QStringLiteral("kept");

} // namespace recovery
