#pragma once

#include "platform/DiskStamp.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// Gives one file on disk a new content so that, whatever fails, the file is
// left with either its whole old content or its whole new content.
//
// The path is the native one, bytes as on disk. A symbolic link is followed
// to the file it names, which gets the new content; the link stays a link. A
// link in a folder where anyone may create entries (world-writable and
// sticky, like /tmp) that belongs neither to this user nor to the folder's
// owner is not followed: someone else put it there, and following it would
// let them choose what is overwritten.
//
// How the content is written:
// - Normally into a temporary file in the same folder, which gets the old
//   file's owner, group, permission bits and extended attributes, is flushed
//   (the one fsync) and renamed over the old file.
// - A file with several hard links, or whose owner and group a new file of
//   this process cannot be given, is written in place: a rename would cut it
//   off from its other names, or hand it over to this user. A copy of the old
//   content is first flushed to a temporary file beside it, space for a
//   longer content is reserved, then the file is overwritten, cut to length
//   and flushed, and the copy removed. A failure writes the old content back
//   from memory; only if that fails too does the copy stay, and the reason
//   names it. (Two fsyncs: the copy's and the file's.)
// - A new file is written as the temporary file and linked in under its name
//   without replacing anything that appeared there meanwhile.
//
// Refused, with nothing touched: anything that is not a regular file (a FIFO
// or device is never opened, let alone replaced), a file or folder whose
// owner write bit is clear (whoever runs the program, root included: a rename
// in a writable folder could otherwise replace a read-only file), and a file
// or folder this process may not write.
class FileReplacer
{
public:
    enum class Status {
        Ok,      // inspect: an existing file, open for reading; write: written
        Missing, // inspect: nothing there yet, but its folder can take a new file
        Changed, // write: the file changed, or a new one appeared, since inspect
        Failed,  // see reason()
    };

    explicit FileReplacer(QByteArray path);
    ~FileReplacer();
    FileReplacer(const FileReplacer &) = delete;
    FileReplacer &operator=(const FileReplacer &) = delete;

    Status inspect();
    // After inspect() gave Ok: the file's stamp, and its whole content.
    DiskStamp stamp() const;
    bool readAll(QByteArray &bytes);

    // old is the content readAll() gave (the in-place way keeps a copy of
    // it); empty for a missing file.
    Status write(const QByteArray &content, const QByteArray &old);
    // After write() gave Ok: the file's stamp now.
    DiskStamp writtenStamp() const { return m_written; }

    // The file the content goes to, links followed.
    const QByteArray &target() const { return m_target; }
    // Why inspect() or write() failed: one or two Japanese sentences, without
    // the file's name.
    const QString &reason() const { return m_reason; }
    // A native path as the user reads it (NativeName::decodePath).
    static QString displayName(const QByteArray &path);

    // false only when a failed in-place write could not put the old content
    // back (reason() then names the copy that holds it).
    bool untouched() const { return m_untouched; }

private:
    Status fail(const QString &reason);
    Status failErrno(int err);
    Status checkFolder();
    Status replaceByRename(const QByteArray &content, const QByteArray &old);
    Status writeInPlace(const QByteArray &content, const QByteArray &old);
    Status create(const QByteArray &content);
    int createTemporary(mode_t mode, QByteArray &name);
    bool stillAsInspected(const struct stat &now) const;

    QByteArray m_path;
    QByteArray m_target;
    QByteArray m_folder;
    int m_fd = -1;
    bool m_missing = false;
    struct stat m_st {};
    DiskStamp m_written;
    QString m_reason;
    bool m_untouched = true;
};
