#include "SmallDisk.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {

/// Runs a command; empty on success, else what went wrong.
QString run(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return program + QStringLiteral(" is not installed");
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return program + QStringLiteral(" did not finish");
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return QString();
}

} // namespace

SmallDisk::SmallDisk(const QString &folder, const QString &options) : m_folder(folder)
{
    QDir().mkpath(folder);
    m_reason = run(QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), options,
                    QStringLiteral("tmpfs"), folder});
    m_mounted = m_reason.isEmpty();
    if (!m_mounted)
        m_reason = QStringLiteral("cannot mount a small tmpfs here: ") + m_reason;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        run(QStringLiteral("umount"), {m_folder});
}
