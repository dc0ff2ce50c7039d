// Files reaching the window from outside its open dialog: the command line's
// files and files dropped on the window.

#include "cli/GivenFiles.h"
#include "app/VorlaNames.h"

#include "ModalAnswerer.h"
#include "VorlaWindowTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using namespace vorla_names;

namespace {

using ::testing::HasSubstr;

class VorlaShellTest : public VorlaWindowTest
{
protected:
    void SetUp() override
    {
        VorlaWindowTest::SetUp();
        writeFile(path("a.txt"), "1\r\n2\r\n");
        ASSERT_TRUE(QDir().mkpath(path("測定")));
        writeFile(path("測定/値.txt"), "\x91\xaa\x92\xe8\r\n3\r\n"); // 測定, 3 in Shift JIS
    }

    std::string caption() const { return m_window->windowTitle().toStdString(); }

    /// Drags the links over the window (or one of its controls) and drops
    /// them there, as a file manager does, then lets the window finish what
    /// the drop started. Returns whether the drag was taken; `dropTaken`
    /// tells whether the drop was.
    bool dragAndDrop(const QList<QUrl> &links, QWidget *target = nullptr)
    {
        QMimeData data;
        data.setUrls(links);
        return dragAndDropData(data, target);
    }

    bool dragAndDropData(const QMimeData &data, QWidget *target = nullptr)
    {
        return ::dragAndDrop(data, target != nullptr ? target : m_window.get(), &dropTaken);
    }

    bool dropTaken = false;
};

TEST_F(VorlaShellTest, CommandLineFilesOpenInOrderWithFullPaths)
{
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const QStringList paths = cli::absolutePaths({"a.txt", "測定/値.txt", "missing.txt"});
    QDir::setCurrent(current);
    ASSERT_EQ(paths, QStringList({path("a.txt"), path("測定/値.txt"), path("missing.txt")}));
    box(kCountBox)->setText(QStringLiteral("5"));

    ModalAnswerer answerer;
    EXPECT_TRUE(m_window->openValueFile(paths[0]));
    EXPECT_TRUE(m_window->openValueFile(paths[1]));
    EXPECT_FALSE(m_window->openValueFile(paths[2]));

    EXPECT_EQ(items(), QStringList({"1", "2", "測定", "3"}));
    EXPECT_EQ(caption(), "Vorla-" + QDir::toNativeSeparators(paths[1]).toStdString());
    EXPECT_EQ(text(kCountBox).toStdString(), "5");
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_THAT(answerer.boxes[0].text.toStdString(), HasSubstr("missing.txt"));
    EXPECT_THAT(answerer.boxes[0].text.toStdString(), HasSubstr("ファイルが見つかりません"));
}

TEST_F(VorlaShellTest, DroppedFilesOpenInOrderAndOtherLinksArePassedOver)
{
    ModalAnswerer answerer;
    ASSERT_TRUE(dragAndDrop({QUrl(QStringLiteral("https://example.com/b.txt")),
                             QUrl::fromLocalFile(path("測定/値.txt")),
                             QUrl::fromLocalFile(path("a.txt"))}));

    EXPECT_TRUE(dropTaken);
    EXPECT_EQ(items(), QStringList({"測定", "3", "1", "2"}));
    EXPECT_EQ(caption(), "Vorla-" + QDir::toNativeSeparators(path("a.txt")).toStdString());
    EXPECT_TRUE(answerer.boxes.empty());
}

TEST_F(VorlaShellTest, FileDroppedOnTextBoxOpensAndTextStaysTheBoxs)
{
    QLineEdit *entry = box(kEntryBox);
    ASSERT_TRUE(dragAndDrop({QUrl::fromLocalFile(path("a.txt"))}, entry));
    EXPECT_EQ(items(), QStringList({"1", "2"}));
    EXPECT_EQ(entry->text().toStdString(), "");

    QMimeData text;
    text.setText(QStringLiteral("12.5"));
    ASSERT_TRUE(dragAndDropData(text, entry));
    EXPECT_EQ(entry->text().toStdString(), "12.5");
    EXPECT_EQ(items(), QStringList({"1", "2"}));
}

TEST_F(VorlaShellTest, DragWithoutLocalFilesIsNotTaken)
{
    EXPECT_FALSE(dragAndDrop({}));
    EXPECT_FALSE(dragAndDrop({QUrl(QStringLiteral("https://example.com/a.txt"))}));
    EXPECT_TRUE(items().isEmpty());
}

TEST_F(VorlaShellTest, DropAfterTypedValueIsRefusedUntilClear)
{
    enter(QStringLiteral("7"));
    {
        ModalAnswerer answerer;
        // Taken as a drag, so that the drop can say why it opens nothing.
        ASSERT_TRUE(dragAndDrop({QUrl::fromLocalFile(path("a.txt"))}));
        EXPECT_FALSE(dropTaken);
        EXPECT_EQ(items(), QStringList({"7"}));
        EXPECT_EQ(caption(), "Pellary");
        ASSERT_EQ(answerer.boxes.size(), 1u);
        EXPECT_THAT(answerer.boxes[0].text.toStdString(), HasSubstr("値を入力した後は"));
        EXPECT_THAT(answerer.boxes[0].text.toStdString(), HasSubstr("クリア"));
    }

    action(kClearCommand)->trigger();
    ModalAnswerer answerer;
    ASSERT_TRUE(dragAndDrop({QUrl::fromLocalFile(path("a.txt"))}));
    EXPECT_TRUE(dropTaken);
    EXPECT_EQ(items(), QStringList({"1", "2"}));
    EXPECT_TRUE(answerer.boxes.empty());
}

} // namespace
