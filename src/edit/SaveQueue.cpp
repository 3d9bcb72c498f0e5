#include "edit/SaveQueue.h"

#include "platform/FileReplacer.h"
#include "platform/SaveBatch.h"

#include <cerrno>

SaveQueue::SaveQueue(SaveBatch &batch, int groupSize) : m_batch(batch), m_groupSize(std::max(1, groupSize))
{
    m_batch.setFlushTogether(true);
}

SaveQueue::~SaveQueue()
{
    flush();
    m_batch.setFlushTogether(false);
}

void SaveQueue::save(const SaveRequest &request, Done done)
{
    auto file = std::make_unique<FileReplacer>(request.path);
    // Another save holds this file: the group's locks go first.
    file->setBeforeWaiting([this] { flush(); });
    if (m_whileWaiting)
        file->setWhileWaiting([this, name = FileSave::displayName(request)] { return m_whileWaiting(name); });
    const SaveResult r = FileSave::start(request, *file, m_batch);
    const bool final = !r.written() || !file->pending();
    if (final && !r.written() && m_flushBeforeUnwritten)
        flush();
    if (final && m_waiting.isEmpty()) {
        done(r);
        return;
    }
    // A final result behind pending files waits for them: results come in
    // the order the files were given.
    auto waiting = std::make_shared<Waiting>();
    waiting->request.path = request.path;
    waiting->request.displayName = request.displayName;
    waiting->request.readStamp = request.readStamp;
    if (final)
        waiting->result = r;
    else
        waiting->file = std::move(file);
    waiting->done = std::move(done);
    m_waiting.append(waiting);
    if (m_waiting.size() >= m_groupSize)
        flush();
}

void SaveQueue::flush()
{
    if (m_waiting.isEmpty())
        return;
    const QList<std::shared_ptr<Waiting>> group = std::exchange(m_waiting, {});
    QList<int> fds;
    for (const auto &w : group)
        if (w->file)
            fds.append(w->file->pendingFd());
    const bool durable = m_batch.makeDurable(fds);
    const int err = errno;
    for (const auto &w : group) {
        if (!w->file) {
            w->done(w->result);
            continue;
        }
        // Nothing is renamed unless the group's new contents and old ones
        // are on disk.
        const FileReplacer::Status s = durable ? w->file->commit() : w->file->drop(err);
        const SaveResult r = FileSave::finish(w->request, *w->file, m_batch, int(s));
        // The lock and descriptors go before the callback runs.
        w->file.reset();
        w->done(r);
    }
}
