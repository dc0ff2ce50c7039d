// Writes onto a small tmpfs of the test's own: a disk that really fills up,
// and a read-only file system that refuses even root. Mounting needs root;
// without it the full-disk case skips and the read-only case falls back to
// a folder without write permission.

#include "files/ValueFileIO.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "SmallDisk.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>

namespace {

std::string hex(const QByteArray &bytes)
{
    return bytes.toHex(' ').toStdString();
}

class SmallDiskWriteTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

TEST_F(SmallDiskWriteTest, FullDiskLeavesOldFileUntouched)
{
    const SmallDisk disk(path("disk"), QStringLiteral("size=64k"));
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason().toStdString();
    const QString file = path("disk/values.txt");
    const QByteArray old = "7\r\n8\r\n\r\n";
    writeFile(file, old);
    const auto failure = files::writeFileAtomically(file, QByteArray(256 * 1024, '1'));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->problem, files::WriteProblem::CannotWrite);
    EXPECT_FALSE(failure->detail.isEmpty());
    EXPECT_EQ(hex(fileBytes(file)), hex(old));
    EXPECT_EQ(QDir(path("disk")).entryList(QDir::Files), QStringList({"values.txt"}));
}

TEST_F(SmallDiskWriteTest, ReadOnlyFolderRefusesWrite)
{
    // Permission bits do not stop root; a read-only file system stops everyone.
    std::unique_ptr<SmallDisk> readOnly;
    QString folder = m_dir.path();
    if (geteuid() == 0) {
        folder = path("read-only");
        readOnly = std::make_unique<SmallDisk>(folder, QStringLiteral("ro,size=64k"));
        if (!readOnly->mounted())
            GTEST_SKIP() << readOnly->reason().toStdString();
    } else {
        ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const auto failure =
        files::writeFileAtomically(QDir(folder).filePath("values.txt"), "1\r\n\r\n");
    if (!readOnly)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->problem, files::WriteProblem::CannotWrite);
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("values.txt")));
}

} // namespace
#endif
