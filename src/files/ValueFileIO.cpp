#include "files/ValueFileIO.h"

#include "files/ValueFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <string>
#include <vector>

namespace files {

namespace {

constexpr qint64 kReadChunk = 1 << 20;

// The character (one or two UTF-16 units) that starts at `i`.
QString characterAt(const QString &text, qsizetype i)
{
    const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
                      && text.at(i + 1).isLowSurrogate();
    return text.mid(i, pair ? 2 : 1);
}

QString firstUnencodableCharacter(const QString &item)
{
    for (qsizetype i = 0; i < item.size();) {
        const QString character = characterAt(item, i);
        if (!encodeShiftJis(character))
            return character;
        i += character.size();
    }
    return item; // not reached for an item that failed as a whole
}

} // namespace

std::variant<DecodedText, ReadFailure> readValueText(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ReadFailure{ReadProblem::Missing, {}};
    if (!info.isFile())
        return ReadFailure{ReadProblem::NotAFile, {}};
    if (info.size() > maxBytes)
        return ReadFailure{ReadProblem::TooLarge, QString::number(info.size())};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadFailure{ReadProblem::CannotRead, file.errorString()};
    // Read in chunks up to one byte past the cap: a file that grows after the
    // size check is still never read beyond it.
    QByteArray bytes;
    bytes.reserve(info.size() + 1);
    while (bytes.size() <= maxBytes) {
        const QByteArray chunk = file.read(qMin(kReadChunk, maxBytes + 1 - bytes.size()));
        if (file.error() != QFileDevice::NoError)
            return ReadFailure{ReadProblem::CannotRead, file.errorString()};
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() > maxBytes)
        return ReadFailure{ReadProblem::TooLarge, QString::number(bytes.size())};
    if (bytes.contains('\0'))
        return ReadFailure{ReadProblem::Binary, {}};

    std::optional<DecodedText> decoded = decodeText(bytes);
    if (!decoded) {
        if (!shiftJisAvailable())
            return ReadFailure{ReadProblem::NoShiftJis, {}};
        return ReadFailure{ReadProblem::NotText, {}};
    }
    return std::move(*decoded);
}

std::variant<QByteArray, EncodeFailure> encodeValueFile(const QStringList &items)
{
    if (!shiftJisAvailable())
        return EncodeFailure{};
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const std::optional<QByteArray> bytes = encodeShiftJis(items.at(i));
        if (!bytes)
            return EncodeFailure{UnencodableItem{i, items.at(i), firstUnencodableCharacter(items.at(i))}};
        lines.push_back(bytes->toStdString());
    }
    const std::string file = composeValueFile(lines);
    return QByteArray(file.data(), static_cast<qsizetype>(file.size()));
}

std::optional<WriteFailure> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (!QFileInfo(path).absoluteDir().exists())
        return WriteFailure{WriteProblem::FolderMissing, {}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteFailure{WriteProblem::CannotWrite, file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return WriteFailure{WriteProblem::CannotWrite, reason};
    }
    if (!file.commit())
        return WriteFailure{WriteProblem::CannotWrite, file.errorString()};
    return std::nullopt;
}

} // namespace files
