#pragma once

#include <QString>

#include <memory>
#include <string>
#include <string_view>

/// One journal file on disk, held by this process: created and locked when
/// the first record goes in, every append made durable (fdatasync, or
/// _commit on Windows) before it returns. While the file is open no other
/// Vorla takes it for one left behind: the lock (flock, or a share mode that
/// denies others on Windows) ends with the process, however it ends.
class JournalFile
{
public:
    ~JournalFile();
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;

    /// A journal that will be created as `path` with its first append.
    static std::unique_ptr<JournalFile> atPath(const QString &path);
    /// Takes over a journal left behind by a run that did not end normally:
    /// opens and locks it and cuts it to `goodBytes`, so appends follow its
    /// last good record. nullptr when another process holds it or it cannot
    /// be opened.
    static std::unique_ptr<JournalFile> takeOver(const QString &path, std::size_t goodBytes);
    /// Whether a live process holds the journal at `path`.
    static bool heldByAnother(const QString &path);

    const QString &path() const { return m_path; }

    /// Appends the bytes and makes them durable; false when the disk refused
    /// either (the file is then cut back to what it held before).
    bool append(std::string_view bytes);
    /// Replaces everything after the header with `records`, durably.
    bool rewrite(std::string_view records);
    /// Closes and deletes the file: nothing is left to restore.
    void remove();

private:
    explicit JournalFile(QString path) : m_path(std::move(path)) {}
    bool create();
    bool writeAll(std::string_view bytes);
    bool makeRoom(long long end);
    bool sync();

    QString m_path;
    int m_fd = -1;
    long long m_size = 0; // the records' end
    long long m_room = 0; // the file's end: zeros after m_size
};
