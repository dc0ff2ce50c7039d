#include "ModalAnswerer.h"
#include "app/VorlaNames.h"
#include "PdfText.h"
#include "Wine.h"
#include "RecordingPrinter.h"
#include "RowName.h"
#include "VorlaWindowTest.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace vorla_names;

namespace {

const QString kTitle = QStringLiteral("印刷");

class PrintCommandTest : public VorlaWindowTest
{
protected:
    void SetUp() override
    {
        VorlaWindowTest::SetUp();
        m_window->setPrinterFactory([this]() -> std::unique_ptr<report::ReportPrinter> {
            ++m_printersOpened;
            if (!m_printerPresent)
                return nullptr;
            return std::make_unique<RecordingPrinter>(m_record, m_printerAccepts);
        });
    }

    QString scratchPath() const { return path("Vovizuzuv.dat"); }

    /// Chooses the print command and answers the boxes that come up.
    std::vector<ShownBox> print(std::vector<QMessageBox::StandardButton> answers)
    {
        ModalAnswerer answerer(std::move(answers));
        action(kPrintCommand)->trigger();
        return answerer.boxes;
    }

    PrintRecord m_record;
    int m_printersOpened = 0;
    bool m_printerPresent = true;
    bool m_printerAccepts = true;
};

struct DeclineCase
{
    const char *name;
    QMessageBox::StandardButton answer;
};

class PrintDeclineTest : public PrintCommandTest,
                         public ::testing::WithParamInterface<DeclineCase>
{
};

TEST_P(PrintDeclineTest, PromptAsksForA4PaperAndDecliningPrintsNothing)
{
    writeFile(scratchPath(), "1\r\n2\r\n");
    const std::vector<ShownBox> shown = print({GetParam().answer});
    ASSERT_EQ(shown.size(), 1u) << "only the prompt";
    EXPECT_EQ(shown[0].text, QStringLiteral("A4の用紙をセットしてください"));
    EXPECT_EQ(shown[0].title, kTitle);
    EXPECT_EQ(shown[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(shown[0].defaultButton, QMessageBox::Ok);
    EXPECT_EQ(m_printersOpened, 0);
    EXPECT_EQ(m_record.documentsEnded, 0);
    EXPECT_TRUE(QFile::exists(scratchPath()));
}

const DeclineCase kDeclineCases[] = {
    {"Cancel", QMessageBox::Cancel},
    {"Escape", QMessageBox::Escape},
};
INSTANTIATE_TEST_SUITE_P(Answers, PrintDeclineTest, ::testing::ValuesIn(kDeclineCases), RowName{});

TEST_F(PrintCommandTest, PrintsScratchLinesAndBoxesAsTheyStand)
{
    // Shift JIS with CR LF, an empty line inside; ソ ends in the byte 0x5C.
    writeFile(scratchPath(), "1.5\r\n\r\n\x83\x5c\r\n-2\r\n");
    for (const auto &[name, value] : {std::pair{kCountBox, "4"}, {kMeanBox, "typed by hand"},
                                      {kAboveCountBox, "2"}, {kAbovePercentBox, "10"}, {kMinimumBox, "-2"}})
        box(name)->setText(QString::fromUtf8(value));

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

struct ScratchLineEndCase
{
    const char *name;
    QByteArray bytes;
};

class PrintScratchLineEndTest : public PrintCommandTest,
                                public ::testing::WithParamInterface<ScratchLineEndCase>
{
};

TEST_P(PrintScratchLineEndTest, EachLineIsOneEntryEmptyOnesKept)
{
    writeFile(scratchPath(), GetParam().bytes);
    print({QMessageBox::Ok});
    ASSERT_EQ(m_record.lines.size(), 10u);
    EXPECT_EQ(m_record.lines[0], "1.5      -2    ");
}

const ScratchLineEndCase kScratchLineEndCases[] = {
    {"CrLf", "1.5\r\n\r\n-2\r\n"},
    {"LfOnly", "1.5\n\n-2\n"},
    {"CrOnly", "1.5\r\r-2"},
    {"LfThenCrIsTwoLineEnds", "1.5\n\r-2\n"},
};
INSTANTIATE_TEST_SUITE_P(LineEnds, PrintScratchLineEndTest,
                         ::testing::ValuesIn(kScratchLineEndCases), RowName{});

TEST_F(PrintCommandTest, EmptyScratchFilePrintsResultsOnly)
{
    writeFile(scratchPath(), "");
    print({QMessageBox::Ok});
    ASSERT_EQ(m_record.lines.size(), 10u);
    EXPECT_EQ(m_record.lines[0], " ");
}

TEST_F(PrintCommandTest, WithoutScratchFilePrintsTheListedValues)
{
    QStringList values;
    for (int i = 1; i <= 12; ++i)
        values << QString::number(i);
    enterEach(values);
    const std::vector<ShownBox> shown = print({QMessageBox::Ok});
    EXPECT_EQ(shown.size(), 1u) << "no message after the prompt";
    ASSERT_EQ(m_record.lines.size(), 11u);
    EXPECT_EQ(m_record.lines[0], "1   2   3   4   5   6   7   8   9   10   ");
    EXPECT_EQ(m_record.lines[1], "11   12    ");
    EXPECT_EQ(m_record.lines[2], " 　　　データ数  　　12");
}

TEST_F(PrintCommandTest, WithoutPrinterSavesTheReportAsPdf)
{
    SKIP_UNDER_WINE(kNoPdfReader);
    m_printerPresent = false;
    addItems({QStringLiteral("1.5"), QStringLiteral("測定値")});
    const QString chosen = path("report"); // typed without its suffix
    {
        ModalAnswerer answerer({QMessageBox::Ok}, {chosen});
        action(kPrintCommand)->trigger();
        EXPECT_EQ(answerer.boxes.size(), 1u) << "no message after the prompt";
        ASSERT_EQ(answerer.fileDialogs.size(), 1u);
        EXPECT_EQ(answerer.fileDialogs[0].filters, QStringList({"PDF(*.pdf)"}));
    }
    const std::optional<QString> text = pdfText(chosen + QStringLiteral(".pdf"));
    ASSERT_TRUE(text.has_value());
    const QStringList lines = squeezedLines(*text);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0].toStdString(), "1.5 測定値");
    EXPECT_EQ(lines[1].toStdString(), "データ数"); // nothing typed: the count box is empty

    // A cancelled dialog saves nothing and says nothing.
    ModalAnswerer cancel({QMessageBox::Ok}, {QString()});
    action(kPrintCommand)->trigger();
    EXPECT_EQ(cancel.boxes.size(), 1u);
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("*.pdf")}).size(), 1);
}

TEST_F(PrintCommandTest, OversizedScratchFileIsRefusedUnread)
{
    QFile huge(scratchPath()); // sparse: costs no disk
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(3) << 30));
    huge.close();
    const std::vector<ShownBox> shown = print({QMessageBox::Ok, QMessageBox::Ok});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[1].text.contains(QStringLiteral("を読み込めません"))) << shown[1].text.toStdString();
    EXPECT_EQ(m_printersOpened, 0);
}

const char kFolder[] = "<folder>";

struct ProblemCase
{
    const char *name;
    const char *scratch; // kFolder: a folder in its place
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
    if (c.scratch == kFolder)
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Vovizuzuv.dat")));
    else
        writeFile(scratchPath(), c.scratch);
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
    {"ScratchPathIsAFolder", kFolder, true, true, "を読み込めません。\n", 0, 0},
    {"UndecodableScratchFile", "1\r\n\xff\xff\r\n", true, true, "を読み込めません。\n",
     0, 0},
    {"PrinterRefuses", "1\r\n", true, false, "プリンターに送れませんでした", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(Problems, PrintProblemTest, ::testing::ValuesIn(kProblemCases),
                         RowName{});

} // namespace
