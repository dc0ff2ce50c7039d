#include "files/ScratchFile.h"

#include "files/TextCodec.h"
#include "files/ValueFileIO.h"
#include "files/ValueLines.h"

#include <QFile>

namespace files {

std::optional<std::vector<std::string>> readScratchLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // No larger than a value file: whatever lies there, printing reads it whole.
    if (file.size() > kMaxValueFileBytes)
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxValueFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxValueFileBytes)
        return std::nullopt;
    file.close();
    const auto decoded = decodeText(bytes.toStdString());
    if (!std::holds_alternative<DecodedText>(decoded))
        return std::nullopt;
    return splitValueLines(std::get<DecodedText>(decoded).text);
}

} // namespace files
