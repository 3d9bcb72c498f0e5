#include "search/ScanPool.h"

#include "platform/EventPump.h"
#include "search/FileScan.h"
#include "search/HitLines.h"
#include "search/LineMeter.h"
#include "search/WordMatcher.h"
#include "search/WordStream.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

ScanPool::ScanPool(const WordMatcher &matcher, int helpers, EventPump *pump, Mode mode)
    : m_matcher(matcher), m_pump(pump), m_mode(mode)
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

Probe ScanPool::probe(const Job &job, QByteArray &scratch, EventPump *pump)
{
    // Reading and matching happen outside the lock; the job's slot is not
    // touched by anyone else until it is marked finished.
    if (m_mode == Mode::HitLines)
        return probeLines(job, scratch, 0, 1, {});
    Probe result;
    OpenFile file;
    scratch.truncate(0);
    bool ok = job.fd >= 0 ? file.openAt(job.fd, job.name, job.key, &result.error)
                          : file.openNative(job.folder + job.name, job.key, &result.error);
    result.size = file.size();
    result.modifiedSecs = file.modifiedSecs();
    result.modifiedNsecs = file.modifiedNsecs();

    qsizetype step = kFirstRead;
    int steps = 0;
    auto readStep = [&] {
        // The calling thread serves the window between the steps of one
        // file: a step takes a few milliseconds at most.
        if (pump && steps++ > 0)
            pump->yield();
        const qsizetype before = scratch.size();
        ok = file.readMore(scratch, scratch.size() + step, &result.error);
        result.bytesRead += scratch.size() - before;
        step = std::min(step * 2, kMaxRead);
        return ok;
    };

    // The room only shrinks: a file that does not fit it now never will.
    const qint64 room = m_room.load(std::memory_order_relaxed);
    LineMeter meter;
    auto measure = [&] {
        result.examined += scratch.size() - meter.taken();
        meter.feed(scratch, room);
        return meter.fits(room);
    };

    // Whole lines are searched as they arrive; bytes before `searched` are
    // whole lines without a hit, and bytes before `lookedAt` have been looked
    // at for line breaks. A file that cannot be taken (too many lines in a
    // large file) is wanted only for whether it has a hit, which refuses it:
    // its searched lines are dropped as it goes.
    qsizetype searched = 0;
    qsizetype lookedAt = 0;
    // Wanted only for whether it has a hit: nothing is kept.
    bool takeable = m_mode != Mode::FirstHit;
    bool overlongLine = false;
    auto drop = [&] {
        // Moved down in place: the buffer keeps its start and capacity.
        std::memmove(scratch.data(), scratch.constData() + searched, size_t(scratch.size() - searched));
        scratch.truncate(scratch.size() - searched);
        lookedAt -= searched;
        searched = 0;
    };
    while (ok && !result.hasHit && !file.atEnd() && readStep()) {
        const QByteArrayView bytes(scratch);
        qsizetype end = file.atEnd() ? bytes.size() : FileScan::lastLineEnd(bytes, lookedAt);
        result.examined += bytes.size() - lookedAt;
        lookedAt = bytes.size();
        if (end > searched) {
            result.examined += end - searched;
            result.hasHit = FileScan::Scan_File(m_matcher, bytes.first(end), searched);
            searched = end;
        }
        if (result.hasHit)
            break;
        if (takeable && bytes.size() > kHeldUncounted && !measure())
            takeable = false;
        if (!takeable)
            drop();
        // A line not ended yet that is already too long: the file cannot be
        // taken, and the line is too long to be searched as one.
        if (scratch.size() - searched > LineMeter::kMaxLineBytes) {
            takeable = false;
            overlongLine = true;
            break;
        }
    }

    if (ok && overlongLine) {
        // The rest is searched as it comes, from the start of that line, and
        // not kept.
        WordStream stream(m_matcher);
        result.examined += scratch.size() - searched;
        stream.feed(QByteArrayView(scratch).sliced(searched), file.atEnd());
        while (!stream.found() && !file.atEnd()) {
            scratch.truncate(0);
            if (!readStep())
                break;
            result.examined += scratch.size();
            stream.feed(scratch, file.atEnd());
        }
        result.hasHit = stream.found();
    }
    if (!takeable) {
        scratch.truncate(0);
        result.readable = ok;
        result.hasHit = result.tooLong = ok && result.hasHit;
        return result;
    }

    result.readable = ok;
    if (ok && result.hasHit) {
        // A file that cannot be taken is read no further than needed to
        // know that, and its bytes are not kept. Any other file with a hit
        // is read to its end here, and decoded ahead when it fits the room
        // less what was decoded ahead of it. (Lines counted on a part of the
        // file are never more than the whole file has.)
        bool fits = measure();
        while (fits && !file.atEnd() && readStep())
            fits = measure();
        if (!ok) {
            result.readable = false;
            result.hasHit = false;
        } else if (!fits) {
            result.tooLong = true;
        } else {
            result.lines = meter.lines();
            if (result.lines <= room - m_reserved.load(std::memory_order_relaxed)) {
                m_reserved.fetch_add(result.lines, std::memory_order_relaxed);
                result.examined += scratch.size();
                FileScan::collect(m_matcher, scratch, job.key, result.scanned, pump, result.lines);
                result.decoded = true;
            } else {
                // A copy, so that the scratch buffer keeps its capacity: a
                // fresh buffer per file costs a page fault per page.
                result.bytes = QByteArray(scratch.constData(), scratch.size());
            }
        }
    }
    return result;
}

Probe ScanPool::probeLines(const Job &job, QByteArray &scratch, qint64 from, qint64 firstLine,
                           const std::function<bool(QByteArray &)> &write)
{
    Probe result;
    OpenFile file;
    scratch.truncate(0);
    bool ok = job.fd >= 0 ? file.openAt(job.fd, job.name, job.key, &result.error)
                          : file.openNative(job.folder + job.name, job.key, &result.error);
    result.size = file.size();
    result.modifiedSecs = file.modifiedSecs();
    result.modifiedNsecs = file.modifiedNsecs();
    if (ok && from > 0)
        ok = file.skipTo(from, &result.error);

    HitLines lines(m_matcher, job.folder + job.name, firstLine);
    qint64 offset = from; // of scratch[0] in the file
    qsizetype step = kFirstRead;
    while (ok && !file.atEnd()) {
        const qsizetype before = scratch.size();
        ok = file.readMore(scratch, before + step, &result.error);
        step = std::min(step * 2, kMaxRead);
        if (!ok)
            break;
        result.bytesRead += scratch.size() - before;
        const bool last = file.atEnd();
        // A CR read last may be the first half of a CR LF: it waits.
        const qsizetype known = !last && scratch.endsWith('\r') ? scratch.size() - 1 : scratch.size();
        const qsizetype end = last ? known : FileScan::lastLineEnd(QByteArrayView(scratch).first(known), before > 0 ? before - 1 : 0);
        if (end <= 0) {
            if (scratch.size() > kMaxHeldLine) {
                ok = false;
                result.error = job.key + QStringLiteral("\r\n行が長すぎるため、表示できません。");
            }
            continue;
        }
        result.examined += end;
        lines.take(QByteArrayView(scratch).first(end), result.hitLines, !last);
        std::memmove(scratch.data(), scratch.constData() + end, size_t(scratch.size() - end));
        scratch.truncate(scratch.size() - end);
        offset += end;
        if (result.hitLines.size() >= kMaxHitText && !file.atEnd()) {
            if (!write) {
                result.resumeAt = offset;
                result.resumeLine = lines.nextLine();
                break;
            }
            if (!write(result.hitLines))
                break;
        }
    }
    result.readable = ok;
    result.hasHit = ok && (lines.found() || from > 0);
    return result;
}

Probe ScanPool::continueLines(const QByteArray &folder, const QByteArray &name, const QString &key, const Probe &from,
                              const std::function<bool(QByteArray &)> &write)
{
    QByteArray scratch;
    return probeLines(Job{-1, folder, name, key}, scratch, from.resumeAt, from.resumeLine, write);
}

Probe ScanPool::probeNow(const QByteArray &folder, const QByteArray &name, const QString &key)
{
    QByteArray scratch;
    Probe result = probe(Job{-1, folder, name, key}, scratch, m_pump);
    // Taken at once: its lines hold no room for the files read ahead.
    if (result.decoded)
        m_reserved.fetch_sub(result.scanned.lineCount(), std::memory_order_relaxed);
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
        Probe result = probe(job, scratch, nullptr);
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
                Probe result = probe(job, m_mainScratch, m_pump);
                lock.lock();
                finish(index, std::move(result));
                continue;
            }
            if (!m_pump) {
                m_done.wait(lock);
                continue;
            }
            // A helper may take long over a large file: the window is served
            // meanwhile (the pump itself decides how often it runs).
            m_done.wait_for(lock, std::chrono::milliseconds(10));
            lock.unlock();
            m_pump->yield();
            lock.lock();
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
