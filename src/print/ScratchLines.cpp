#include "print/ScratchLines.h"

#include "files/TextCodec.h"
#include "files/ValueLines.h"

#include <QFile>

std::optional<std::vector<std::string>> readScratchLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    file.close();
    const std::optional<files::DecodedText> decoded = files::decodeText(bytes);
    if (!decoded)
        return std::nullopt;
    return files::splitValueLines(decoded->text.toStdString());
}
