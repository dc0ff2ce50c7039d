// The print command end to end: the window prints on the system's default
// printer, which here is a cups-pdf queue of a scheduler the test starts for
// itself. The scheduler keeps each job's document, which is the PDF that the
// program sent.

#include "CupsScheduler.h"
#include "app/VorlaNames.h"
#include "ModalAnswerer.h"
#include "PdfText.h"
#include "VorlaWindowTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace vorla_names;

namespace {

const QString kQueue = QStringLiteral("VorlaPdf");

/// cups-pdf writes its own copy of each job into ~/PDF of the job's owner (its
/// configuration in /etc/cups says so). The test leaves no such copy behind.
class CupsPdfOutput
{
public:
    CupsPdfOutput()
    {
        if (const passwd *owner = getpwuid(geteuid()))
            m_folder = QDir(QString::fromLocal8Bit(owner->pw_dir)).filePath(QStringLiteral("PDF"));
        m_existed = QFileInfo(m_folder).isDir();
        if (m_existed) {
            const QStringList names = QDir(m_folder).entryList(QDir::Files);
            m_before = QSet<QString>(names.begin(), names.end());
        }
    }

    /// Removes the copies of this job ("..job_<id>.pdf") that were not there before.
    void removeCopiesOf(int jobId) const
    {
        if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
            return;
        const QString suffix = QStringLiteral("job_%1.pdf").arg(jobId);
        QDir folder(m_folder);
        for (const QString &name : folder.entryList(QDir::Files))
            if (!m_before.contains(name) && name.endsWith(suffix))
                folder.remove(name);
        if (!m_existed)
            folder.rmdir(m_folder);
    }

private:
    QString m_folder;
    bool m_existed = false;
    QSet<QString> m_before;
};

class PrintQueueTest : public VorlaWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        if (geteuid() != 0)
            GTEST_SKIP() << "skipped: the cups-pdf backend runs only under a scheduler "
                            "started as root";
        m_scheduler = std::make_unique<CupsScheduler>(m_root.path());
        if (!m_scheduler->start())
            GTEST_SKIP() << "skipped: the CUPS scheduler cannot start here: "
                         << m_scheduler->failure().toStdString();
        ASSERT_TRUE(m_scheduler->addDefaultPdfQueue(kQueue))
            << m_scheduler->failure().toStdString();

        // This process asks only its own scheduler, as the window will.
        const QProcessEnvironment client = m_scheduler->clientEnvironment();
        for (const char *name : {"CUPS_SERVER", "CUPS_SERVERROOT", "HOME"}) {
            m_savedEnvironment.emplace_back(name, qgetenv(name));
            qputenv(name, client.value(QLatin1String(name)).toLocal8Bit());
        }
        for (const char *name : {"PRINTER", "LPDEST"}) {
            m_savedEnvironment.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        VorlaWindowTest::SetUp();
    }

    void TearDown() override
    {
        VorlaWindowTest::TearDown();
        for (const auto &[name, value] : m_savedEnvironment)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
        m_scheduler.reset(); // stops cupsd
    }

    /// The documents the scheduler kept, d<job>-<document>.
    QStringList spooledDocuments() const
    {
        return QDir(m_scheduler->spoolDirectory())
            .entryList({QStringLiteral("d*-001")}, QDir::Files, QDir::Name);
    }

    QTemporaryDir m_root;
    std::unique_ptr<CupsScheduler> m_scheduler;
    std::vector<std::pair<const char *, QByteArray>> m_savedEnvironment;
};

TEST_F(PrintQueueTest, DefaultPrinterReceivesTheReport)
{
    CupsPdfOutput cupsPdfOutput;
    // Values typed and calculated through the window fill the boxes.
    enterEach({"1", "2", "3", "4"});
    calculate(QStringLiteral("1σ"));

    // Twelve entries in Shift JIS, one of them ソ (83 5C).
    writeFile(path("Vovizuzuv.dat"),
              "10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n16\r\n17\r\n18\r\n19\r\n\x83\x5c\r\n21\r\n");
    {
        ModalAnswerer answerer({QMessageBox::Ok});
        action(kPrintCommand)->trigger();
        ASSERT_EQ(answerer.boxes.size(), 1u)
            << "a message after the prompt: " << answerer.boxes.back().text.toStdString();
    }

    const QStringList documents = spooledDocuments();
    ASSERT_EQ(documents.size(), 1) << "documents: " << documents.join(' ').toStdString() << "\n"
                                   << m_scheduler->errorLog().right(3000).toStdString();
    const int jobId = documents.first().mid(1, documents.first().indexOf('-') - 1).toInt();
    const QString document = QDir(m_scheduler->spoolDirectory()).filePath(documents.first());
    QFile spooled(document);
    ASSERT_TRUE(spooled.open(QIODevice::ReadOnly));
    EXPECT_EQ(spooled.read(5), QByteArray("%PDF-")) << "the program's own PDF";
    spooled.close();

    const std::optional<QString> text = pdfText(document);
    ASSERT_TRUE(text.has_value()) << "pdftotext failed on " << document.toStdString();
    EXPECT_EQ(squeezedLines(*text),
              QStringList({"10 11 12 13 14 15 16 17 18 19", "ソ 21", "データ数 4", "平均 2.5",
                           "標準偏差 1.118", "上限 3.618", "下限 1.382",
                           "上限から溢れたデータ 1 (25%)", "下限から溢れたデータ 1 (25%)",
                           "最大値 4", "最小値 1"}));

    const bool completed = m_scheduler->waitForCompletedJob(kQueue, jobId, 60000);
    cupsPdfOutput.removeCopiesOf(jobId);
    EXPECT_TRUE(completed) << m_scheduler->failure().toStdString();
}

} // namespace
