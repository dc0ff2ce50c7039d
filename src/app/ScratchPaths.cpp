#include "app/ScratchPaths.h"

#include <QDir>

QString scratchDirectory()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:/");
#else
    return QDir::homePath();
#endif
}
