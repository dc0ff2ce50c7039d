#include "app/ScratchPaths.h"

#include <QDir>
#include <QStandardPaths>

QString scratchDirectory()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:/");
#else
    // The program's own data folder (~/.local/share/vorla), out of the way of
    // the user's files: a value file the user names "Vovizuzuv.txt" in the
    // home folder is never deleted by the clear command.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
#endif
}
