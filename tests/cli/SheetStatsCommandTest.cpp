// `vorla --stats` on control-chart sheets and with a tolerance, run as a
// shell would run it. The sheets are the guides' sample and a table of
// hostile files, each refused with what and where on standard error.

#include "RowName.h"
#include "TestFiles.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using ::testing::HasSubstr;

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

Result runVorla(const QStringList &args, const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VORLA_BINARY), args);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

QJsonArray jsonArrayOf(const std::string &out)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out;
    return document.array();
}

class SheetStatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QFile::copy(QStringLiteral(VORLA_TEST_DATA_DIR "/sheet/sample-sheet.vorla"),
                                path("sample.vorla")));
        writeFile(path("plain.txt"), "9\r\n10\r\n11\r\n10\r\n");
    }
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    Result run(const QStringList &args) const { return runVorla(args, m_dir.path()); }

    QTemporaryDir m_dir;
};

TEST_F(SheetStatsTest, SampleSheetGivesPhasesSignalsAndCapability)
{
    const Result r = run({"--stats", "--json", "sample.vorla"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonArray files = jsonArrayOf(r.out);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].toObject()["file"].toString(), QStringLiteral("sample.vorla"));
    const QJsonObject sheet = files[0].toObject()["sheet"].toObject();
    EXPECT_EQ(sheet["chart"].toString(), QStringLiteral("xbar-r"));
    EXPECT_EQ(sheet["rows"].toInt(), 40);
    const QJsonArray phases = sheet["phases"].toArray();
    ASSERT_EQ(phases.size(), 3);
    EXPECT_EQ(phases[0].toObject()["title"].toString(), QStringLiteral("解析用"));
    EXPECT_EQ(phases[1].toObject()["title"].toString(), QStringLiteral("管理用"));
    EXPECT_EQ(phases[2].toObject()["title"].toString(), QStringLiteral("改訂 1"));
    // The control phase holds the analysis phase's limits: its baseline is rows 1-16.
    EXPECT_EQ(phases[1].toObject()["location"].toObject()["upper"].toDouble(),
              phases[0].toObject()["location"].toObject()["upper"].toDouble());
    EXPECT_EQ(phases[1].toObject()["rowsUsed"].toInt(), 15); // the excluded row left out
    // The revision from x̄₀ 25.004 and σ₀ 0.005: 25.004 ± 3·0.005/√5.
    EXPECT_NEAR(phases[2].toObject()["location"].toObject()["upper"].toDouble(),
                25.004 + 0.015 / std::sqrt(5.0), 1e-12);
    // The worn tool of row 27 (12/10 10:00) is out.
    bool worn = false;
    for (const QJsonValue signal : sheet["signals"].toArray())
        worn = worn || (signal.toObject()["group"].toInt() == 27 && signal.toObject()["test"].toInt() == 1);
    EXPECT_TRUE(worn) << r.out;
    const QJsonObject capability = sheet["capability"].toObject();
    EXPECT_EQ(capability["phase"].toInt(), 3);
    EXPECT_EQ(capability["count"].toInt(), 40); // rows 33-40, five values each
    EXPECT_FALSE(capability["cp"].isNull());
    EXPECT_FALSE(capability["ppk"].toObject()["lower"].isNull());
    EXPECT_FALSE(capability["normality"].toObject()["pValue"].isNull());
    EXPECT_FALSE(capability["expectedOutside"].toObject()["total"].isNull());
}

TEST_F(SheetStatsTest, ToleranceAddsCapabilityToAValueFile)
{
    // 9, 10, 11, 10: x̄ 10, s √(2/3); R̄s (1 + 1 + 1)/3 = 1, σ within 1/1.128.
    // Cp = 4/(6/1.128) = 0.752, Pp = 4/(6·0.8165) = 0.8165.
    const Result table = run({"--stats", "plain.txt", "--upper", "12", "--lower", "8"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_THAT(table.out, HasSubstr("\t最小値\tCp\tCpk\tPp\tPpk\t推定不良率\n"));
    EXPECT_THAT(table.out, HasSubstr("\t9\t0.75\t0.75\t0.81\t0.81\t14,306 ppm\n")) << table.out;
    const Result json = run({"--stats", "--json", "plain.txt", "--upper=12"});
    ASSERT_EQ(json.status, 0) << json.err;
    const QJsonObject capability = jsonArrayOf(json.out)[0].toObject()["capability"].toObject();
    EXPECT_TRUE(capability["cp"].isNull()); // one limit: no Cp
    EXPECT_EQ(capability["cpk"].toObject()["side"].toString(), QStringLiteral("上限"));
    EXPECT_NEAR(capability["cpk"].toObject()["value"].toDouble(), 2 / (3 / 1.128), 1e-12);
}

struct HostileSheetRow
{
    const char *name;
    QByteArray bytes;
    QStringList extra; // further arguments
    const char *err;   // on standard error, after "vorla: s.vorla: "
};

const HostileSheetRow kHostileSheetRows[] = {
    {"ValueFileNamedAsSheet", "25.01\r\n25.02\r\n", {"--json"},
     "管理図シートのファイルではありません (2 行 5 文字目)。"},
    {"LaterVersion", R"({"format": "vorla-sheet", "version": 7, "rows": []})", {"--json"},
     "このシートは版 7 で書かれています。この Vorla が読めるのは版 1 までです。"},
    {"CutShort", "{\"format\": \"vorla-sheet\", \"version\": 1, \"rows\": [", {"--json"},
     "シートが壊れています (1 行 50 文字目): JSON として読めません。"},
    {"TooManyValues",
     R"({"format": "vorla-sheet", "version": 1, "header": {"subgroupSize": 1}, "rows": [{"values": ["1", "2"]}]})",
     {"--json"}, "シートが壊れています (/rows/0/values): 値が 2 個あります (群の大きさは 1)。"},
    {"NulBytes", QByteArray("{\"format\"\0", 10), {"--json"},
     "管理図シートのファイルではありません (1 行 10 文字目)。"},
    {"AsTable", R"({"format": "vorla-sheet", "version": 1, "header": {"subgroupSize": 1}, "rows": []})",
     {}, "管理図シートの結果は --json で書きます。"},
};

class HostileSheetTest : public SheetStatsTest,
                         public ::testing::WithParamInterface<HostileSheetRow>
{
};

TEST_P(HostileSheetTest, RefusedWithWhatAndWhere)
{
    const HostileSheetRow &c = GetParam();
    writeFile(path("s.vorla"), c.bytes);
    const Result r = run(QStringList{"--stats", "s.vorla", "plain.txt"} + c.extra);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, std::string("vorla: s.vorla: ") + c.err + "\n");
    // The other file still gives its result.
    EXPECT_THAT(r.out, HasSubstr("plain.txt"));
}

INSTANTIATE_TEST_SUITE_P(SheetStats, HostileSheetTest, ::testing::ValuesIn(kHostileSheetRows),
                         RowName{});

TEST_F(SheetStatsTest, ChartOfASheetIsDrawnWithoutADisplay)
{
    const Result png = run({"--chart", "sample.vorla", "-o", "sheet.png"});
    ASSERT_EQ(png.status, 0) << png.err;
    const QImage image(path("sheet.png"));
    EXPECT_EQ(image.size(), QSize(1200, 800));
    const Result pdf = run({"--chart", "sample.vorla", "-o", "sheet.pdf"});
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    QFile file(path("sheet.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    writeFile(path("later.vorla"), R"({"format": "vorla-sheet", "version": 3})");
    const Result refused = run({"--chart", "later.vorla", "-o", "later.png"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "vorla: later.vorla: このシートは版 3 で書かれています。この Vorla が読めるのは版 1 までです。\n");
    EXPECT_FALSE(QFile::exists(path("later.png")));
}

TEST_F(SheetStatsTest, MissingSheetIsNamed)
{
    const Result r = run({"--stats", "--json", "gone.vorla"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "[]\n");
    EXPECT_EQ(r.err, "vorla: gone.vorla: ファイルが見つかりません。\n");
}

} // namespace
