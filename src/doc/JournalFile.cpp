#include "doc/JournalFile.h"

#include "journal/JournalFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// The share mode is the lock: no other process opens the file for writing
// while it is held, and Windows lets go of it when the process ends. Reading
// stays open to others, as it does beside flock on Linux (a backup, a look
// at what the journal holds); a reader can only delay a takeover.
int openLocked(const QString &path, bool create)
{
    int fd = -1;
    const int flags = _O_RDWR | _O_BINARY | (create ? _O_CREAT | _O_EXCL : 0);
    _wsopen_s(&fd, reinterpret_cast<const wchar_t *>(path.utf16()), flags, _SH_DENYWR,
              _S_IREAD | _S_IWRITE);
    return fd;
}
long writeSome(int fd, const char *data, std::size_t size)
{
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
bool syncFd(int fd) { return _commit(fd) == 0; }
bool truncateFd(int fd, long long size) { return _chsize_s(fd, size) == 0; }
bool seekFd(int fd, long long at) { return _lseeki64(fd, at, SEEK_SET) == at; }
void closeFd(int fd) { _close(fd); }
void syncFolder(const QString &) {}
#else
int openLocked(const QString &path, bool create)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_EXCL : 0), 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
long writeSome(int fd, const char *data, std::size_t size)
{
    long written = 0;
    do
        written = ::write(fd, data, size);
    while (written < 0 && errno == EINTR);
    return written;
}
bool syncFd(int fd) { return ::fdatasync(fd) == 0; }
bool truncateFd(int fd, long long size) { return ::ftruncate(fd, size) == 0; }
bool seekFd(int fd, long long at) { return ::lseek(fd, at, SEEK_SET) == at; }
void closeFd(int fd) { ::close(fd); }
// A new file's name is durable only once its folder's entry is.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

// The file grows in steps of zero bytes written ahead; an append overwrites
// part of that room, so its durable write carries the record alone, not a new
// file size as well (on this program's disks, about half the time). A replay
// reads the zeros after the last record as room, not as a record.
constexpr long long kRoomStep = 64 * 1024;

} // namespace

JournalFile::~JournalFile()
{
    if (m_fd >= 0)
        closeFd(m_fd);
}

std::unique_ptr<JournalFile> JournalFile::atPath(const QString &path)
{
    return std::unique_ptr<JournalFile>(new JournalFile(path));
}

std::unique_ptr<JournalFile> JournalFile::takeOver(const QString &path, std::size_t goodBytes)
{
    std::unique_ptr<JournalFile> file(new JournalFile(path));
    file->m_fd = openLocked(path, false);
    if (file->m_fd < 0)
        return nullptr;
    if (goodBytes < journal::kHeaderSize) {
        // Nothing good in it, not even the header: start it again.
        if (!file->rewrite({}))
            return nullptr;
        return file;
    }
    file->m_size = file->m_room = static_cast<long long>(goodBytes);
    if (!truncateFd(file->m_fd, file->m_size) || !seekFd(file->m_fd, file->m_size) || !file->sync())
        return nullptr;
    return file;
}

bool JournalFile::heldByAnother(const QString &path)
{
    const int fd = openLocked(path, false);
    if (fd < 0)
        return QFileInfo::exists(path);
    closeFd(fd);
    return false;
}

bool JournalFile::create()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_fd = openLocked(m_path, true);
    if (m_fd < 0)
        return false;
    if (!writeAll(journal::header()) || !sync()) {
        remove();
        return false;
    }
    m_size = m_room = static_cast<long long>(journal::kHeaderSize);
    syncFolder(QFileInfo(m_path).absolutePath());
    return true;
}

bool JournalFile::writeAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const long written = writeSome(m_fd, bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool JournalFile::makeRoom(long long end)
{
    const long long room = (end / kRoomStep + 1) * kRoomStep;
    if (!seekFd(m_fd, m_room) || !writeAll(std::string(static_cast<std::size_t>(room - m_room), '\0')))
        return false;
    m_room = room;
    return true;
}

bool JournalFile::sync()
{
    return syncFd(m_fd);
}

bool JournalFile::append(std::string_view bytes)
{
    if (m_fd < 0 && !create())
        return false;
    const long long end = m_size + static_cast<long long>(bytes.size());
    if ((end <= m_room || makeRoom(end)) && seekFd(m_fd, m_size) && writeAll(bytes) && sync()) {
        m_size = end;
        return true;
    }
    // A record half on disk would read as torn; cut it off, room and all, so
    // the next one does not follow a gap.
    truncateFd(m_fd, m_size);
    m_room = m_size;
    return false;
}

bool JournalFile::rewrite(std::string_view records)
{
    if (m_fd < 0)
        return create() && append(records);
    m_size = m_room = 0;
    if (!truncateFd(m_fd, 0) || !seekFd(m_fd, 0) || !writeAll(journal::header()))
        return false;
    m_size = m_room = static_cast<long long>(journal::kHeaderSize);
    return append(records);
}

void JournalFile::remove()
{
    if (m_fd >= 0) {
        closeFd(m_fd);
        m_fd = -1;
    }
    QFile::remove(m_path);
}
