#pragma once

#include <QString>

/// A small tmpfs mounted on a folder for the length of a test: a disk that
/// really fills up, or (read-only) one that refuses every write, root's too.
/// Mounting needs root and a system that lets it; where it cannot mount,
/// mounted() is false and reason() says why, for the test to skip with.
class SmallDisk
{
public:
    /// options as mount(8) takes them, e.g. "size=64k" or "ro,size=64k".
    SmallDisk(const QString &folder, const QString &options);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    const QString &reason() const { return m_reason; }

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_reason;
};
