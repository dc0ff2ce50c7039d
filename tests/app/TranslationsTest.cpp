#include "app/Translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Every test here runs under LANG=C.UTF-8: the Japanese texts must come
// whatever the system's locale says.
class TranslationsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(installJapaneseTranslations(*qApp)) << "qtbase_ja.qm was not found";
    }
};

TEST_F(TranslationsTest, MessageBoxButtonsSpeakJapanese)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("印刷"), QStringLiteral("A4"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    ASSERT_NE(box.button(QMessageBox::Cancel), nullptr);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
}

TEST_F(TranslationsTest, FileDialogSpeaksJapanese)
{
    // Qt's own dialog, which is what the program gets where the desktop
    // offers no native one.
    QFileDialog dialog(nullptr, QStringLiteral("ファイルを開く"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);

    auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dialog.labelText(QFileDialog::Accept), QStringLiteral("保存(&S)"));

    auto *fileName = dialog.findChild<QLabel *>(QStringLiteral("fileNameLabel"));
    ASSERT_NE(fileName, nullptr);
    EXPECT_EQ(fileName->text(), QStringLiteral("ファイル名(&N):"));
}

} // namespace
