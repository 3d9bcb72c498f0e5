#include "search/ScanPool.h"

#include "search/FileScan.h"
#include "search/WordMatcher.h"

#include <QFile>

#include <algorithm>
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
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_work.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

bool ScanPool::claim(int &index)
{
    if (!m_paths || m_next >= m_end || m_next >= m_handled + kWindow)
        return false;
    index = m_next++;
    ++m_inFlight;
    return true;
}

void ScanPool::probe(int index, QByteArray &scratch)
{
    // Reading and matching happen outside the lock: m_paths and the probe's
    // slot are not touched by anyone else until the job is marked finished.
    Probe result;
    scratch.truncate(0);
    const QString &name = m_paths->at(index);
    bool ok = (m_folderFd >= 0 ? result.file.openAt(m_folderFd, name, m_folder + name, &result.error)
                               : result.file.open(m_folder + name, &result.error))
        && result.file.readMore(scratch, kHead, &result.error);
    result.size = result.file.size();
    result.modifiedSecs = result.file.modifiedSecs();
    if (ok && !result.file.atEnd()) {
        const qsizetype complete = FileScan::completeLines(scratch);
        result.hasHit = complete > 0 && FileScan::Scan_File(m_matcher, QByteArrayView(scratch).first(complete));
        if (!result.hasHit) {
            ok = result.file.readMore(scratch, -1, &result.error);
            result.hasHit = ok && FileScan::Scan_File(m_matcher, scratch, complete);
        }
    } else if (ok) {
        result.hasHit = FileScan::Scan_File(m_matcher, scratch);
    }
    result.readable = ok;
    if (result.hasHit) {
        // A copy of what was read, so that the scratch buffer keeps its
        // capacity: a fresh buffer per file costs a page fault per page.
        result.bytes = QByteArray(scratch.constData(), scratch.size());
        const qint64 room = m_room.load(std::memory_order_relaxed) - m_reserved.load(std::memory_order_relaxed);
        qint64 lines = 0;
        if (room > 0 && FileScan::countLines(result.bytes, room) <= room
            && (result.file.atEnd() || result.file.readMore(result.bytes, -1, nullptr))
            && result.file.atEnd() && (lines = FileScan::countLines(result.bytes, room)) <= room) {
            m_reserved.fetch_add(lines, std::memory_order_relaxed);
            FileScan::collect(m_matcher, result.bytes, m_keys->at(index), result.scanned, nullptr);
            result.decoded = true;
        }
    }
    if (!result.hasHit || result.file.atEnd())
        result.file.close();
    std::lock_guard lock(m_mutex);
    m_probes[size_t(index)] = std::move(result);
    m_finished[size_t(index)] = 1;
    --m_inFlight;
    m_done.notify_all();
}

void ScanPool::helperLoop()
{
    QByteArray scratch;
    std::unique_lock lock(m_mutex);
    for (;;) {
        int index = 0;
        m_work.wait(lock, [&] { return m_quit || claim(index); });
        if (m_quit)
            return;
        lock.unlock();
        probe(index, scratch);
        lock.lock();
    }
}

void ScanPool::run(const QString &folder, const QStringList &names, const QStringList &keys,
                   const std::function<bool(int, Probe &)> &handle)
{
    const int n = int(names.size());
    {
        std::lock_guard lock(m_mutex);
        // Files are opened relative to their folder: no lookup from the root
        // for each. Without the folder open, by full path.
        m_folder = folder;
        m_folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        m_paths = &names;
        m_keys = &keys;
        m_probes.clear();
        m_probes.resize(size_t(n));
        m_finished.assign(size_t(n), 0);
        m_next = m_handled = 0;
        m_end = n;
    }
    m_work.notify_all();

    for (int i = 0; i < n; ++i) {
        Probe result;
        {
            std::unique_lock lock(m_mutex);
            while (!m_finished[size_t(i)]) {
                // Rather than wait, read the next file nobody has taken.
                int index = 0;
                if (claim(index)) {
                    lock.unlock();
                    probe(index, m_mainScratch);
                    lock.lock();
                    continue;
                }
                m_done.wait(lock);
            }
            result = std::move(m_probes[size_t(i)]);
            m_handled = i + 1;
            if (result.decoded)
                m_reserved.fetch_sub(result.scanned.lineCount(), std::memory_order_relaxed);
        }
        m_work.notify_all(); // the window moved on
        if (!handle(i, result))
            break;
    }

    // Nothing more is claimed; the jobs being read are waited for, since
    // they use paths.
    std::unique_lock lock(m_mutex);
    m_end = 0;
    m_done.wait(lock, [&] { return m_inFlight == 0; });
    m_reserved.store(0, std::memory_order_relaxed);
    m_paths = nullptr;
    m_keys = nullptr;
    if (m_folderFd >= 0)
        ::close(m_folderFd);
    m_folderFd = -1;
    m_probes.clear();
    m_finished.clear();
}
