#pragma once

#include "platform/UndoManifest.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

// One save batch: the files one command writes (the save dialog, "quav
// replace", a duplication's save). Unless the user chose to save without
// undo, it keeps in the undo journal each file's previous content before the
// file is touched, so that the batch can be undone and a batch cut short by a
// crash rolled back (UndoStore reads the journal).
//
// The batch's folder in the journal is made on the first file kept; it holds
// the manifest (UndoManifest) and file "n" per replaced file. Its manifest is
// locked (flock) while the batch is open: a manifest without a final state
// that nobody holds belongs to a batch that was cut short.
//
// It also looks once into every folder the batch writes to for what an
// earlier save cut short left behind (".quav-<id>.tmp": a new content never
// put under its name, removed; ".quav-<id>.old": the previous content of a
// file that was being written in place without a journal, reported).
class SaveBatch
{
public:
    struct Options
    {
        bool journal = true;
        QString command;     // how the user started the batch, for the list
        int keepDays = 30;   // batches older than this are pruned ...
        qint64 keepBytes = qint64(1) << 30; // ... and the oldest beyond this total
    };

    explicit SaveBatch(Options options);
    ~SaveBatch();
    SaveBatch(const SaveBatch &) = delete;
    SaveBatch &operator=(const SaveBatch &) = delete;

    bool journalled() const { return m_options.journal; }
    // The batch's id in the journal; empty before the first file is kept.
    const QString &id() const { return m_id; }

    // Keeps the previous content of an existing file and records what will
    // replace it, durably, before the file is touched. fileFd is open on the
    // file; a hard link of it is taken where allowed (linkByInode: the file
    // is replaced by rename, so its old inode stays as it is), else `old`
    // is copied. The number of the file in the batch, or -1 with reason().
    int keepReplaced(int fileFd, const struct stat &st, const QByteArray &target, const QByteArray &old,
                     const QByteArray &content, bool linkByInode);
    // Records a file the batch creates, durably, before its name appears.
    int keepCreated(const QByteArray &target, const QByteArray &content);
    // File n was not written after all: what was kept of it goes.
    void forget(int index);
    // File n holds what the batch wrote.
    void written(int index);
    // Someone else changed file n while it was saved; fileFd is open on the
    // previous inode, whose content now replaces the kept copy (a hard link
    // holds it already).
    void changedMeanwhile(int index, int fileFd);
    // Files made durable together (FileReplacer::prepare): the journal
    // entry of a file replaced by rename is then not flushed on its own, and
    // makeDurable() flushes the entries with the new contents, once for a
    // whole group of files, before any of them is renamed.
    void setFlushTogether(bool together) { m_together = together; }
    bool flushesTogether() const { return m_together; }
    // Makes durable the files open at fds and everything the journal holds
    // so far: one syncfs per file system for a group, or, for a lone file
    // when the journal is flushed already, its fsync. false with errno set.
    bool makeDurable(const QList<int> &fds);
    // Why the journal cannot be written, in Japanese.
    const QString &reason() const { return m_reason; }

    // The first time a folder is met in this batch: leftovers of a save cut
    // short are dealt with.
    void sweepFolder(int folderFd, const QByteArray &folder);
    // For the user at the end of the batch (leftovers that hold a previous
    // content).
    const QStringList &notices() const { return m_notices; }

    // Marks the batch done and lets go of it; also at destruction.
    void finish();

private:
    bool open();
    bool append(const QByteArray &record, bool durable);
    bool fail(const QString &reason);

    Options m_options;
    QString m_id;
    int m_dirFd = -1;
    int m_manifestFd = -1;
    int m_count = 0;
    bool m_failed = false;
    bool m_together = false;
    bool m_unflushed = false; // journal entries kept since the last flush
    QString m_reason;
    QSet<QByteArray> m_swept;
    QStringList m_notices;
};
