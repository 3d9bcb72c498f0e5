#pragma once

#include "edit/FileSave.h"

#include <QList>

#include <functional>
#include <memory>

class FileReplacer;
class SaveBatch;

// Saves files of one batch in groups whose durability costs one flush per
// group instead of one per file (a batch replace of thousands of files): each
// file is written into its temporary file and its previous content kept in
// the journal, nothing flushed; once the group is full (or at flush()), the
// batch makes the whole group durable together (SaveBatch::makeDurable), and
// only then is each file renamed over its old one, with the checks a lone
// save makes just before and after its rename. A crash before the flush
// leaves every old file as it was; after it, the journal holds every old
// content the renames replace, and a rollback puts them back.
//
// Results reach their callbacks in the order the files were given: a file
// refused, written in place or created is done at once, but its result
// waits for the pending files before it; a file replaced by rename is done
// after its group's flush.
class SaveQueue
{
public:
    using Done = std::function<void(const SaveResult &)>;

    // Files whose temporary file waits for the group's flush, at most: each
    // holds three descriptors (folder, old file with its lock, new file).
    static constexpr int kGroupSize = 128;

    explicit SaveQueue(SaveBatch &batch, int groupSize = kGroupSize);
    ~SaveQueue(); // flushes
    SaveQueue(const SaveQueue &) = delete;
    SaveQueue &operator=(const SaveQueue &) = delete;

    // While a file waits for another save's lock, called every few
    // milliseconds with the file's name as messages give it; false ends the
    // wait, and that file is not written (its result says why).
    void setWhileWaiting(std::function<bool(const QString &file)> f) { m_whileWaiting = std::move(f); }
    // A result that is not "written" (refused, failed, or one the user is
    // to be asked about) comes at once, not after a later flush: the files
    // waiting before it are flushed and renamed first. A caller that asks
    // the user about such a result thus never asks while files wait.
    void setFlushBeforeUnwritten(bool on) { m_flushBeforeUnwritten = on; }

    void save(const SaveRequest &request, Done done);
    void flush();

private:
    struct Waiting
    {
        SaveRequest request; // without its lines: only its name is needed
        std::unique_ptr<FileReplacer> file; // none: result is final
        SaveResult result;
        Done done;
    };
    SaveBatch &m_batch;
    int m_groupSize;
    QList<std::shared_ptr<Waiting>> m_waiting;
    std::function<bool(const QString &)> m_whileWaiting;
    bool m_flushBeforeUnwritten = false;
};
