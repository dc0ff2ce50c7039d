// Saving from the window onto a small tmpfs of the test's own that really
// fills up. Mounting needs root; without it the test skips.

#include "ModalAnswerer.h"
#include "app/VorlaNames.h"
#include "SmallDisk.h"
#include "VorlaWindowTest.h"

#include <QDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

using namespace vorla_names;

namespace {

using ::testing::HasSubstr;

using VorlaSmallDiskTest = VorlaWindowTest;

TEST_F(VorlaSmallDiskTest, SaveOntoFullDiskSaysSoAndKeepsOldFile)
{
    const SmallDisk disk(path("disk"), QStringLiteral("size=64k"));
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason().toStdString();
    const QString file = path("disk/values.txt");
    writeFile(file, "7\r\n\r\n");
    for (int i = 0; i < 20000; ++i)
        addItem(QStringLiteral("12.345"));

    const auto answerer = run(kSaveCommand, {file});

    EXPECT_EQ(m_window->windowTitle().toStdString(), "Pellary");
    EXPECT_EQ(fileBytes(file).toStdString(), "7\r\n\r\n");
    EXPECT_EQ(values()->count(), 20000);
    // The dialog first asks before replacing the file, then the failure is told.
    ASSERT_EQ(answerer->boxes.size(), 2u);
    EXPECT_THAT(answerer->boxes[1].text.toStdString(), HasSubstr("保存できませんでした"));
    EXPECT_THAT(answerer->boxes[1].text.toStdString(),
                HasSubstr(QDir::toNativeSeparators(file).toStdString()));
}

} // namespace
