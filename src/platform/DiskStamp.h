#pragma once

#include <QByteArray>

#include <optional>

struct stat;

// What a file looked like on disk: its size and its last modification time.
// A save compares the stamp taken when a file was read with the file as it is
// just before it is replaced, to notice a change someone else made meanwhile.
struct DiskStamp
{
    qint64 size = -1;
    qint64 mtimeNs = 0; // nanoseconds since the epoch

    // The stamp of the file that a native path names, links followed; nothing
    // when there is no such file or it cannot be looked at.
    static std::optional<DiskStamp> of(const QByteArray &path);
    // The stamp of a file already looked at.
    static DiskStamp of(const struct stat &st);

    // Same size and same time, to the nanosecond.
    bool sameAs(const DiskStamp &other) const { return size == other.size && mtimeNs == other.mtimeNs; }
};
