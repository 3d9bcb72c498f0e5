#include "search/ScanPool.h"

#include "search/FileScan.h"
#include "search/WordMatcher.h"

#include <algorithm>
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
    bool ok = result.file.open(m_paths->at(index), &result.error)
        && result.file.readMore(scratch, kHead, &result.error);
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
    if (result.hasHit)
        result.bytes = std::exchange(scratch, QByteArray());
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

void ScanPool::run(const QStringList &paths, const std::function<bool(int, Probe &)> &handle)
{
    const int n = int(paths.size());
    {
        std::lock_guard lock(m_mutex);
        m_paths = &paths;
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
    m_paths = nullptr;
    m_probes.clear();
    m_finished.clear();
}
