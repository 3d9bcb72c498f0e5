#pragma once

#include "platform/DiskStamp.h"
#include "platform/WriteResult.h"

#include <QByteArray>
#include <QString>

#include <functional>

#include <sys/stat.h>

class SaveBatch;

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
// Every name is used relative to the file's folder, opened once, so that a
// folder path close to the system's limit still leaves room for the names
// of temporary files.
//
// From inspect() to the end of write() the file is locked (flock): a second
// save of this program waits, then finds the file changed. Programs that
// take no lock are noticed by the file's stamp, which is compared again just
// before the rename and once more, on the old inode, after it.
//
// How the content is written:
// - Normally into a temporary file ".quav-<id>.tmp" in the same folder,
//   which gets the file's owner, group, permission bits and extended
//   attributes as they are just before the rename (a change made during the
//   save is kept; a file made read-only meanwhile is not written), is
//   flushed and renamed over the old file.
// - A file with several hard links, or whose owner and group a new file of
//   this process cannot be given, is written in place: a rename would cut it
//   off from its other names, or hand it over to this user. Its previous
//   content is first made durable (in the batch's journal, or without one in
//   ".quav-<id>.old" beside it), space for a longer content is reserved, then
//   the file is overwritten, cut to length and flushed. A failure writes the
//   old content back from memory; only if that fails too does the kept copy
//   matter, and the reason names where it is.
// - A new file is written as the temporary file and linked in under its name
//   without replacing anything that appeared there meanwhile.
//
// With a SaveBatch, the previous content is kept in its journal before the
// file is touched, and leftovers of an earlier save in the folder are dealt
// with.
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

    // Called once when inspect() must wait for another save's lock: a save
    // that holds the locks of files of its own (a group waiting for its
    // flush) lets go of them first, so that two such saves never wait for
    // each other.
    void setBeforeWaiting(std::function<void()> f) { m_beforeWaiting = std::move(f); }
    // Called every few milliseconds while inspect() waits for that lock (at
    // most 30 s): the caller serves its window there; false ends the wait,
    // and inspect() fails without touching the file.
    void setWhileWaiting(std::function<bool()> f) { m_whileWaiting = std::move(f); }
    Status inspect();
    // After inspect() gave Ok: the file's stamp, and its whole content.
    DiskStamp stamp() const;
    bool readAll(QByteArray &bytes);

    // old is the content readAll() gave (the in-place way keeps a copy of
    // it); empty for a missing file.
    Status write(const QByteArray &content, const QByteArray &old, SaveBatch *batch = nullptr);
    // write() in two halves, for files made durable together: prepare()
    // writes the content of a file replaced by rename into its temporary
    // file and keeps the previous content in the batch's journal, without
    // flushing either; pending() then holds, and once the batch has made
    // every pending file durable (SaveBatch::makeDurable with pendingFd()),
    // commit() renames it. A file written in place or created is written
    // whole by prepare(), as by write(). A pending file never committed is
    // dropped, with its journal entry, at destruction.
    Status prepare(const QByteArray &content, const QByteArray &old, SaveBatch *batch);
    bool pending() const { return m_tmpFd >= 0; }
    int pendingFd() const { return m_tmpFd; }
    Status commit();
    // A pending file that is not to be committed goes, with its journal
    // entry; Failed, with err's reason (0: none).
    Status drop(int err);
    // After write() gave Ok: the file's stamp now.
    DiskStamp writtenStamp() const { return m_written; }
    // After write() gave Ok: someone else changed the file between the last
    // check and the rename; their content is what the journal kept.
    bool changedMeanwhile() const { return m_changedMeanwhile; }
    // After inspect() gave Ok: removes the file.
    Status remove();

    // A file written whole by the rules above, without a journal (the result
    // file, the list document of a batch search).
    static WriteResult replaceWhole(const QByteArray &path, const QByteArray &bytes);

    // Called at named steps of a write ("kept", "in-place-half",
    // "before-rename", "renamed"); tests stop or disturb a save there.
    static std::function<void(const char *step)> testStep;

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
    Status openFolder();
    Status lock();
    Status replaceByRename(const QByteArray &content, const QByteArray &old, SaveBatch *batch);
    Status writeInPlace(const QByteArray &content, const QByteArray &old, SaveBatch *batch);
    Status create(const QByteArray &content, SaveBatch *batch);
    int createTemporary(mode_t mode, QByteArray &name, const char *suffix = ".tmp");
    bool stillAsInspected(const struct stat &now) const;
    bool nameStillAsInspected() const;

    QByteArray m_path;
    QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_base; // the target's name in m_folder
    int m_dirFd = -1;
    int m_fd = -1;
    bool m_changedMeanwhile = false;
    bool m_missing = false;
    struct stat m_st {};
    // The pending temporary file, its journal entry, and the old file's
    // metadata that it was given.
    int m_tmpFd = -1;
    QByteArray m_tmpName;
    int m_kept = 0;
    SaveBatch *m_batch = nullptr;
    struct stat m_prepared {};
    std::function<void()> m_beforeWaiting;
    std::function<bool()> m_whileWaiting;
    DiskStamp m_written;
    QString m_reason;
    bool m_untouched = true;
};
