#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

/// A CUPS scheduler of the test's own: its configuration, spool, cache, log
/// and state folders live in one folder, and it listens on a free port of
/// 127.0.0.1 only, so it never meets the system's scheduler or its queues.
/// Clients reach it through clientEnvironment() (CUPS_SERVER, and a client
/// configuration folder and home of its own so that no user or system default
/// printer gets in the way). It is stopped when the object goes.
class CupsScheduler
{
public:
    explicit CupsScheduler(const QString &root);
    ~CupsScheduler();

    CupsScheduler(const CupsScheduler &) = delete;
    CupsScheduler &operator=(const CupsScheduler &) = delete;

    /// Starts cupsd and waits until it takes connections. False, with the
    /// reason in failure(), when it cannot start here.
    bool start();
    /// Adds a queue on the cups-pdf backend and makes it the default printer.
    /// False, with the reason in failure(), when that does not work.
    bool addDefaultPdfQueue(const QString &name);
    /// Waits until the job has left the queue. True when it completed; false,
    /// with the reason in failure(), on timeout or any other ending.
    bool waitForCompletedJob(const QString &queue, int jobId, int timeoutMs);

    QString server() const;              // "127.0.0.1:<port>"
    QString spoolDirectory() const;      // where PreserveJobFiles keeps the documents
    QProcessEnvironment clientEnvironment() const;
    QString failure() const { return m_failure; }
    QString errorLog() const;

private:
    bool writeConfiguration();
    bool waitUntilListening(int timeoutMs);
    bool runClient(const QString &program, const QStringList &arguments, QString *output = nullptr);
    void stop();

    QString m_root;
    quint16 m_port = 0;
    QProcess m_cupsd;
    QString m_failure;
};
