#include "app/Vorla.h"

#include "MessageBoxAnswerer.h"
#include "RecordingPrinter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const QString kPromptText = QStringLiteral("A4の用紙をセットしてください");
const QString kTitle = QStringLiteral("印刷");

class PrintCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_window = std::make_unique<Vorla>(m_dir.path());
        m_window->setPrinterFactory([this]() -> std::unique_ptr<report::ReportPrinter> {
            ++m_printersOpened;
            if (!m_printerPresent)
                return nullptr;
            return std::make_unique<RecordingPrinter>(m_record, m_printerAccepts);
        });
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QString scratchPath() const { return QDir(m_dir.path()).filePath("Vovizuzuv.dat"); }

    void writeScratch(const QByteArray &bytes)
    {
        QFile file(scratchPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void setBox(const char *name, const char *text)
    {
        auto *box = m_window->findChild<QLineEdit *>(QLatin1String(name));
        ASSERT_NE(box, nullptr) << name;
        box->setText(QString::fromUtf8(text));
    }

    /// Chooses the print command and answers the boxes that come up.
    std::vector<ShownBox> print(std::vector<QMessageBox::StandardButton> answers)
    {
        MessageBoxAnswerer answerer(std::move(answers));
        auto *f21 = m_window->findChild<QAction *>(QStringLiteral("f21"));
        EXPECT_NE(f21, nullptr);
        if (f21 != nullptr)
            f21->trigger();
        return answerer.shown;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Vorla> m_window;
    PrintRecord m_record;
    int m_printersOpened = 0;
    bool m_printerPresent = true;
    bool m_printerAccepts = true;
};

TEST_F(PrintCommandTest, PromptAsksForA4Paper)
{
    const std::vector<ShownBox> shown = print({QMessageBox::Cancel});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kPromptText);
    EXPECT_EQ(shown[0].title, kTitle);
    EXPECT_EQ(shown[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(shown[0].defaultButton, QMessageBox::Ok);
}

struct DeclineCase
{
    const char *name;
    QMessageBox::StandardButton answer;
};

class PrintDeclineTest : public PrintCommandTest,
                         public ::testing::WithParamInterface<DeclineCase>
{
};

TEST_P(PrintDeclineTest, PrintsNothing)
{
    writeScratch("1\r\n2\r\n");
    const std::vector<ShownBox> shown = print({GetParam().answer});
    EXPECT_EQ(shown.size(), 1u) << "only the prompt";
    EXPECT_EQ(m_printersOpened, 0);
    EXPECT_EQ(m_record.documentsEnded, 0);
    EXPECT_TRUE(QFile::exists(scratchPath()));
}

const DeclineCase kDeclineCases[] = {
    {"Cancel", QMessageBox::Cancel},
    {"Escape", QMessageBox::Escape},
};
INSTANTIATE_TEST_SUITE_P(Answers, PrintDeclineTest, ::testing::ValuesIn(kDeclineCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PrintCommandTest, PrintsScratchLinesAndBoxesAsTheyStand)
{
    // Shift JIS with CR LF, an empty line inside; ソ ends in the byte 0x5C.
    writeScratch("1.5\r\n\r\n\x83\x5c\r\n-2\r\n");
    setBox("Text10", "4");
    setBox("Text2", "typed by hand");
    setBox("Text6", "2");
    setBox("Text7", "10");
    setBox("Text12", "-2");

    const std::vector<ShownBox> shown = print({QMessageBox::Ok});
    EXPECT_EQ(shown.size(), 1u) << "no message after the prompt";
    EXPECT_EQ(m_printersOpened, 1);
    EXPECT_EQ(m_record.documentsEnded, 1);
    EXPECT_EQ(m_record.current, "");
    const std::vector<std::string> expected = {
        "1.5      ソ   -2    ",
        " 　　　データ数  　　4",
        "   　　　平均        typed by hand",
        " 　　　標準偏差      ",
        "  　　　 上限        ",
        "  　　　 下限        ",
        " 上限から溢れたデータ 2 (10%)",
        " 下限から溢れたデータ  (%)",
        "        最大値       ",
        "        最小値       -2",
    };
    EXPECT_EQ(m_record.lines, expected);
}

TEST_F(PrintCommandTest, EmptyScratchFilePrintsResultsOnly)
{
    writeScratch("");
    print({QMessageBox::Ok});
    ASSERT_EQ(m_record.lines.size(), 10u);
    EXPECT_EQ(m_record.lines[0], " ");
}

struct ProblemCase
{
    const char *name;
    const char *scratch; // nullptr: no scratch file
    bool printerPresent;
    bool printerAccepts;
    const char *told;    // part of the message the user is shown
    int printersOpened;
    int documentsEnded;
};

class PrintProblemTest : public PrintCommandTest,
                         public ::testing::WithParamInterface<ProblemCase>
{
};

TEST_P(PrintProblemTest, TellsTheUserAndGoesOn)
{
    const ProblemCase &c = GetParam();
    if (c.scratch != nullptr)
        writeScratch(c.scratch);
    m_printerPresent = c.printerPresent;
    m_printerAccepts = c.printerAccepts;

    const std::vector<ShownBox> shown = print({QMessageBox::Ok, QMessageBox::Ok});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].title, kTitle);
    EXPECT_EQ(shown[1].icon, QMessageBox::Warning);
    EXPECT_TRUE(shown[1].text.contains(QString::fromUtf8(c.told)))
        << shown[1].text.toStdString();
    if (c.printersOpened == 0) { // the scratch file's problem names the file
        EXPECT_TRUE(shown[1].text.contains(QDir::toNativeSeparators(scratchPath())))
            << shown[1].text.toStdString();
    }
    EXPECT_EQ(m_printersOpened, c.printersOpened);
    EXPECT_EQ(m_record.documentsEnded, c.documentsEnded);
    EXPECT_TRUE(m_window->isVisible());
}

const ProblemCase kProblemCases[] = {
    {"NoScratchFile", nullptr, true, true, "がありません。\n", 0, 0},
    {"UndecodableScratchFile", "1\r\n\xff\xff\r\n", true, true, "を読み込めません。\n",
     0, 0},
    {"NoPrinter", "1\r\n", false, true, "プリンターが見つかりません", 1, 0},
    {"PrinterRefuses", "1\r\n", true, false, "プリンターに送れませんでした", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(Problems, PrintProblemTest, ::testing::ValuesIn(kProblemCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PrintCommandTest, ScratchFolderIsNotAFile)
{
    // A folder where the scratch file should be cannot be read as one.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Vovizuzuv.dat")));
    const std::vector<ShownBox> shown = print({QMessageBox::Ok, QMessageBox::Ok});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[1].text.contains(QStringLiteral("読み込めません")))
        << shown[1].text.toStdString();
    EXPECT_EQ(m_printersOpened, 0);
}

} // namespace
