#include "files/ScratchFile.h"
#include "files/TextCodec.h"
#include "files/ValueFile.h"
#include "files/ValueFileIO.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RowName.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

std::string hex(const QByteArray &bytes)
{
    return bytes.toHex(' ').toStdString();
}

/// Opens a file the way the open command does, into an empty list, answering
/// any question with its default.
QStringList openItems(const QString &path)
{
    const auto read = files::readValueFile(path, files::kMaxListItems);
    if (!std::holds_alternative<files::ValueFileItems>(read))
        return {QStringLiteral("<refused>")};
    QStringList items;
    for (const std::string &item : std::get<files::ValueFileItems>(read).items)
        items << QString::fromStdString(item);
    return items;
}

class ValueFileDiskTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

struct RoundTripCase
{
    const char *name;
    QStringList items;
    const char *bytes; // as hex
};

class ValueFileRoundTripTest : public ValueFileDiskTest,
                               public ::testing::WithParamInterface<RoundTripCase>
{
};

TEST_P(ValueFileRoundTripTest, SavesExactBytesAndOpensSameItems)
{
    const RoundTripCase &c = GetParam();
    const auto encoded = files::encodeValueFile(c.items);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(encoded));
    const QString saved = path("values.txt");
    ASSERT_FALSE(files::writeFileAtomically(saved, std::get<QByteArray>(encoded)).has_value());
    EXPECT_EQ(hex(fileBytes(saved)), c.bytes);
    EXPECT_EQ(openItems(saved), c.items);
}

const RoundTripCase kRoundTripCases[] = {
    {"ThreeValues", {"1.5", "-2", "abc"}, "31 2e 35 0d 0a 2d 32 0d 0a 61 62 63 0d 0a 0d 0a"},
    {"EmptyList", {}, "0d 0a"},
    {"FullWidthTwoByteCodes", {QStringLiteral("１２．５"), QStringLiteral("データ")},
     "82 50 82 51 81 44 82 54 0d 0a 83 66 81 5b 83 5e 0d 0a 0d 0a"},
    {"SecondByte5C", {QStringLiteral("表"), QStringLiteral("ソ\\")},
     "95 5c 0d 0a 83 5c 5c 0d 0a 0d 0a"},
    {"HalfWidthKana", {QStringLiteral("ﾃﾞｰﾀ")}, "c3 de b0 c0 0d 0a 0d 0a"},
    {"Blanks", {"  ", " 1 "}, "20 20 0d 0a 20 31 20 0d 0a 0d 0a"},
    // Valid UTF-8 too; the first three read plausibly only as Shift JIS, the
    // others are asked about and come back with the default answer.
    {"HalfWidthMinus", {QStringLiteral("ﾏｲﾅｽ"), QStringLiteral("ﾅｼ")},
     "cf b2 c5 bd 0d 0a c5 bc 0d 0a 0d 0a"},
    {"HalfWidthLikePlusMinus", {QStringLiteral("ﾂｱ0.1")}, "c2 b1 30 2e 31 0d 0a 0d 0a"},
    {"HalfWidthLikeMu", {QStringLiteral("ﾎｼ")}, "ce bc 0d 0a 0d 0a"},
    {"KanjiLikeUtf8", {QStringLiteral("貂ｩ蠎ｦ")}, "e6 b8 a9 e5 ba a6 0d 0a 0d 0a"},
};
INSTANTIATE_TEST_SUITE_P(Files, ValueFileRoundTripTest, ::testing::ValuesIn(kRoundTripCases),
                         RowName{});

struct ForeignFileCase
{
    const char *name;
    QByteArray bytes;
    QStringList items;
    QByteArray savedBack; // what saving those items writes
};

class ForeignFileTest : public ValueFileDiskTest,
                        public ::testing::WithParamInterface<ForeignFileCase>
{
};

TEST_P(ForeignFileTest, OpensAndSavesBack)
{
    const ForeignFileCase &c = GetParam();
    const QString file = path("foreign.txt");
    writeFile(file, c.bytes);
    EXPECT_EQ(openItems(file), c.items);
    const auto encoded = files::encodeValueFile(c.items);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(encoded));
    EXPECT_EQ(hex(std::get<QByteArray>(encoded)), hex(c.savedBack));
}

const ForeignFileCase kForeignFileCases[] = {
    {"LfOnlyLines", "12.5\n13.1\n12.8\n", {"12.5", "13.1", "12.8"},
     "12.5\r\n13.1\r\n12.8\r\n\r\n"},
    {"LfOnlyNoFinalLineEnd", "1\n\n2", {"1", "2"}, "1\r\n2\r\n\r\n"},
    {"CrOnlyLines", "1\r2\r\r3\r", {"1", "2", "3"}, "1\r\n2\r\n3\r\n\r\n"},
    {"MixedLineEnds", "1\r\n2\n3\r4\n\r5", {"1", "2", "3", "4", "5"},
     "1\r\n2\r\n3\r\n4\r\n5\r\n\r\n"},
    // What an older build saved for an item read whole from an LF file.
    {"LfInsideSavedItem", "1\n2\n\r\n\r\n", {"1", "2"}, "1\r\n2\r\n\r\n"},
    {"ShiftJisLfOnly", "\x95\x5C\n\x83\x5C\n", {QStringLiteral("表"), QStringLiteral("ソ")},
     "\x95\x5C\r\n\x83\x5C\r\n\r\n"},
    {"Utf8WithBomLfOnly", "\xEF\xBB\xBF\xE8\xA1\xA8\n2\n", {QStringLiteral("表"), "2"},
     "\x95\x5C\r\n2\r\n\r\n"},
    {"NoFinalLineEnd", "3\r\n\r\n4", {"3", "4"}, "3\r\n4\r\n\r\n"},
    {"Utf8WithBom", "\xEF\xBB\xBF\xE8\xA1\xA8\r\n2\r\n", {QStringLiteral("表"), "2"},
     "\x95\x5C\r\n2\r\n\r\n"},
    {"Utf8WithoutBom", "\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF\r\n", {QStringLiteral("データ")},
     "\x83\x66\x81\x5B\x83\x5E\r\n\r\n"},
    {"ShiftJis", "\x95\x5C\r\n\x83\x5C", {QStringLiteral("表"), QStringLiteral("ソ")},
     "\x95\x5C\r\n\x83\x5C\r\n\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Files, ForeignFileTest, ::testing::ValuesIn(kForeignFileCases), RowName{});

struct RefusedFileCase
{
    const char *name;
    QByteArray bytes;
    files::ReadProblem problem;
    std::size_t line = 0;
};

class RefusedFileTest : public ValueFileDiskTest,
                        public ::testing::WithParamInterface<RefusedFileCase>
{
};

TEST_P(RefusedFileTest, SaysWhy)
{
    const QString file = path("refused.txt");
    writeFile(file, GetParam().bytes);
    const auto read = files::readValueFile(file, files::kMaxListItems);
    ASSERT_TRUE(std::holds_alternative<files::ReadFailure>(read));
    EXPECT_EQ(std::get<files::ReadFailure>(read).problem, GetParam().problem);
    EXPECT_EQ(std::get<files::ReadFailure>(read).line, GetParam().line);
}

const RefusedFileCase kRefusedFileCases[] = {
    {"InvalidShiftJis", "1\r\n\x85\x40\r\n", files::ReadProblem::NotText},
    {"TruncatedLeadByte", "1\r\n\x95", files::ReadProblem::NotText},
    {"NulByte", QByteArray("1\r\n\0\r\n", 5), files::ReadProblem::Binary},
    {"Utf16", QByteArray("\xFF\xFE" "1\0\r\0\n\0", 8), files::ReadProblem::Binary},
    {"LineTooLong", "1\r\n\r\n" + QByteArray(32768, '9') + "\r\n2", files::ReadProblem::TooLongLine, 3},
    {"LfLineTooLong", "1\n\n" + QByteArray(32768, '9') + "\n2\n", files::ReadProblem::TooLongLine, 3},
    {"ShiftJisLfLineTooLong", "\x95\x5C\n" + QByteArray(32768, 'x').replace("x", "\x95\x5C"),
     files::ReadProblem::TooLongLine, 2},
    // A quoted field holding a tab would save into a line that reads back as
    // a table; the line named counts the empty one too.
    {"TabInQuotedCsvField", "No,\x92\x6c\r\n1,\"1\t5\"\r\n\r\n2,3\r\n",
     files::ReadProblem::BreakInValue, 2},
    {"TabInLaterRowCountsEveryLine", "No;d\n1;5\n\n\n2;\"7\t\"x\n", files::ReadProblem::BreakInValue, 5},
    {"TabInQuotedTabSeparatedField", "a\tb\n1\t\"2\t3\"\n2\t5\n", files::ReadProblem::BreakInValue, 2},
};
INSTANTIATE_TEST_SUITE_P(Files, RefusedFileTest, ::testing::ValuesIn(kRefusedFileCases), RowName{});

struct TableFileCase
{
    const char *name;
    QByteArray bytes;
    std::size_t room;
    int answer; // the column chosen, from 0; -1 cancels; -2 asks no one
    bool asked;
    std::vector<std::string> items;
    std::size_t leftOut;
    std::size_t column; // from 1; 0 for a file of one column
    std::size_t columns;
};

class TableFileTest : public ValueFileDiskTest, public ::testing::WithParamInterface<TableFileCase>
{
};

TEST_P(TableFileTest, ReadsChosenColumnWithinRoom)
{
    const TableFileCase &c = GetParam();
    const QString file = path("table.csv");
    writeFile(file, c.bytes);
    bool asked = false;
    files::ChooseColumn choose;
    if (c.answer != -2)
        choose = [&](const files::ColumnLayout &) {
            asked = true;
            return c.answer < 0 ? std::nullopt : std::optional<std::size_t>(c.answer);
        };
    const auto read = files::readValueFile(file, c.room, {}, files::kMaxValueFileBytes, choose);
    EXPECT_EQ(asked, c.asked);
    if (c.asked && c.column == 0) { // cancelled, or a column beyond the table
        ASSERT_TRUE(std::holds_alternative<files::ReadFailure>(read));
        EXPECT_EQ(std::get<files::ReadFailure>(read).problem, files::ReadProblem::Cancelled);
        return;
    }
    ASSERT_TRUE(std::holds_alternative<files::ValueFileItems>(read));
    const auto &items = std::get<files::ValueFileItems>(read);
    EXPECT_EQ(items.items, c.items);
    EXPECT_EQ(items.leftOut, c.leftOut);
    EXPECT_EQ(items.column, c.column);
    EXPECT_EQ(items.columns, c.columns);
}

const TableFileCase kTableFileCases[] = {
    // 外径 in Shift JIS.
    {"PreselectedWithoutQuestion", "No,\x8a\x4f\x8c\x61\r\n1,25.01\r\n2,25.00\r\n", 10, -2, false,
     {"25.01", "25.00"}, 0, 2, 2},
    {"ChosenColumn", "No,d\r\n1,25.01\r\n2,25.00\r\n", 10, 0, true, {"1", "2"}, 0, 1, 2},
    {"RoomCountsValuesNotLines", "No,d\r\n1,5.5\r\n2,6.5\r\n3,7.5\r\n", 2, 1, true,
     {"5.5", "6.5"}, 1, 2, 2},
    {"LfLineEnds", "1\t5.5\n2\t6.5\n", 10, 1, true, {"5.5", "6.5"}, 0, 2, 2},
    {"Cancelled", "1;5,5\r\n2;6,5\r\n", 10, -1, true, {}, 0, 0, 0},
    {"ColumnBeyondTableReadsNothing", "1,5.5\r\n2,6.5\r\n", 10, 2, true, {}, 0, 0, 0},
    // One column: read by the line rule exactly as before, never asked.
    {"GroupedNumbersStayOneColumn", "1,234.5\r\n12,345\r\n", 10, 0, false,
     {"1,234.5", "12,345"}, 0, 0, 0},
    {"LoneLfEndsLineInOneColumn", "1\n2\r\n3\r\n", 10, 0, false, {"1", "2", "3"}, 0, 0, 0},
    // A tab in a quoted field of a column not read does no harm.
    {"TabOnlyInColumnNotRead", "No,d\r\n\"1\t\",5.5\r\n2,6.5\r\n", 10, 1, true, {"5.5", "6.5"}, 0, 2, 2},
};
INSTANTIATE_TEST_SUITE_P(Files, TableFileTest, ::testing::ValuesIn(kTableFileCases), RowName{});

files::ReadProblem readProblem(const QString &path, qint64 maxBytes = files::kMaxValueFileBytes)
{
    const auto read = files::readValueFile(path, files::kMaxListItems, {}, maxBytes);
    if (!std::holds_alternative<files::ReadFailure>(read))
        return static_cast<files::ReadProblem>(-1);
    return std::get<files::ReadFailure>(read).problem;
}

TEST_F(ValueFileDiskTest, RefusesWhatIsNoFile)
{
    EXPECT_EQ(readProblem(path("missing.txt")), files::ReadProblem::Missing);
    EXPECT_EQ(readProblem(m_dir.path()), files::ReadProblem::NotAFile);
    if (QFile::exists(QStringLiteral("/dev/zero"))) { // endless; must not be read at all
        EXPECT_EQ(readProblem(QStringLiteral("/dev/zero")), files::ReadProblem::NotAFile);
    }
}

TEST_F(ValueFileDiskTest, SizeCapIsInclusive)
{
    const QString file = path("ten.txt");
    writeFile(file, "1\r\n2\r\n3\r\n4"); // 10 bytes
    EXPECT_TRUE(std::holds_alternative<files::ValueFileItems>(files::readValueFile(file, files::kMaxListItems, {}, 10)));
    EXPECT_EQ(readProblem(file, 9), files::ReadProblem::TooLarge);
}

/// A source that gives `size` bytes of '1', then fails: a pipe whose writer
/// broke, or a disk error halfway.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 size) : m_left(size) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        if (m_left == 0) {
            setErrorString(QStringLiteral("broken pipe"));
            return -1;
        }
        const qint64 n = std::min(max, m_left);
        std::fill(data, data + n, '1');
        m_left -= n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 m_left;
};

struct DeviceReadCase
{
    const char *name;
    qint64 size;    // bytes the source holds
    qint64 maxBytes;
    bool fails;     // the source fails after its bytes
    files::ReadProblem problem; // when refused
    bool read;      // read whole
};

class DeviceReadTest : public ::testing::TestWithParam<DeviceReadCase>
{
};

TEST_P(DeviceReadTest, ReadsToTheEndWithinTheCap)
{
    const DeviceReadCase &c = GetParam();
    QByteArray bytes(c.size, '1');
    QBuffer buffer(&bytes);
    FailingDevice failing(c.size);
    if (!c.fails) {
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    }
    QIODevice &device = c.fails ? static_cast<QIODevice &>(failing) : buffer;
    const auto read = files::readBoundedBytes(device, c.maxBytes);
    ASSERT_EQ(std::holds_alternative<std::string>(read), c.read);
    if (c.read) {
        EXPECT_EQ(std::get<std::string>(read), bytes.toStdString());
        return;
    }
    const auto &failure = std::get<files::ReadFailure>(read);
    EXPECT_EQ(failure.problem, c.problem);
    // A source's size beyond the cap is not known: none is told.
    if (c.problem == files::ReadProblem::TooLarge) {
        EXPECT_TRUE(failure.detail.isEmpty()) << failure.detail.toStdString();
    }
}

// The first guess at the size is 64 KiB; sources beyond it make the buffer grow.
const DeviceReadCase kDeviceReadCases[] = {
    {"Empty", 0, 10, false, files::ReadProblem::Missing, true},
    {"AtTheCap", 10, 10, false, files::ReadProblem::Missing, true},
    {"OneBeyondTheCap", 11, 10, false, files::ReadProblem::TooLarge, false},
    {"GrowsPastFirstGuess", 300 * 1024, 1 << 20, false, files::ReadProblem::Missing, true},
    {"FarBeyondTheCap", 3 << 20, 1 << 20, false, files::ReadProblem::TooLarge, false},
    {"FailsHalfway", 5, 10, true, files::ReadProblem::CannotRead, false},
};
INSTANTIATE_TEST_SUITE_P(Devices, DeviceReadTest, ::testing::ValuesIn(kDeviceReadCases),
                         RowName{});

TEST(ReadProblemText, TooLargeWithoutSizeNamesOnlyTheCap)
{
    EXPECT_EQ(files::readProblemText({files::ReadProblem::TooLarge, {}}).toStdString(),
              "ファイルが大きすぎます（読み込めるのは 4,194,304 バイトまでです）。");
    EXPECT_EQ(files::readProblemText({files::ReadProblem::TooLarge, QStringLiteral("5000000")})
                  .toStdString(),
              "ファイルが大きすぎます（5000000 バイト。読み込めるのは 4,194,304 バイトまでです）。");
}

#ifdef Q_OS_UNIX
TEST_F(ValueFileDiskTest, ScratchFileIsReadOnlyWhenARegularFileWithinTheCap)
{
    // A pipe in its place would keep the print command waiting for a writer.
    const QString fifo = path("fifo.dat");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(files::readScratchLines(fifo).has_value());
    EXPECT_FALSE(files::readScratchLines(m_dir.path()).has_value());
    const QString big = path("big.dat");
    writeFile(big, QByteArray(files::kMaxValueFileBytes + 1, '1'));
    EXPECT_FALSE(files::readScratchLines(big).has_value());
    const QString plain = path("plain.dat");
    writeFile(plain, "1\r\n\r\n\x95\x5C");
    EXPECT_EQ(files::readScratchLines(plain), (std::vector<std::string>{"1", "", "表"}));
}
#endif

TEST_F(ValueFileDiskTest, LineLimitHoldsForEachLfLineNotTheWholeFile)
{
    // 12,000 lines of LF-ended values: far more characters in all than one
    // line may hold, and each line well within it.
    QByteArray bytes;
    for (int i = 0; i < 12000; ++i)
        bytes += QByteArray::number(10000 + i) + '\n';
    const QString file = path("lf.txt");
    writeFile(file, bytes);
    const auto read = files::readValueFile(file, files::kMaxListItems);
    ASSERT_TRUE(std::holds_alternative<files::ValueFileItems>(read));
    const auto &items = std::get<files::ValueFileItems>(read).items;
    ASSERT_EQ(items.size(), 12000u);
    EXPECT_EQ(items.front(), "10000");
    EXPECT_EQ(items.back(), "21999");
}

TEST_F(ValueFileDiskTest, HugeFileIsRefusedWithoutReadingIt)
{
    // Sparse: gigabytes of size that cost no disk and, read, would cost memory.
    const QString file = path("huge.txt");
    QFile huge(file);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(3) << 30));
    huge.close();
    const auto read = files::readValueFile(file, files::kMaxListItems);
    ASSERT_TRUE(std::holds_alternative<files::ReadFailure>(read));
    EXPECT_EQ(std::get<files::ReadFailure>(read).problem, files::ReadProblem::TooLarge);
    EXPECT_EQ(std::get<files::ReadFailure>(read).detail.toStdString(), "3221225472");
}

TEST(ValueFileRoundTrip, EveryHalfWidthPairComesBackAsSaved)
{
    // Half-width katakana pairs are where Shift JIS is also valid UTF-8
    // (ﾎｼ = CE BC = μ). Each pair alone, and before and after a number, is
    // saved and read back with every question answered by its default.
    QStringList kana;
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
        kana << QString(QChar(c));
    for (const QString &first : kana) {
        for (const QString &second : kana) {
            const QStringList items = {first + second, QStringLiteral("1") + first + second,
                                       first + second + QStringLiteral("1")};
            for (const QString &item : items) {
                const auto bytes = files::encodeValueFile({item});
                ASSERT_TRUE(std::holds_alternative<QByteArray>(bytes));
                const auto text = files::decodeText(std::get<QByteArray>(bytes).toStdString());
                ASSERT_TRUE(std::holds_alternative<files::DecodedText>(text));
                ASSERT_EQ(std::get<files::DecodedText>(text).text, item.toStdString() + "\r\n\r\n");
            }
        }
    }
}

TEST(EncodeValueFile, NamesFirstItemShiftJisCannotHold)
{
    const auto encoded = files::encodeValueFile(
        {"1", QStringLiteral("表"), QStringLiteral("2😀3"), QStringLiteral("€")});
    ASSERT_TRUE(std::holds_alternative<files::EncodeFailure>(encoded));
    const auto &failure = std::get<files::EncodeFailure>(encoded);
    ASSERT_TRUE(failure.item.has_value());
    EXPECT_EQ(failure.item->index, 2);
    EXPECT_EQ(failure.item->text.toStdString(), "2😀3");
    EXPECT_EQ(failure.item->character.toStdString(), "😀");
}

TEST_F(ValueFileDiskTest, WriteIntoMissingFolderFails)
{
    writeFile(path("plain"), "x");
    for (const QString &target : {path("missing/values.txt"), path("plain/values.txt")}) {
        const auto failure = files::writeFileAtomically(target, "1\r\n\r\n");
        ASSERT_TRUE(failure.has_value()) << target.toStdString();
        EXPECT_EQ(failure->problem, files::WriteProblem::FolderMissing);
    }
    EXPECT_EQ(fileBytes(path("plain")).toStdString(), "x");
}

TEST_F(ValueFileDiskTest, WriteReplacesOldFileWhole)
{
    const QString file = path("values.txt");
    writeFile(file, "old old old old\r\n\r\n");
    ASSERT_FALSE(files::writeFileAtomically(file, "1\r\n\r\n").has_value());
    EXPECT_EQ(hex(fileBytes(file)), "31 0d 0a 0d 0a");
}

#ifdef Q_OS_UNIX
// Stands in for a full disk: a file-size limit makes the write fail with
// EFBIG halfway through, the way a full disk does, even when run as root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool set() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};

TEST_F(ValueFileDiskTest, FailedWriteLeavesOldFileUntouched)
{
    const QString file = path("values.txt");
    const QByteArray old = "7\r\n8\r\n\r\n";
    writeFile(file, old);
    const QByteArray big(64 * 1024, '1');
    std::optional<files::WriteFailure> failure;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.set());
        failure = files::writeFileAtomically(file, big);
    }
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->problem, files::WriteProblem::CannotWrite);
    EXPECT_FALSE(failure->detail.isEmpty());
    EXPECT_EQ(hex(fileBytes(file)), hex(old));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"values.txt"}));
}
#endif

} // namespace
