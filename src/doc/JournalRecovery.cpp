#include "doc/JournalRecovery.h"

#include "doc/JournalFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace recovery {

namespace {

const QString kSuffix = QStringLiteral(".vjl");
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
constexpr int kKeepDiscardedDays = 30;
// A journal larger than this is no journal of a list the window can hold.
constexpr qint64 kMaxJournalBytes = qint64(1) << 31;

QString asidePath(const QString &path, const QString &kind, const QDateTime &now)
{
    const QFileInfo info(path);
    const QString base = kind + QLatin1Char('-') + now.toString(kStampFormat) + QLatin1Char('-')
                         + info.completeBaseName();
    QString candidate = info.dir().filePath(base + kSuffix + QStringLiteral(".kept"));
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = info.dir().filePath(base + QStringLiteral("-%1").arg(n) + kSuffix
                                        + QStringLiteral(".kept"));
    return candidate;
}

} // namespace

QString journalFolder(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("journal"));
}

QString newJournalPath(const QString &dataDir)
{
    const QString name = QDateTime::currentDateTime().toString(kStampFormat) + QLatin1Char('-')
                         + QString::number(QCoreApplication::applicationPid());
    QDir folder(journalFolder(dataDir));
    QString path = folder.filePath(name + kSuffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(name + QStringLiteral("-%1").arg(n) + kSuffix);
    return path;
}

bool LeftJournal::worthRestoring() const
{
    return replay.problem != journal::Problem::NotAJournal
           && replay.problem != journal::Problem::NewerVersion && replay.state.unsaved
           && !replay.state.items.empty();
}

std::vector<LeftJournal> leftJournals(const QString &dataDir, std::size_t maxItems)
{
    std::vector<LeftJournal> found;
    const QDir folder(journalFolder(dataDir));
    const QFileInfoList files =
        folder.entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
    for (const QFileInfo &info : files) {
        if (JournalFile::heldByAnother(info.filePath()))
            continue;
        LeftJournal left{info.filePath(), info.lastModified(), {}};
        QFile file(info.filePath());
        if (info.size() > kMaxJournalBytes || !file.open(QIODevice::ReadOnly)) {
            left.replay.problem = journal::Problem::Damaged;
        } else {
            const QByteArray bytes = file.readAll();
            left.replay = journal::replay(std::string_view(bytes.constData(),
                                                           static_cast<std::size_t>(bytes.size())),
                                          maxItems);
        }
        found.push_back(std::move(left));
    }
    std::sort(found.begin(), found.end(),
              [](const LeftJournal &a, const LeftJournal &b) { return a.lastChange > b.lastChange; });
    return found;
}

QString setAside(const QString &path, const QString &kind, const QDateTime &now)
{
    const QString target = asidePath(path, kind, now);
    return QFile::rename(path, target) ? target : QString();
}

QString copyAside(const QString &path, const QString &kind, const QDateTime &now)
{
    const QString target = asidePath(path, kind, now);
    return QFile::copy(path, target) ? target : QString();
}

void pruneDiscarded(const QString &dataDir, const QDateTime &now)
{
    const QDir folder(journalFolder(dataDir));
    const QString prefix = kDiscarded + QLatin1Char('-');
    for (const QFileInfo &info :
         folder.entryInfoList({prefix + QStringLiteral("*")}, QDir::Files)) {
        const QDateTime discarded =
            QDateTime::fromString(info.fileName().mid(prefix.size(), kStampFormat.size()), kStampFormat);
        if (discarded.isValid() && discarded.daysTo(now) > kKeepDiscardedDays)
            QFile::remove(info.filePath());
    }
}

} // namespace recovery
