#include "search/ScanPool.h"

#include "search/FileScan.h"
#include "search/WordMatcher.h"

#include <algorithm>
#include <limits>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

ScanPool::ScanPool(const WordMatcher &matcher, int helpers) : m_matcher(matcher)
{
    if (helpers < 0)
        helpers = std::clamp(int(std::thread::hardware_concurrency()) - 1, 0, 3);
    for (int i = 0; i < helpers; ++i)
        m_threads.emplace_back([this] { helperLoop(); });
}

ScanPool::~ScanPool()
{
    cancel();
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_work.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

void ScanPool::add(const QByteArray &folder, const QList<QByteArray> &names, const QStringList &keys)
{
    if (names.isEmpty())
        return;
    // Prepared outside the lock, which the helpers take for every file.
    // Files are opened relative to their folder: no lookup from the root for
    // each. Without the folder open, by full path.
    Folder f;
    f.path = folder;
    f.fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<Job> jobs;
    jobs.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        jobs.push_back(Job{f.fd, folder, names.at(i), keys.at(i)});
    {
        std::lock_guard lock(m_mutex);
        for (Job &job : jobs) {
            m_jobs.push_back(std::move(job));
            m_probes.emplace_back();
            m_finished.push_back(0);
        }
        f.lastJob = m_base + qint64(m_jobs.size()) - 1;
        m_folders.push_back(std::move(f));
        m_queued.store(qint64(m_jobs.size()), std::memory_order_relaxed);
    }
    m_work.notify_all();
}

qsizetype ScanPool::queued() const
{
    return qsizetype(m_queued.load(std::memory_order_relaxed));
}

bool ScanPool::claim(qint64 &index, Job &job)
{
    const qint64 end = m_base + qint64(m_jobs.size());
    if (m_next >= end || m_next >= m_base + kWindow)
        return false;
    index = m_next++;
    job = m_jobs[size_t(index - m_base)];
    ++m_inFlight;
    return true;
}

Probe ScanPool::probe(const Job &job, QByteArray &scratch)
{
    // Reading and matching happen outside the lock; the job's slot is not
    // touched by anyone else until it is marked finished.
    Probe result;
    OpenFile file;
    scratch.truncate(0);
    bool ok = job.fd >= 0 ? file.openAt(job.fd, job.name, job.key, &result.error)
                          : file.openNative(job.folder + job.name, job.key, &result.error);
    result.size = file.size();
    result.modifiedSecs = file.modifiedSecs();
    result.modifiedNsecs = file.modifiedNsecs();

    qsizetype step = kFirstRead;
    auto readStep = [&] {
        ok = file.readMore(scratch, scratch.size() + step, &result.error);
        step = std::min(step * 2, kMaxRead);
        return ok;
    };
    // Whole lines are searched as they arrive; bytes before `searched` are
    // whole lines without a hit.
    qsizetype searched = 0;
    while (ok && !result.hasHit && !file.atEnd() && readStep()) {
        const QByteArrayView bytes(scratch);
        const qsizetype end = file.atEnd() ? bytes.size()
                                           : searched + FileScan::completeLines(bytes.sliced(searched));
        if (end > searched) {
            result.hasHit = FileScan::Scan_File(m_matcher, bytes.first(end), searched);
            searched = end;
        }
    }
    result.readable = ok;
    if (ok && result.hasHit) {
        // A file with more lines than the store can take now will be
        // refused (the room only shrinks): it is read no further than needed
        // to know that, and its bytes are not kept. Any other file with a hit
        // is read to its end here, and decoded ahead when it fits the room
        // less what was decoded ahead of it. (Lines counted on a part of the
        // file are never more than the whole file has.)
        const qint64 room = m_room.load(std::memory_order_relaxed);
        // Counted as the bytes come, each byte once.
        qint64 breaks = 0;
        qsizetype counted = 0;
        auto linesSoFar = [&] {
            breaks += FileScan::countBreaks(scratch, counted, scratch.size(), room - breaks);
            counted = scratch.size();
            const char last = scratch.isEmpty() ? '\n' : scratch.back();
            return scratch.isEmpty() ? qint64(1) : breaks + (last == '\n' || last == '\r' ? 0 : 1);
        };
        qint64 lines = linesSoFar();
        while (lines <= room && !file.atEnd() && readStep())
            lines = linesSoFar();
        if (!ok) {
            result.readable = false;
            result.hasHit = false;
        } else if (lines > room) {
            result.tooLong = true;
        } else if (lines <= room - m_reserved.load(std::memory_order_relaxed)) {
            m_reserved.fetch_add(lines, std::memory_order_relaxed);
            FileScan::collect(m_matcher, scratch, job.key, result.scanned, nullptr, lines);
            result.decoded = true;
        } else {
            // A copy, so that the scratch buffer keeps its capacity: a
            // fresh buffer per file costs a page fault per page.
            result.bytes = QByteArray(scratch.constData(), scratch.size());
        }
    }
    return result;
}

void ScanPool::finish(qint64 index, Probe &&result)
{
    if (index >= m_base) { // else dropped by cancel
        m_probes[size_t(index - m_base)] = std::move(result);
        m_finished[size_t(index - m_base)] = 1;
    }
    --m_inFlight;
    m_done.notify_all();
}

void ScanPool::helperLoop()
{
    QByteArray scratch;
    std::unique_lock lock(m_mutex);
    for (;;) {
        qint64 index = 0;
        Job job;
        if (!claim(index, job)) {
            ++m_idle;
            m_work.wait(lock, [&] { return m_quit || claim(index, job); });
            --m_idle;
        }
        if (m_quit)
            return;
        lock.unlock();
        Probe result = probe(job, scratch);
        lock.lock();
        // Finished and the next one claimed under the same hold of the lock.
        finish(index, std::move(result));
    }
}

void ScanPool::dropFoldersBefore(qint64 index, std::vector<int> &toClose)
{
    while (!m_folders.empty() && m_folders.front().lastJob < index) {
        if (m_folders.front().fd >= 0)
            toClose.push_back(m_folders.front().fd);
        m_folders.pop_front();
    }
}

void ScanPool::closeAll(std::vector<int> &fds)
{
    for (int fd : fds)
        ::close(fd);
    fds.clear();
}

bool ScanPool::take(Probe &out)
{
    bool wake = false;
    std::vector<int> toClose;
    {
        std::unique_lock lock(m_mutex);
        if (m_jobs.empty())
            return false;
        while (!m_finished.front()) {
            // Rather than wait, read the next file nobody has taken.
            qint64 index = 0;
            Job job;
            if (claim(index, job)) {
                lock.unlock();
                Probe result = probe(job, m_mainScratch);
                lock.lock();
                finish(index, std::move(result));
                continue;
            }
            m_done.wait(lock);
        }
        out = std::move(m_probes.front());
        m_probes.pop_front();
        m_jobs.pop_front();
        m_finished.pop_front();
        ++m_base;
        m_queued.store(qint64(m_jobs.size()), std::memory_order_relaxed);
        if (out.decoded)
            m_reserved.fetch_sub(out.scanned.lineCount(), std::memory_order_relaxed);
        dropFoldersBefore(m_base, toClose);
        // The window moved on: a waiting helper is woken once half of it is
        // free and there is a file to claim.
        wake = m_idle > 0 && m_next < m_base + qint64(m_jobs.size()) && m_base + kWindow - m_next >= kWindow / 2;
    }
    if (wake)
        m_work.notify_all();
    closeAll(toClose);
    return true;
}

void ScanPool::cancel()
{
    std::unique_lock lock(m_mutex);
    // Jobs being read still use their folder; nothing more is claimed.
    const qint64 claimedEnd = m_next;
    m_jobs.clear();
    m_probes.clear();
    m_finished.clear();
    m_base = m_next = claimedEnd;
    m_queued.store(0, std::memory_order_relaxed);
    m_done.wait(lock, [&] { return m_inFlight == 0; });
    std::vector<int> toClose;
    dropFoldersBefore(std::numeric_limits<qint64>::max(), toClose);
    m_reserved.store(0, std::memory_order_relaxed);
    lock.unlock();
    closeAll(toClose);
}
