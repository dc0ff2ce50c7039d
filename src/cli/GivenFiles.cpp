#include "cli/GivenFiles.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

QString argumentPath(const std::string &argument)
{
    return QFile::decodeName(argument.c_str());
}

QStringList absolutePaths(const std::vector<std::string> &files)
{
    QStringList paths;
    for (const std::string &file : files)
        paths << QFileInfo(argumentPath(file)).absoluteFilePath();
    return paths;
}

} // namespace cli
