#include "cli/GivenFiles.h"

#include "cli/CommandLine.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace cli {

QString argumentPath(const std::string &argument)
{
#ifdef Q_OS_WIN
    // main() takes the arguments from the wide command line, as UTF-8.
    return QString::fromUtf8(argument);
#else
    return QFile::decodeName(argument.c_str());
#endif
}

std::variant<std::string, files::ReadFailure> readArgumentBytes(const std::string &argument,
                                                               qint64 maxBytes)
{
    if (argument != kStandardInput)
        return files::readBoundedBytes(argumentPath(argument), maxBytes);
    // Unbuffered: read() then waits for the pipe and gives 0 only at its end.
    QFile input;
    if (!input.open(fileno(stdin), QIODevice::ReadOnly | QIODevice::Unbuffered))
        return files::ReadFailure{files::ReadProblem::CannotRead, input.errorString()};
    return files::readBoundedBytes(input, maxBytes);
}

QStringList absolutePaths(const std::vector<std::string> &files)
{
    QStringList paths;
    for (const std::string &file : files)
        paths << QFileInfo(argumentPath(file)).absoluteFilePath();
    return paths;
}

} // namespace cli
