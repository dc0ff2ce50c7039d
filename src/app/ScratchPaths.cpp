#include "app/ScratchPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

QString dataDirectory()
{
    // ~/.local/share/vorla here, %APPDATA%\vorla on Windows.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

QString scratchDirectory()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:/");
#else
    // The program's own data folder, out of the way of the user's files: a
    // value file the user names "Vovizuzuv.txt" in the home folder is never
    // deleted by the clear command.
    return dataDirectory();
#endif
}

void keepSettingsWithData()
{
#ifdef Q_OS_WIN
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QFileInfo(dataDirectory()).absolutePath());
#endif
}
