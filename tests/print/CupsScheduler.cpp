#include "CupsScheduler.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

const QStringList kAdminFolders = {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};
const QString kCupsPdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kCupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

// The scheduler's filters run as an unprivileged user and must reach the
// spool folder, so every folder on the way is open for reading.
constexpr QFileDevice::Permissions kOpenFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
    | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
    | QFileDevice::ExeOther;

quint16 freeLocalPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

CupsScheduler::CupsScheduler(const QString &root) : m_root(root) {}

CupsScheduler::~CupsScheduler()
{
    stop();
}

QString CupsScheduler::server() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

QString CupsScheduler::spoolDirectory() const
{
    return QDir(m_root).filePath(QStringLiteral("spool"));
}

QString CupsScheduler::errorLog() const
{
    QFile log(QDir(m_root).filePath(QStringLiteral("log/error_log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

QProcessEnvironment CupsScheduler::clientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), server());
    environment.insert(QStringLiteral("CUPS_SERVERROOT"), QDir(m_root).filePath("client"));
    environment.insert(QStringLiteral("HOME"), QDir(m_root).filePath("home"));
    environment.remove(QStringLiteral("PRINTER"));
    environment.remove(QStringLiteral("LPDEST"));
    return environment;
}

bool CupsScheduler::writeConfiguration()
{
    const QDir root(m_root);
    for (const char *folder : {"spool", "spool/tmp", "cache", "state", "log", "client", "home"})
        if (!root.mkpath(QLatin1String(folder))) {
            m_failure = QStringLiteral("cannot create %1").arg(root.filePath(folder));
            return false;
        }
    for (const QString &folder : {m_root, root.filePath("spool"), root.filePath("cache"),
                                  root.filePath("state"), root.filePath("log")})
        QFile::setPermissions(folder, kOpenFolder);

    // As root the scheduler hands filters to "lp"; as anyone else it can only
    // run them as that same user.
    const bool asRoot = geteuid() == 0;
    const QString user = asRoot ? QStringLiteral("lp") : qEnvironmentVariable("USER");
    const QString files = QStringLiteral("ServerRoot %1\n"
                                         "RequestRoot %1/spool\n"
                                         "TempDir %1/spool/tmp\n"
                                         "CacheDir %1/cache\n"
                                         "StateDir %1/state\n"
                                         "AccessLog %1/log/access_log\n"
                                         "ErrorLog %1/log/error_log\n"
                                         "PageLog %1/log/page_log\n"
                                         "User %2\n"
                                         "%3"
                                         "SystemGroup root\n"
                                         "FileDevice No\n")
                              .arg(m_root, user,
                                   asRoot ? QStringLiteral("Group lp\n") : QString());
    const QString scheduler = QStringLiteral("Listen 127.0.0.1:%1\n"
                                             "LogLevel debug\n"
                                             "PreserveJobFiles Yes\n"
                                             "PreserveJobHistory Yes\n"
                                             "Browsing No\n"
                                             "WebInterface No\n"
                                             "DefaultAuthType None\n"
                                             "<Location />\n"
                                             "  Order allow,deny\n"
                                             "  Allow all\n"
                                             "</Location>\n"
                                             "<Policy default>\n"
                                             "  <Limit All>\n"
                                             "    Order deny,allow\n"
                                             "  </Limit>\n"
                                             "</Policy>\n")
                                  .arg(m_port);
    if (!writeText(root.filePath("cups-files.conf"), files)
        || !writeText(root.filePath("cupsd.conf"), scheduler)) {
        m_failure = QStringLiteral("cannot write the scheduler's configuration");
        return false;
    }
    return true;
}

bool CupsScheduler::start()
{
    const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), kAdminFolders);
    if (cupsd.isEmpty()) {
        m_failure = QStringLiteral("cupsd is not installed (package cups)");
        return false;
    }
    // A port freed by the probe can be taken by someone else before cupsd
    // binds it; a few tries get past that.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = freeLocalPort();
        if (m_port == 0) {
            m_failure = QStringLiteral("no free port on 127.0.0.1");
            return false;
        }
        if (!writeConfiguration())
            return false;
        m_cupsd.setProgram(cupsd);
        m_cupsd.setArguments({QStringLiteral("-f"), QStringLiteral("-c"),
                              QDir(m_root).filePath("cupsd.conf"), QStringLiteral("-s"),
                              QDir(m_root).filePath("cups-files.conf")});
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
#ifdef Q_OS_LINUX
        // Should the test itself die, the scheduler goes with it.
        m_cupsd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
        m_cupsd.start();
        if (!m_cupsd.waitForStarted(10000)) {
            m_failure = QStringLiteral("cupsd did not start: %1").arg(m_cupsd.errorString());
            return false;
        }
        if (waitUntilListening(15000))
            return true;
        const QString output = QString::fromLocal8Bit(m_cupsd.readAll()).trimmed();
        stop();
        m_failure = QStringLiteral("cupsd did not take connections on %1 (%2)")
                        .arg(server(), output.isEmpty() ? errorLog().right(600) : output);
    }
    return false;
}

bool CupsScheduler::waitUntilListening(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (m_cupsd.state() == QProcess::NotRunning)
            return false;
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(500))
            return true;
        QThread::msleep(100);
    }
    return false;
}

void CupsScheduler::stop()
{
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
}

bool CupsScheduler::runClient(const QString &program, const QStringList &arguments,
                              QString *output)
{
    QProcess client;
    client.setProcessEnvironment(clientEnvironment());
    client.setProcessChannelMode(QProcess::MergedChannels);
    client.start(program, arguments);
    const bool finished = client.waitForFinished(30000);
    const QString text = QString::fromLocal8Bit(client.readAll()).trimmed();
    if (output != nullptr)
        *output = text;
    if (!finished || client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        if (!finished)
            client.kill();
        m_failure = QStringLiteral("%1 %2 failed: %3")
                        .arg(program, arguments.join(QLatin1Char(' ')),
                             text.isEmpty() ? client.errorString() : text);
        return false;
    }
    return true;
}

bool CupsScheduler::addDefaultPdfQueue(const QString &name)
{
    if (!QFile::exists(kCupsPdfBackend) || !QFile::exists(kCupsPdfPpd)) {
        m_failure = QStringLiteral("the cups-pdf backend is not installed "
                                   "(package printer-driver-cups-pdf)");
        return false;
    }
    const QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"),
                                                           kAdminFolders);
    const QString host = server();
    // The scheduler's own default, and the client's choice too, so that a
    // default kept in some lpoptions file cannot win.
    return runClient(lpadmin, {"-h", host, "-p", name, "-E", "-v", "cups-pdf:/", "-P",
                               kCupsPdfPpd})
           && runClient(lpadmin, {"-h", host, "-d", name})
           && runClient(QStringLiteral("lpoptions"), {"-h", host, "-d", name});
}

bool CupsScheduler::waitForCompletedJob(const QString &queue, int jobId, int timeoutMs)
{
    const QString job = QStringLiteral("%1-%2").arg(queue).arg(jobId);
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QString active;
        if (!runClient(QStringLiteral("lpstat"),
                       {"-h", server(), "-W", "not-completed", "-o", queue}, &active))
            return false;
        if (!active.contains(job + QLatin1Char(' '))) {
            // The job has reached an end; the log says which one.
            const QString marker = QStringLiteral("[Job %1] ").arg(jobId);
            QStringList ending;
            for (const QString &line : errorLog().split(QLatin1Char('\n')))
                if (line.contains(marker) && !line.startsWith(QLatin1String("D ")))
                    ending << line;
            if (ending.join(QLatin1Char('\n')).contains(marker + QStringLiteral("Job completed.")))
                return true;
            m_failure = QStringLiteral("job %1 ended without completing:\n%2")
                            .arg(job, ending.join(QLatin1Char('\n')));
            return false;
        }
        QThread::msleep(200);
    }
    m_failure = QStringLiteral("job %1 did not complete in %2 ms").arg(job).arg(timeoutMs);
    return false;
}
