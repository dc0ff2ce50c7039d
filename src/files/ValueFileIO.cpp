#include "files/ValueFileIO.h"

#include "files/ValueFile.h"
#include "files/ValueLines.h"
#include "stats/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdint>
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

// Reads chunks up to one byte past the cap, into a buffer that starts at
// `sizeHint` and grows by doubling: a source larger than it said (a file that
// grows, a pipe) is still never read beyond the cap.
std::variant<std::string, ReadFailure> readCapped(QIODevice &device, qint64 sizeHint,
                                                  qint64 maxBytes)
{
    std::string bytes(static_cast<std::size_t>(std::clamp<qint64>(sizeHint, 0, maxBytes)) + 1, '\0');
    qint64 size = 0;
    while (size <= maxBytes) {
        if (static_cast<std::size_t>(size) == bytes.size())
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, maxBytes + 1));
        const qint64 got = device.read(bytes.data() + size,
                                       std::min<qint64>(kReadChunk, qint64(bytes.size()) - size));
        if (got < 0)
            return ReadFailure{ReadProblem::CannotRead, device.errorString()};
        if (got == 0)
            break;
        size += got;
    }
    if (size > maxBytes)
        return ReadFailure{ReadProblem::TooLarge, {}};
    bytes.resize(static_cast<std::size_t>(size));
    return bytes;
}

ReadProblem readProblemOf(DecodeProblem problem)
{
    switch (problem) {
    case DecodeProblem::NotText:
        return ReadProblem::NotText;
    case DecodeProblem::NoShiftJis:
        return ReadProblem::NoShiftJis;
    case DecodeProblem::Cancelled:
        break;
    }
    return ReadProblem::Cancelled;
}

// The chosen column's values within the room, each with its line in the file.
// A quoted field may hold a tab: as an item it would save into a line that
// reads back as a table, so the list would not reopen as it was.
std::variant<ValueFileItems, ReadFailure> readTableColumn(const DecodedText &text,
                                                          const ColumnLayout &layout,
                                                          std::size_t room,
                                                          const ChooseColumn &chooseColumn)
{
    const std::optional<std::size_t> column =
        chooseColumn ? chooseColumn(layout) : layout.preselected;
    if (!column || *column >= layout.columns)
        return ReadFailure{ReadProblem::Cancelled, {}};
    std::vector<std::size_t> rows;
    std::vector<std::string> values = columnValues(text.text, layout, *column, &rows);
    // A table's rows are the file's non-empty lines, in order.
    const std::vector<std::size_t> rowLines = nonEmptyLineNumbers(text.text);
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i].find_first_of("\t\r\n") != std::string::npos)
            return ReadFailure{ReadProblem::BreakInValue, {}, rowLines.at(rows[i])};
    const std::size_t kept = std::min(room, values.size());
    const std::size_t leftOut = values.size() - kept;
    values.resize(kept);
    std::vector<std::size_t> lineNumbers;
    lineNumbers.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i)
        lineNumbers.push_back(rowLines.at(rows[i]));
    return ValueFileItems{std::move(values), leftOut,          text.encoding,
                          *column + 1,       layout.columns, std::move(lineNumbers)};
}

} // namespace

std::variant<std::string, ReadFailure> readBoundedBytes(const QString &path, qint64 maxBytes)
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
    return readCapped(file, info.size(), maxBytes);
}

std::variant<std::string, ReadFailure> readBoundedBytes(QIODevice &device, qint64 maxBytes)
{
    constexpr qint64 kFirstGuess = 64 * 1024;
    return readCapped(device, kFirstGuess, maxBytes);
}

std::variant<ValueFileItems, ReadFailure> readValueFile(const QString &path, std::size_t room,
                                                        const ChooseReading &choose,
                                                        qint64 maxBytes,
                                                        const ChooseColumn &chooseColumn)
{
    auto bytes = readBoundedBytes(path, maxBytes);
    if (auto *failure = std::get_if<ReadFailure>(&bytes))
        return std::move(*failure);
    return readValueBytes(std::move(std::get<std::string>(bytes)), room, choose, chooseColumn);
}

std::variant<ValueFileItems, ReadFailure> readValueBytes(std::string bytes, std::size_t room,
                                                         const ChooseReading &choose,
                                                         const ChooseColumn &chooseColumn)
{
    if (bytes.find('\0') != std::string::npos)
        return ReadFailure{ReadProblem::Binary, {}};
    auto decoded = decodeText(std::move(bytes), choose);
    if (const auto *problem = std::get_if<DecodeProblem>(&decoded))
        return ReadFailure{readProblemOf(*problem), {}};
    const DecodedText &text = std::get<DecodedText>(decoded);
    // The line limit holds for a table's lines too.
    ItemsToAppend read = itemsToAppend(text.text, room);
    if (read.tooLongLine != 0)
        return ReadFailure{ReadProblem::TooLongLine, {}, read.tooLongLine};
    if (const std::optional<ColumnLayout> layout = detectColumns(text.text))
        return readTableColumn(text, *layout, room, chooseColumn);
    return ValueFileItems{std::move(read.items), read.leftOut, text.encoding, 0, 0,
                          std::move(read.lineNumbers)};
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

namespace {

QString grouped(std::int64_t number)
{
    return QString::fromStdString(stats::groupedInteger(number));
}

} // namespace

QString readProblemText(const ReadFailure &failure)
{
    switch (failure.problem) {
    case ReadProblem::Missing:
        return QStringLiteral("ファイルが見つかりません。");
    case ReadProblem::NotAFile:
        return QStringLiteral("通常のファイルではありません。");
    case ReadProblem::TooLarge:
        if (failure.detail.isEmpty()) // a pipe, or a file that grew: its size is not known
            return QStringLiteral("ファイルが大きすぎます（読み込めるのは %1 バイトまでです）。")
                .arg(grouped(kMaxValueFileBytes));
        return QStringLiteral("ファイルが大きすぎます（%1 バイト。読み込めるのは %2 バイトまでです）。")
            .arg(failure.detail, grouped(kMaxValueFileBytes));
    case ReadProblem::CannotRead:
        return QStringLiteral("読み込みに失敗しました（%1）。").arg(failure.detail);
    case ReadProblem::Binary:
        return QStringLiteral("テキストファイルではありません（NUL 文字を含んでいます）。");
    case ReadProblem::NotText:
        return QStringLiteral("Shift JIS としても UTF-8 としても読めない文字を含んでいます。");
    case ReadProblem::NoShiftJis:
        return QStringLiteral("この環境では Shift JIS の文字を変換できません。");
    case ReadProblem::TooLongLine:
        return QStringLiteral("%1 行目が長すぎます（1 行は %2 文字までです）。")
            .arg(grouped(static_cast<std::int64_t>(failure.line)),
                 grouped(static_cast<std::int64_t>(kMaxLineLength)));
    case ReadProblem::BreakInValue:
        return QStringLiteral("%1 行目の値にタブか改行があります（一覧の値には入れられません）。")
            .arg(grouped(static_cast<std::int64_t>(failure.line)));
    case ReadProblem::Cancelled:
        break; // the user's own choice needs no message
    }
    return QString();
}

} // namespace files
