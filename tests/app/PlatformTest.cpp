// What differs between Windows and the other systems, checked on each: the
// window font, the scratch files' and the data folder, where the settings
// go, and Qt's Japanese texts.

#include "ModalAnswerer.h"
#include "RowName.h"
#include "TestFiles.h"

#include "app/ScratchPaths.h"
#include "app/Translations.h"
#include "app/Vorla.h"
#include "files/ScratchFile.h"
#include "ui/DefaultFont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DefaultFont, OffersTheSystemsJapaneseFaces)
{
#ifdef _WIN32
    const QStringList expected = {QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                                  QStringLiteral("MS UI Gothic")};
#else
    const QStringList expected = {QStringLiteral("Noto Sans CJK JP")};
#endif
    EXPECT_EQ(vorlaDefaultFamilies(), expected);
    const QFont font = vorlaDefaultFont();
    EXPECT_EQ(font.pointSize(), 9);
    // Every face stays in the list, whichever comes first.
    QStringList families = font.families();
    families.sort();
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_EQ(families, sorted);
}

TEST(DefaultFont, PutsTheFirstInstalledFaceFirst)
{
    const QStringList families = vorlaDefaultFamilies();
    QString firstInstalled;
    for (const QString &family : families) {
        if (QFontDatabase::hasFamily(family)) {
            firstInstalled = family;
            break;
        }
    }
    const QFont font = vorlaDefaultFont();
    if (firstInstalled.isEmpty()) {
        EXPECT_EQ(font.family(), families.front());
    } else {
        EXPECT_EQ(font.family(), firstInstalled);
        EXPECT_EQ(font.families().front(), firstInstalled);
    }
}

TEST(ScratchPaths, ScratchFilesLieWhereTheSystemKeepsThem)
{
    const QDir scratch(scratchDirectory());
#ifdef _WIN32
    EXPECT_EQ(scratchDirectory(), QStringLiteral("c:/"));
    EXPECT_EQ(QDir::toNativeSeparators(scratch.filePath(QLatin1String(files::kScratchDataName))),
              QStringLiteral("c:\\Vovizuzuv.dat"));
    EXPECT_EQ(QDir::toNativeSeparators(scratch.filePath(QLatin1String(files::kScratchTextName))),
              QStringLiteral("c:\\Vovizuzuv.txt"));
    EXPECT_NE(QDir(dataDirectory()), scratch);
#else
    EXPECT_EQ(QDir(dataDirectory()), scratch);
#endif
}

TEST(ScratchPaths, DataDirectoryExists)
{
    const QString folder = dataDirectory();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_TRUE(QFileInfo(folder).isAbsolute()) << folder.toStdString();
}

TEST(ScratchPaths, SettingsLieInTheDataFolderOnWindows)
{
    // Named as main() names the program, which the data folder follows.
    const QString testName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("vorla"));
    keepSettingsWithData();
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vorla"),
                             QStringLiteral("vorla"));
    const QString folder = QFileInfo(settings.fileName()).absolutePath();
#ifdef _WIN32
    EXPECT_EQ(folder.compare(dataDirectory(), Qt::CaseInsensitive), 0)
        << folder.toStdString() << " against " << dataDirectory().toStdString();
#else
    // The desktop's configuration folder, apart from the data.
    EXPECT_NE(folder, dataDirectory());
#endif
    QCoreApplication::setApplicationName(testName);
}

// A scratch file that cannot go: start-up and クリア pass over it in silence.
enum class Blocker { Missing, Folder, ReadOnly };

struct UndeletableCase
{
    const char *name;
    Blocker blocker;
    bool removable; // whether the system can delete it after all
};

class UndeletableScratchTest : public ::testing::TestWithParam<UndeletableCase>
{
protected:
    /// Puts something that resists deletion where the scratch file goes.
    void block(const QString &file, Blocker blocker) const
    {
        switch (blocker) {
        case Blocker::Missing:
            break;
        case Blocker::Folder: // a folder with a file in it is no file to remove
            ASSERT_TRUE(QDir().mkpath(file));
            writeFile(QDir(file).filePath(QStringLiteral("keep")), "1");
            break;
        case Blocker::ReadOnly: // on Windows, the read-only attribute stops DeleteFile
            writeFile(file, "1\r\n");
            ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser));
            break;
        }
    }
    void TearDown() override
    {
        for (const char *name : {files::kScratchDataName, files::kScratchTextName})
            QFile::setPermissions(m_dir.filePath(QLatin1String(name)),
                                  QFile::ReadOwner | QFile::WriteOwner);
    }
    QTemporaryDir m_dir;
};

TEST_P(UndeletableScratchTest, StartAndClearSaySoNothing)
{
    const UndeletableCase &c = GetParam();
    ASSERT_TRUE(m_dir.isValid());
    const QString data = m_dir.filePath(QLatin1String(files::kScratchDataName));
    const QString text = m_dir.filePath(QLatin1String(files::kScratchTextName));
    block(data, c.blocker);
    block(text, c.blocker);
    ModalAnswerer answerer;
    Vorla window(m_dir.path());
    window.show();
    QAction *clear = window.findChild<QAction *>(QStringLiteral("v11"));
    ASSERT_NE(clear, nullptr);
    clear->trigger();
    EXPECT_TRUE(answerer.boxes.empty()) << answerer.boxTexts().join(QLatin1Char('|')).toStdString();
    if (c.blocker != Blocker::Missing) {
        EXPECT_EQ(QFileInfo::exists(data), !c.removable);
        EXPECT_EQ(QFileInfo::exists(text), !c.removable);
    }
}

const UndeletableCase kUndeletableCases[] = {
    {"Missing", Blocker::Missing, true},
    {"FolderInItsPlace", Blocker::Folder, false},
#ifdef _WIN32
    {"ReadOnlyFile", Blocker::ReadOnly, false},
#endif
};
INSTANTIATE_TEST_SUITE_P(Scratch, UndeletableScratchTest, ::testing::ValuesIn(kUndeletableCases),
                         RowName{});

TEST(Translations, ProgramCarriesQtsJapaneseTextsOnWindows)
{
#ifdef _WIN32
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/translations/qtbase_ja.qm")));
#else
    // The system's copy (qt6-translations-l10n) serves here.
    EXPECT_FALSE(QFile::exists(QStringLiteral(":/translations/qtbase_ja.qm")));
#endif
    EXPECT_TRUE(installJapaneseTranslations(*qApp));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
}

} // namespace
